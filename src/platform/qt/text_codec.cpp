#include "platform/qt/text_codec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace vellumar {
namespace {

constexpr char16_t CtrlZ = 0x1A;

} // namespace

QString ToQString(std::string_view bytes) {
    QStringDecoder decoder("windows-1252");
    return decoder.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
}

std::string FromQString(const QString& text) {
    QString clean;
    clean.reserve(text.size());
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c == 0 || c == u'\r' || c == u'\n' || c == CtrlZ) continue;
        clean.append(ch);
    }
    QStringEncoder encoder("windows-1252");
    const QByteArray encoded = encoder.encode(clean);
    std::string out(encoded.constData(), size_t(encoded.size()));
    // The encoder marks an unmappable character with Ctrl-Z, which would end the
    // file when it is read back; the real Ctrl-Z characters are gone by now.
    for (char& c : out)
        if (c == char(CtrlZ)) c = '?';
    return out;
}

} // namespace vellumar
