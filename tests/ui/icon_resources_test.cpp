// The program's pictures at 200 % scaling: every picture is drawn from its
// vectors at the screen's resolution, and every tool button has a picture and
// a tooltip.

#include "support/app_harness.h"
#include "ui/app_context.h"
#include "ui/frame_window.h"
#include "ui/spell_book_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QWidget>

using namespace vellumar;
using namespace vellumar::test;

namespace {

constexpr qreal Scale = 2.0;

// Share of the pixels that are not fully transparent.
double Coverage(const QImage& image) {
    qsizetype seen = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) seen += qAlpha(image.pixel(x, y)) > 0;
    return double(seen) / (image.width() * image.height());
}

// Share of the pixels in which two images of one size differ noticeably.
double Difference(const QImage& a, const QImage& b) {
    qsizetype differ = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            differ += qAbs(qRed(p) - qRed(q)) + qAbs(qGreen(p) - qGreen(q)) +
                          qAbs(qBlue(p) - qBlue(q)) + qAbs(qAlpha(p) - qAlpha(q)) >
                      48;
        }
    return double(differ) / (a.width() * a.height());
}

void VerifySharp(const QPixmap& pixmap, const QSize& logical, const QString& what) {
    QVERIFY2(!pixmap.isNull(), qPrintable(what));
    QCOMPARE(pixmap.devicePixelRatio(), Scale);
    QCOMPARE(pixmap.deviceIndependentSize().toSize(), logical);
    QCOMPARE(pixmap.size(), logical * Scale);
}

// Checks the tool buttons that show whenever their window shows (the tool
// bar's overflow button aside); the number checked, or -1 after a failure.
int VerifyToolButtons(const QList<QToolButton*>& buttons) {
    int checked = 0;
    for (QToolButton* button : buttons) {
        if (button->objectName().startsWith(QLatin1String("qt_")) ||
            !button->isVisibleTo(button->window()))
            continue;
        const QString tip =
            button->defaultAction() ? button->defaultAction()->toolTip() : button->toolTip();
        if (tip.isEmpty()) {
            QTest::qFail(qPrintable("no tooltip: " + button->text()), __FILE__, __LINE__);
            return -1;
        }
        const QPixmap picture = button->icon().pixmap(button->iconSize());
        if (picture.devicePixelRatio() != Scale || picture.size() != button->iconSize() * Scale) {
            QTest::qFail(qPrintable("not drawn at 200 %: " + tip), __FILE__, __LINE__);
            return -1;
        }
        ++checked;
    }
    return checked;
}

QList<QToolButton*> AllToolButtons() {
    QList<QToolButton*> buttons;
    for (QWidget* widget : QApplication::allWidgets())
        if (auto* button = qobject_cast<QToolButton*>(widget)) buttons << button;
    return buttons;
}

} // namespace

class IconResourcesTest : public HarnessTest {
    Q_OBJECT
private slots:
    void screenIsAtTwiceTheResolution() { QCOMPARE(qApp->devicePixelRatio(), Scale); }

    void everyPictureIsDrawnFromItsVectors_data() {
        QTest::addColumn<QString>("path");
        const QStringList names = QDir(QStringLiteral(":/icons")).entryList();
        QVERIFY(names.size() >= 16);
        for (const QString& name : names)
            QTest::newRow(qPrintable(name)) << QStringLiteral(":/icons/") + name;
    }
    void everyPictureIsDrawnFromItsVectors() {
        QFETCH(QString, path);
        const QIcon icon(path);
        QVERIFY(!icon.isNull());
        const QPixmap sharp = icon.pixmap(QSize(32, 32));
        VerifySharp(sharp, QSize(32, 32), path);
        const QImage fine = sharp.toImage().convertToFormat(QImage::Format_ARGB32);
        QVERIFY2(Coverage(fine) > 0.15, "the picture is (nearly) empty");

        // The same picture drawn at 32 device pixels and blown up must look
        // coarser than the one drawn at 64: edges fall between its pixels.
        const QImage coarse =
            icon.pixmap(QSize(32, 32), 1.0)
                .toImage()
                .convertToFormat(QImage::Format_ARGB32)
                .scaled(fine.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
        QVERIFY2(Difference(fine, coarse) > 0.01, "drawn at 100 % and enlarged");
    }

    // The frame's buttons, a book window's, and those of every other window.
    void everyToolButtonHasAPictureAndATooltip() {
        h->Start();
        QCOMPARE(VerifyToolButtons(h->Frame().tbMain()->findChildren<QToolButton*>()), 2);
        const QString book = h->home.Write(
            QStringLiteral("icons.spb"),
            SpellbookV4(3, 12, "Generalist", 'C', {"1,\"Sleep\",\"SRD 5.1\",0,\"C\",\"e/c\""}));
        QVERIFY(h->Frame().OpenSpellbookFile(book));
        QToolBar* bookBar = h->ActiveSpellBook()->tbSpellBook;
        QVERIFY(VerifyToolButtons(bookBar->findChildren<QToolButton*>()) >= 4);
        QVERIFY(VerifyToolButtons(AllToolButtons()) >= 4);
    }

    void aboutPictureAndSpellCursorAreSharp() {
        h->Start();
        QStringList titles;
        h->prompter.Exec(
            [&](QDialog& about) {
                titles << about.windowTitle();
                const QList<QLabel*> labels = about.findChildren<QLabel*>();
                const auto picture = std::find_if(labels.begin(), labels.end(), [](QLabel* label) {
                    return !label->pixmap().isNull();
                });
                QVERIFY(picture != labels.end());
                VerifySharp((*picture)->pixmap(), QSize(96, 96), QStringLiteral("about picture"));
            },
            true);
        h->Frame().mnuAboutClick();
        QCOMPARE(titles, QStringList{QStringLiteral("About Vellumar")});

        const QCursor& cursor = h->Context().SpellCursor();
        VerifySharp(cursor.pixmap(), QSize(32, 32), QStringLiteral("spell cursor"));
        QCOMPARE(cursor.hotSpot(), QPoint(4, 4));
    }
};

int main(int argc, char** argv) {
    // Set before the application exists: the scale is read once, at its start.
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication application(argc, argv);
    IconResourcesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "icon_resources_test.moc"
