#include "platform/qt/text_conversion.h"

#include "model/text.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace vellumar {
namespace {

constexpr char Substitute = 0x1A; // what the encoder puts for an unmappable character

// A byte of a file name that is not part of UTF-8 (a name made in a Latin-1
// locale) travels as one of the lone surrogates U+DC80 to U+DCFF, which no
// UTF-8 name can give, so that the name is written back as it came.
constexpr char16_t EscapedByte = 0xDC00;

bool IsEscapedByte(const QString& path, qsizetype i) {
    const char16_t c = path[i].unicode();
    return c >= EscapedByte + 0x80 && c <= EscapedByte + 0xFF &&
           (i == 0 || !path[i - 1].isHighSurrogate());
}

} // namespace

QString ToQString(std::string_view text) {
    QStringDecoder decoder("windows-1252");
    return decoder.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
}

std::string FromQString(const QString& text) {
    QString clean = text;
    for (QChar& c : clean)
        if (IsControl(c.unicode(), Controls::All)) c = QLatin1Char(' ');
    QStringEncoder encoder("windows-1252");
    QByteArray bytes = encoder.encode(clean);
    // Every control character is gone by now, so a Ctrl-Z here stands for a
    // character the code page lacks.
    bytes.replace(Substitute, '?');
    return bytes.toStdString();
}

std::string ToPath(const QString& path) {
    std::string bytes;
    qsizetype start = 0;
    for (qsizetype i = 0; i < path.size(); ++i) {
        if (!IsEscapedByte(path, i)) continue;
        bytes += QFile::encodeName(path.sliced(start, i - start)).toStdString();
        bytes += static_cast<char>(path[i].unicode() - EscapedByte);
        start = i + 1;
    }
    return bytes + QFile::encodeName(path.sliced(start)).toStdString();
}

QString FromPath(const std::string& path) {
    const QByteArrayView bytes(path.data(), static_cast<qsizetype>(path.size()));
    if (bytes.isValidUtf8()) return QFile::decodeName(bytes.toByteArray());
    QString name;
    for (qsizetype i = 0; i < bytes.size();) {
        // The one length, if any, of a UTF-8 sequence that starts here.
        qsizetype length = 1;
        while (length <= 4 && i + length <= bytes.size() && !bytes.sliced(i, length).isValidUtf8())
            ++length;
        if (length <= 4 && i + length <= bytes.size()) {
            name += QFile::decodeName(bytes.sliced(i, length).toByteArray());
            i += length;
        } else {
            name += QChar(static_cast<char16_t>(EscapedByte + static_cast<uchar>(bytes[i])));
            ++i;
        }
    }
    return name;
}

} // namespace vellumar
