// The review's picture: from the request to the decoded picture arriving on
// the window's thread, for a 24-megapixel JPEG and PNG (6000×4000, made here
// with smooth colour fields, texture, edges and grain, like a photograph) at
// the pane sizes of a normal and a doubled-density screen; median of five with
// the loader's cache cold (the page cache warm), then from its cache. The
// JPEG is also decoded whole and scaled afterwards, for comparison.
#include <time.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <vector>

#include "benchsupport.h"
#include "core/paths.h"
#include "platform/filesystem.h"
#include "ui/preview/pictureloader.h"

using namespace quillo;

using quillo::bench::median;

namespace {

constexpr int kRuns = 5;
constexpr QSize kPhoto(6000, 4000);

// Low-frequency colour fields, a finer texture, grain, and a few hard edges:
// what makes a camera's JPEG cost what it costs to decode.
QImage photoLike() {
    QImage image(kPhoto, QImage::Format_RGB32);
    std::vector<double> sx(size_t(kPhoto.width())), sy(size_t(kPhoto.height()));
    for (int x = 0; x < kPhoto.width(); ++x) sx[size_t(x)] = std::sin(x * 0.0011);
    for (int y = 0; y < kPhoto.height(); ++y) sy[size_t(y)] = std::cos(y * 0.0017);
    quint32 seed = 12345;
    for (int y = 0; y < kPhoto.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < kPhoto.width(); ++x) {
            seed ^= seed << 13;
            seed ^= seed >> 17;
            seed ^= seed << 5;
            const double field = sx[size_t(x)] * sy[size_t(y)];
            const double texture = 18 * std::sin(x * 0.031 + y * 0.023 + 3 * field) +
                                   9 * std::sin(x * 0.21 - y * 0.17);
            const int grain = int(seed % 41) - 20;
            const auto channel = [&](double base, double swing) {
                return qBound(0, int(base + swing * field + texture) + grain, 255);
            };
            line[x] = qRgb(channel(120, 90), channel(110, -60), channel(90, 70));
        }
    }
    QPainter painter(&image);
    painter.setPen(QPen(QColor(20, 20, 30), 12));
    painter.setBrush(QColor(200, 190, 160));
    for (int i = 0; i < 12; ++i)
        painter.drawEllipse(QPoint(400 + i * 470, 600 + (i % 4) * 850), 260 + 30 * i, 180);
    return image;
}

QString save(const QImage& image, const QString& path, const char* format, int quality) {
    if (!image.save(path, format, quality)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
    return path;
}

// CPU time of this process: the loading thread's work, which other users of
// the machine do not inflate.
double cpuMs() {
    timespec ts;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

// Milliseconds from the request to the picture arriving; the loaded picture's size.
double requestToArrival(PictureLoader& loader, const QString& path, QSize bounds, QSize* got,
                        double* cpu) {
    QEventLoop loop;
    const auto arrival = QObject::connect(
        &loader, &PictureLoader::loaded, &loop, [&](PaneSide, const LoadedPicture& picture) {
            if (picture.fault != PictureFault::None) {
                std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(faultText(picture)));
                std::exit(1);
            }
            *got = picture.image.size();
            loop.quit();
        });
    const double cpuStart = cpuMs();
    QElapsedTimer timer;
    timer.start();
    loader.request(PaneSide::Left, path, bounds);
    loop.exec();
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    *cpu = cpuMs() - cpuStart;
    QObject::disconnect(arrival);
    return ms;
}

// The same file decoded whole on this thread and scaled afterwards.
double wholeDecodeMs(const QString& path, QSize bounds) {
    QElapsedTimer timer;
    timer.start();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) std::exit(1);
    QByteArray bytes = file.readAll();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const QImage image =
        QImageReader(&buffer).read().scaled(bounds, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (image.isNull()) std::exit(1);
    return double(timer.nsecsElapsed()) / 1e6;
}

void timeFile(const QString& kind, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) std::exit(1);
    (void)file.readAll();  // the page cache holds it from here on
    std::printf("%s %s, %.1f MB\n", qPrintable(kind), qPrintable(fileNameOf(path)),
                double(file.size()) / (1 << 20));
    for (const QSize bounds : {QSize(480, 360), QSize(960, 720)}) {
        std::vector<double> cold, coldCpu, cached, cachedCpu;
        QSize got;
        for (int run = 0; run < kRuns; ++run) {
            PictureLoader loader(systemFileSystem());
            double cpu = 0;
            cold.push_back(requestToArrival(loader, path, bounds, &got, &cpu));
            coldCpu.push_back(cpu);
            cached.push_back(requestToArrival(loader, path, bounds, &got, &cpu));
            cachedCpu.push_back(cpu);
        }
        std::printf(
            "  pane %dx%d -> %dx%d: request to arrival %.1f ms cold (cpu %.1f ms),"
            " %.2f ms from the cache (cpu %.2f ms), median of %d\n",
            bounds.width(), bounds.height(), got.width(), got.height(), median(cold),
            median(coldCpu), median(cached), median(cachedCpu), kRuns);
    }
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir root;
    if (!root.isValid()) return 1;
    QElapsedTimer made;
    made.start();
    const QImage photo = photoLike();
    const QString jpeg = save(photo, joinPath(root.path(), QStringLiteral("photo.jpg")), "jpg", 90);
    const QString png = save(photo, joinPath(root.path(), QStringLiteral("photo.png")), "png", -1);
    std::printf("made the pictures in %.1f s\n", double(made.elapsed()) / 1e3);

    timeFile(QStringLiteral("JPEG"), jpeg);
    std::vector<double> whole;
    for (int run = 0; run < kRuns; ++run) whole.push_back(wholeDecodeMs(jpeg, {480, 360}));
    std::printf("  for comparison, decoded whole then scaled to 480x360: %.1f ms\n", median(whole));
    timeFile(QStringLiteral("PNG"), png);
    return 0;
}
