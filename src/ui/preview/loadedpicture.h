#pragma once
// What loading one file for the preview gives: the picture fitted to the
// space asked for, or why there is none.

#include <QImage>
#include <QSize>
#include <QString>

#include "core/result.h"

namespace quillo {

enum class PictureFault {
    None,        // the picture is there
    NotAnImage,  // a file that is no picture Qt can decode, or no regular file
    TooLarge,    // more bytes than the preview reads
    ReadFailed,  // opening or reading failed: see failure
};

struct LoadedPicture {
    QString path;
    QImage image;      // fitted within the bounds asked for; null unless fault is None
    QSize pixels;      // the picture's own size, upright as shown
    qint64 bytes = 0;  // the file's size; 0 when unknown
    PictureFault fault = PictureFault::None;
    Failure failure;  // for ReadFailed
};

// The Japanese reason shown instead of a picture; empty when there is one.
QString faultText(const LoadedPicture& picture);

// picture scaled down to fit within bounds keeping its aspect ratio, never
// enlarged, never below one pixel.
QSize fitWithin(QSize picture, QSize bounds);

}  // namespace quillo
