// Text between the program's Windows-1252 bytes and QString.

#include "files/utf8_to_cp1252.h"
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

    // The reader of UTF-8 files has no Qt: its conversion must give the bytes
    // the windows give for every character they can be handed.
    void fileConversionAgreesWithTheWindows() {
        int compared = 0;
        for (char32_t c = 32; c <= 0x10FFFF; ++c) {
            if (c >= 0xD800 && c <= 0xDFFF) continue;
            const QString text = QString::fromUcs4(&c, 1);
            const std::string windows = FromQString(text);
            QCOMPARE(QByteArray::fromStdString(Utf8ToCp1252(text.toUtf8().toStdString())),
                     QByteArray::fromStdString(windows));
            ++compared;
        }
        QVERIFY(compared > 0x10F000);
    }

    void pathsKeepTheFileSystemsBytes() {
        const QString path = QString::fromUtf8("/tmp/b\u00fccher/\u4e2d.spb");
        QCOMPARE(FromPath(ToPath(path)), path);
    }
};

QTEST_MAIN(TextConversionTest)
#include "text_conversion_test.moc"
