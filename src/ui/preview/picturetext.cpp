#include "ui/preview/picturetext.h"

namespace quillo {

QString pixelSizeText(QSize pixels) {
    return QString::number(pixels.width()) + QChar(u'×') + QString::number(pixels.height());
}

QString fileSizeText(qint64 bytes) {
    constexpr double kKilo = 1024.0;
    // A unit is used from 1000 of the one below it, so that "1024 KB" never shows.
    if (bytes < 1000) return QString::number(bytes) + QStringLiteral(" バイト");
    const double kb = double(bytes) / kKilo;
    if (kb < 999.5) return QString::number(qMax(1.0, kb), 'f', 0) + QStringLiteral(" KB");
    const double mb = kb / kKilo;
    if (mb < 999.95) return QString::number(mb, 'f', 1) + QStringLiteral(" MB");
    return QString::number(mb / kKilo, 'f', 1) + QStringLiteral(" GB");
}

QString pictureDetails(QSize pixels, qint64 bytes) {
    return pixelSizeText(pixels) + QStringLiteral(" ・ ") + fileSizeText(bytes);
}

}  // namespace quillo
