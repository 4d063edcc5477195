#include "ui/preview/pictureload.h"

#include <QBuffer>
#include <QImageReader>
#include <algorithm>

namespace quillo {

namespace {

LoadedPicture faulty(LoadedPicture picture, PictureFault fault, Failure failure = {}) {
    picture.fault = fault;
    picture.failure = std::move(failure);
    return picture;
}

// The whole file, read in as few calls as its size allows; growth while it is
// read is followed up to the limit.
Result<QByteArray> readAll(InputFile& in, qint64 expected, bool* tooLarge) {
    QByteArray data(qsizetype(std::min(expected, kMaxPictureBytes) + 1), Qt::Uninitialized);
    qint64 have = 0;
    for (;;) {
        if (have == data.size()) {
            if (have > kMaxPictureBytes) {
                *tooLarge = true;
                return QByteArray();
            }
            data.resize(qsizetype(std::min(2 * have + (qint64(1) << 16), kMaxPictureBytes + 1)));
        }
        const Result<qint64> got = in.read(data.data() + have, data.size() - have);
        if (!got) return got.failure();
        if (got.value() == 0) break;
        have += got.value();
    }
    data.truncate(qsizetype(have));
    return data;
}

// Decodes bytes scaled while decoding where the format allows it (JPEG
// decodes at a fraction of its size), turned upright as its EXIF says.
void decodeInto(QByteArray bytes, QSize bounds, LoadedPicture& picture) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    const QSize stored = reader.size();
    const bool turned = reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
    if (stored.isValid()) {
        picture.pixels = turned ? stored.transposed() : stored;
        const QSize fit = fitWithin(picture.pixels, bounds);
        if (fit != picture.pixels) reader.setScaledSize(turned ? fit.transposed() : fit);
    }
    QImage image = reader.read();
    if (image.isNull()) {
        picture.fault = PictureFault::NotAnImage;
        return;
    }
    if (!stored.isValid()) picture.pixels = image.size();
    const QSize fit = fitWithin(picture.pixels, bounds);
    if (image.size() != fit)
        image = image.scaled(fit, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    picture.image = image.convertToFormat(
        image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
}

}  // namespace

LoadedPicture loadPicture(FileSystem& fs, const QString& path, QSize bounds, PictureCache& cache) {
    LoadedPicture picture;
    picture.path = path;
    // Opening never waits, so a pipe left where a file was cannot hold the
    // load; only a regular file is read.
    Result<std::unique_ptr<InputFile>> opened = fs.openRead(path);
    if (!opened) return faulty(picture, PictureFault::ReadFailed, opened.failure());
    InputFile& in = *opened.value();
    const Result<FileInfo> info = in.info();
    if (!info) return faulty(picture, PictureFault::ReadFailed, info.failure());
    if (info->type != EntryType::File) return faulty(picture, PictureFault::NotAnImage);
    picture.bytes = info->size;
    if (info->size > kMaxPictureBytes) return faulty(picture, PictureFault::TooLarge);

    const PictureKey key{path, info.value(), bounds};
    if (std::optional<LoadedPicture> kept = cache.find(key)) return *kept;

    bool tooLarge = false;
    Result<QByteArray> bytes = readAll(in, info->size, &tooLarge);
    if (!bytes) return faulty(picture, PictureFault::ReadFailed, bytes.failure());
    if (tooLarge) return faulty(picture, PictureFault::TooLarge);
    decodeInto(std::move(bytes.value()), bounds, picture);
    if (picture.fault == PictureFault::None) cache.insert(key, picture);
    return picture;
}

}  // namespace quillo
