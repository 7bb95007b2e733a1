#include "output/qt/cp1252_text.h"

#include <QList>
#include <QStringDecoder>
#include <QStringEncoder>

namespace vellumar {

QString Cp1252ToQString(std::string_view bytes) {
    QStringDecoder decoder("windows-1252");
    return decoder.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
}

std::string QStringToCp1252(const QString& text) {
    // One code point at a time: the encoder's own stand-in for an unmappable
    // character is Ctrl-Z, which ends a file when it is read back.
    std::string bytes;
    bytes.reserve(size_t(text.size()));
    QStringEncoder encoder("windows-1252");
    for (const uint code : text.toUcs4()) {
        const char32_t cp = code;
        const QByteArray one = encoder.encode(QString::fromUcs4(&cp, 1));
        const bool mapped = one.size() == 1 && (one[0] != '\x1a' || cp == 0x1a);
        bytes += mapped ? one[0] : '?';
    }
    return bytes;
}

} // namespace vellumar
