// Text between the program's Windows-1252 bytes and QString.

#include "model/code_page.h"
#include "platform/qt/text_conversion.h"

#include <QTest>

using namespace vellumar;

class TextConversionTest : public QObject {
    Q_OBJECT

private slots:
    void roundTrip_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ascii") << QStringLiteral("Magic Missile") << QByteArray("Magic Missile");
        QTest::newRow("euro and accents")
            << QString::fromUtf8("\u20ac caf\u00e9 \u00c6") << QByteArray("\x80 caf\xe9 \xc6");
        QTest::newRow("quotes") << QString::fromUtf8("\u201cx\u201d") << QByteArray("\x93x\x94");
    }
    void roundTrip() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(QByteArray::fromStdString(FromQString(text)), bytes);
        QCOMPARE(ToQString(bytes.toStdString()), text);
    }

    void unmappableAndControlCharacters_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("chinese") << QString::fromUtf8("a\u4e2db") << QByteArray("a?b");
        QTest::newRow("emoji") << QString::fromUtf8("\U0001F600") << QByteArray("?");
        QTest::newRow("line breaks") << QStringLiteral("a\r\nb\nc") << QByteArray("a  b c");
        QTest::newRow("ctrl-z, nul, tab")
            << QString(QStringLiteral("x") + QChar(26) + QChar(0) + QChar(9) + QStringLiteral("y"))
            << QByteArray("x   y");
    }
    void unmappableAndControlCharacters() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        const std::string out = FromQString(text);
        QCOMPARE(QByteArray::fromStdString(out), bytes);
        for (char c : out) QVERIFY(static_cast<unsigned char>(c) >= 32);
    }

    // The command-line tool converts without Qt; both must read and write the
    // files alike.
    void coreAndQtAgreeOnEveryByte() {
        for (int byte = 0; byte < 256; ++byte) {
            const std::string one(1, static_cast<char>(byte));
            QCOMPARE(QString::fromStdString(Cp1252ToUtf8(one)), ToQString(one));
        }
    }
    void coreAndQtAgreeOnCodePoints() {
        std::vector<char32_t> points;
        for (char32_t c = 32; c < 0x2200; ++c)
            if (c < 0xD800 || c > 0xDFFF) points.push_back(c);
        for (char32_t c :
             {0x3164u, 0x4E2Du, 0xFE0Fu, 0xFFFDu, 0xFEFFu, 0x1D173u, 0x1F600u, 0xE0001u, 0x10FFFFu})
            points.push_back(c);
        for (char32_t c : points) {
            const QString text = QString::fromUcs4(&c, 1);
            const auto core = Utf8ToCp1252(text.toStdString());
            QVERIFY2(core.text == FromQString(text), qPrintable(QString::number(c, 16)));
            QCOMPARE(core.lossless, c == U'?' || core.text != "?");
        }
    }

    void pathsKeepTheFileSystemsBytes() {
        const QString path = QString::fromUtf8("/tmp/b\u00fccher/\u4e2d.spb");
        QCOMPARE(FromPath(ToPath(path)), path);
        const std::string latin1 = "/tmp/Caf\xe9 \xc3(\xff\xf0\x9f\x98\x80.spb";
        QCOMPARE(ToPath(FromPath(latin1)), latin1);
    }
};

QTEST_MAIN(TextConversionTest)
#include "text_conversion_test.moc"
