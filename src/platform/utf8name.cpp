// File names as UTF-8 bytes, on every system: what the kernel takes on Linux
// and what the journal and the trash's records keep everywhere.
#include <QStringDecoder>

#include "platform/filesystem.h"

namespace quillo {

QByteArray encodeName(const QString& name) {
    return name.toUtf8();
}

bool decodeName(const char* bytes, qsizetype length, QString* out) {
    bool ascii = true;
    for (qsizetype i = 0; i < length; ++i) {
        if (static_cast<unsigned char>(bytes[i]) >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii) {
        *out = QString::fromLatin1(bytes, length);
        return true;
    }
    // A name may begin with the bytes of a byte-order mark: they are part of
    // the name, or it would be taken for another file's.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(QByteArrayView(bytes, length));
    if (decoder.hasError()) return false;
    *out = std::move(text);
    return true;
}

}  // namespace quillo
