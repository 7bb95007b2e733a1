#include "platform/qt/text_conversion.h"

#include "model/text.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace vellumar {
namespace {

constexpr char Substitute = 0x1A; // what the encoder puts for an unmappable character

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
    return QFile::encodeName(path).toStdString();
}

QString FromPath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

} // namespace vellumar
