// PDF export on a disk that is full: the old file stays, the reason is the system's.

#include "model/spell_book.h"
#include "output/qt/book_rendering.h"
#include "pdf_pages.h"
#include "support/fault_folders.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <cstring>

using namespace vellumar;
using namespace vellumar::test;

class BookRenderingTest : public QObject {
    Q_OBJECT

private slots:
    void pdfExportOnAFullDiskKeepsTheOldFile() {
        QTemporaryDir area;
        QVERIFY(area.isValid());
        const QString folder = area.filePath(QStringLiteral("disk"));
        QVERIFY(QDir().mkpath(folder));
        SmallDisk disk(folder, 256 * 1024);
        if (!disk.Mounted()) QSKIP(qPrintable(disk.WhyNot()));
        const QString path = folder + QStringLiteral("/book.pdf");
        const QByteArray old = "old bytes of an earlier export";
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(old), old.size());
        }
        TSpellBook book(5, 12, 4, "Generalist");
        QVERIFY(book.AddSpell(new tSpell(1, "Magic Missile", "PHB", 170, 4, "evo")));
        const QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF());
        QVERIFY(disk.Fill());

        const FileStatus failed =
            ExportBookPdf(path, layout, 300, book, QStringLiteral("book"), OutputFormat());
        QVERIFY(!failed);
        QCOMPARE(failed.Failure(), FileFailure::CannotWrite);
        QCOMPARE(QString::fromStdString(failed.Reason()),
                 QString::fromLocal8Bit(std::strerror(ENOSPC)));
        QFile kept(path);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), old);
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList({QStringLiteral(".filler"), QStringLiteral("book.pdf")}));

        // With room again the same export replaces the file.
        disk.Unfill();
        QVERIFY(ExportBookPdf(path, layout, 300, book, QStringLiteral("book"), OutputFormat()));
        QCOMPARE(PdfPageCount(QFile::encodeName(path).toStdString()), 1);
    }
};

// Mounts of its own before any thread starts, for the small disk.
int main(int argc, char** argv) {
    EnterPrivateMountNamespace();
    QApplication app(argc, argv);
    BookRenderingTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "book_rendering_test.moc"
