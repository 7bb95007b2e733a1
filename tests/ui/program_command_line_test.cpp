// The desktop program's command line, end to end over the built program:
// help, version, seeds, mistakes, and quitting after start-up without ever
// waiting for a person.

#include "platform/qt/text_conversion.h"
#include "program_version.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>

using vellumar::ToPath;

class ProgramCommandLineTest : public QObject {
    Q_OBJECT

    struct Run {
        int code = -1;
        QByteArray out;
        QByteArray err;
    };

    // Through the shell, which turns escapes such as \0351 into the bytes of a
    // name that is not UTF-8 (QProcess passes UTF-8 only). A first word
    // ">FILE" sends standard output to FILE.
    Run Start(QStringList arguments) {
        QProcess program;
        if (arguments.value(0).startsWith(QLatin1Char('>')))
            program.setStandardOutputFile(arguments.takeFirst().mid(1));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("VELLUMAR_HOME"), home_.path());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(home_.path());
        const QString script =
            QStringLiteral("p=$1; shift; for w; do set -- \"$@\" "
                           "\"$(printf %b \"$w\")\"; shift; done; exec \"$p\" \"$@\"");
        program.start(QStringLiteral("/bin/sh"),
                      QStringList{QStringLiteral("-c"), script, QStringLiteral("sh"),
                                  QStringLiteral(VELLUMAR_PROGRAM)} +
                          arguments);
        // A box waiting for a person would hold the program past this.
        if (!program.waitForFinished(60000)) {
            program.kill();
            program.waitForFinished();
            return {};
        }
        Run run;
        run.code = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
        run.out = program.readAllStandardOutput();
        run.err = program.readAllStandardError();
        return run;
    }

    QString WriteBook(const QString& name, int copies = 1) {
        const QString path = home_.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) return {};
        file.write("4\r\n3\r\n9\r\nGeneralist\r\nC\r\n" +
                   QByteArray("1,\"Sleep\",\"Core\",7,\"C\",\"e/c\"\r\n").repeated(copies) +
                   " \r\n");
        return path;
    }

    QTemporaryDir home_;

private slots:
    void arguments_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        const QString version =
            QStringLiteral("vellumar ") + QString::fromLatin1(vellumar::ProgramVersion);
        const QString quit = QStringLiteral("--quit-after-start");
        QTest::newRow("help") << QStringList{QStringLiteral("--help")} << 0
                              << QStringLiteral("usage: vellumar") << QString();
        QTest::newRow("-h") << QStringList{QStringLiteral("-h")} << 0
                            << QStringLiteral("--quit-after-start") << QString();
        QTest::newRow("version") << QStringList{QStringLiteral("--version")} << 0 << version
                                 << QString();
        QTest::newRow("unknown option") << QStringList{QStringLiteral("--bogus")} << 2 << QString()
                                        << QStringLiteral("Unknown option 'bogus'");
        QTest::newRow("seed not a number")
            << QStringList{QStringLiteral("--seed"), QStringLiteral("x")} << 2 << QString()
            << QStringLiteral("--seed needs a whole number");
        QTest::newRow("seed without value")
            << QStringList{QStringLiteral("--seed")} << 2 << QString() << QStringLiteral("--seed");
        QTest::newRow("seed N") << QStringList{QStringLiteral("--seed"), QStringLiteral("7"), quit}
                                << 0 << QStringLiteral("spellbook windows: 0") << QString();
        QTest::newRow("seed=N") << QStringList{QStringLiteral("--seed=7"), quit} << 0
                                << QStringLiteral("spellbook windows: 0") << QString();
        QTest::newRow("Qt's own options")
            << QStringList{QStringLiteral("-platform"), QStringLiteral("offscreen"),
                           QStringLiteral("-reverse"), quit}
            << 0 << QStringLiteral("spellbook windows: 0") << QString();
        QTest::newRow("a book") << QStringList{QStringLiteral("Gorm.SPB"), quit} << 0
                                << QStringLiteral("spellbook windows: 1") << QString();
        QTest::newRow("a book after --")
            << QStringList{quit, QStringLiteral("--"), QStringLiteral("-dash.SPB")} << 0
            << QStringLiteral("spellbook windows: 1") << QString();
        QTest::newRow("a book that cannot be opened")
            << QStringList{QStringLiteral("nosuch.SPB"), QStringLiteral("Gorm.SPB"), quit} << 1
            << QStringLiteral("spellbook windows: 1")
            << QStringLiteral("Error Reading Spellbook File");
        const QString pdf = QStringLiteral("--export-pdf");
        const QString output = QStringLiteral("--output");
        QTest::newRow("pdf") << QStringList{pdf, QStringLiteral("Gorm.SPB"), output,
                                            QStringLiteral("Gorm.pdf")}
                             << 0 << QString() << QString();
        QTest::newRow("pdf without --output")
            << QStringList{pdf, QStringLiteral("Gorm.SPB")} << 2 << QString()
            << QStringLiteral("--export-pdf needs --output");
        QTest::newRow("format option without --export-pdf")
            << QStringList{QStringLiteral("--columns"), QStringLiteral("2"), quit} << 2 << QString()
            << QStringLiteral("--columns goes with --export-pdf");
        QTest::newRow("pdf with columns out of range")
            << QStringList{pdf, QStringLiteral("Gorm.SPB"), output, QStringLiteral("x.pdf"),
                           QStringLiteral("--columns=5")}
            << 2 << QString() << QStringLiteral("--columns needs a whole number from 0 to 4");
        QTest::newRow("pdf of a book that cannot be read")
            << QStringList{pdf, QStringLiteral("nosuch.SPB"), output, QStringLiteral("x.pdf")} << 1
            << QString() << QStringLiteral("cannot read 'nosuch.SPB'");
        // Books named like Qt's own options, empty names, a name that is
        // not UTF-8, and standard output that cannot be written.
        const QString latin1 = QStringLiteral("Caf\\0351.SPB");
        const QString gorm = QStringLiteral("Gorm.SPB"), gormPdf = QStringLiteral("Gorm.pdf");
        // clang-format off
        QTest::newRow("Qt's options after --") << QStringList{quit, QStringLiteral("--"), QStringLiteral("-platform"), gorm} << 0 << QStringLiteral("spellbook windows: 2") << QString();
        QTest::newRow("an empty book") << QStringList{quit, QString()} << 2 << QString() << QStringLiteral("the file name of BOOK is empty");
        QTest::newRow("pdf of an empty name") << QStringList{pdf, QString(), output, gormPdf} << 2 << QString() << QStringLiteral("the file name of --export-pdf is empty");
        QTest::newRow("pdf to an empty name") << QStringList{pdf, gorm, output, QString()} << 2 << QString() << QStringLiteral("the file name of --output is empty");
        QTest::newRow("a book not in UTF-8") << QStringList{quit, latin1} << 0 << QStringLiteral("spellbook windows: 1") << QString();
        QTest::newRow("pdf of a book not in UTF-8") << QStringList{pdf, latin1, output, gormPdf} << 0 << QString() << QString();
        QTest::newRow("pdf of a book with a line left out") << QStringList{pdf, QStringLiteral("Twice.SPB"), output, gormPdf} << 0 << QString() << QStringLiteral("vellumar: warning: Twice.SPB: line 7: ");
        // clang-format on
        for (const QString& word : {QStringLiteral("--help"), QStringLiteral("--version"), quit})
            QTest::newRow(qPrintable(word + QStringLiteral(" to a full disk")))
                << QStringList{QStringLiteral(">/dev/full"), word} << 1 << QString()
                << QStringLiteral("cannot write standard output");
    }
    void arguments() {
        QFETCH(QStringList, arguments);
        QFETCH(int, code);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QVERIFY(home_.isValid());
        QVERIFY(!WriteBook(QStringLiteral("Gorm.SPB")).isEmpty());
        QVERIFY(!WriteBook(QStringLiteral("-dash.SPB")).isEmpty());
        QVERIFY(!WriteBook(QStringLiteral("-platform")).isEmpty());
        QVERIFY(!WriteBook(QStringLiteral("Twice.SPB"), 2).isEmpty());
        std::filesystem::copy_file(ToPath(home_.filePath(QStringLiteral("Gorm.SPB"))),
                                   ToPath(home_.path()) + "/Caf\xe9.SPB",
                                   std::filesystem::copy_options::overwrite_existing);
        QFile::remove(home_.filePath(QStringLiteral("Gorm.pdf")));
        const Run run = Start(arguments);
        QCOMPARE(run.code, code);
        if (out.isEmpty())
            QVERIFY2(run.out.isEmpty(), run.out.constData());
        else
            QVERIFY2(run.out.contains(out.toUtf8()), run.out.constData());
        if (!err.isEmpty()) QVERIFY2(run.err.contains(err.toUtf8()), run.err.constData());
        if (arguments.value(0).startsWith(QLatin1Char('>')))
            QCOMPARE(run.err.count(err.toUtf8()), 1);
        // Only a successful export leaves a PDF behind.
        if (arguments.contains(QStringLiteral("--export-pdf")))
            QCOMPARE(QFile(home_.filePath(QStringLiteral("Gorm.pdf"))).exists(), code == 0);
    }
};

QTEST_GUILESS_MAIN(ProgramCommandLineTest)
#include "program_command_line_test.moc"
