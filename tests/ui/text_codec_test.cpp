#include "platform/qt/text_codec.h"

#include <QTest>

using namespace vellumar;

class TextCodecTest : public QObject {
    Q_OBJECT
private slots:
    void fieldText_data();
    void fieldText();
    void roundTrip();
};

void TextCodecTest::fieldText_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("plain") << QStringLiteral("Abjurer") << QByteArray("Abjurer");
    QTest::newRow("code page letters") << QStringLiteral("Caf\u00e9 \u20ac5")
                                       << QByteArray("Caf\xe9 \x80"
                                                     "5");
    QTest::newRow("unmappable") << QStringLiteral("a\u6f22b\U0001F600c") << QByteArray("a?b?c");
    QTest::newRow("line breaks, NUL, Ctrl-Z")
        << QStringLiteral("a\r\nb") + QChar(0) + QChar(0x1A) + "c" << QByteArray("abc");
    QTest::newRow("tab and blanks kept") << QStringLiteral(" \ta ") << QByteArray(" \ta ");
}

void TextCodecTest::fieldText() {
    QFETCH(QString, typed);
    QFETCH(QByteArray, bytes);
    QCOMPARE(QByteArray::fromStdString(FromQString(typed)), bytes);
}

// Every byte the code page defines comes back unchanged.
void TextCodecTest::roundTrip() {
    std::string all;
    for (int c = 0x20; c <= 0xFF; ++c)
        if (c != 0x7F && c != 0x81 && c != 0x8D && c != 0x8F && c != 0x90 && c != 0x9D)
            all.push_back(char(c));
    const QString text = ToQString(all);
    QCOMPARE(text.size(), qsizetype(all.size()));
    QCOMPARE(text.at(0x80 - 0x20 - 1), QChar(0x20AC));
    QCOMPARE(FromQString(text), all);
}

QTEST_MAIN(TextCodecTest)
#include "text_codec_test.moc"
