#pragma once
// The texts under a picture: its pixel size, its file size, and why a file
// shows no picture.

#include <QSize>
#include <QString>

namespace quillo {

// "4000×3000".
QString pixelSizeText(QSize pixels);

// The file size as the caption shows it: "800 バイト", "12 KB", "2.4 MB", "1.1 GB"
// (units of 1024).
QString fileSizeText(qint64 bytes);

// "4000×3000 ・ 2.4 MB": the line under a picture.
QString pictureDetails(QSize pixels, qint64 bytes);

}  // namespace quillo
