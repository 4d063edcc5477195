// Times the folder chooser pointing its directory list at a folder with 20,000
// subfolders (warm cache, offscreen), median of five runs, against listing the
// same folder alone.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "core/messagebox.h"
#include "platform/filesystem.h"
#include "ui/folderchooser.h"
#include "ui/folderpaths.h"

using namespace quillo;

namespace {

constexpr int kFolders = 20000;
constexpr int kRuns = 5;

class SilentBox final : public MessageBox {
  public:
    Answer show(const QString&, Buttons) override { return Answer::Ok; }
};

template <class F>
double medianMs(F&& f) {
    std::vector<double> ms;
    for (int i = 0; i < kRuns; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        f();
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                .count());
    }
    std::sort(ms.begin(), ms.end());
    return ms[kRuns / 2];
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir tmp;
    const QString big = tmp.filePath(QStringLiteral("大きなフォルダ"));
    QDir().mkpath(big);
    for (int i = 0; i < kFolders; ++i)
        QDir().mkdir(big + QStringLiteral("/フォルダ%1").arg(i, 5, 10, QLatin1Char('0')));

    SilentBox box;
    frmFolder dlg(systemFileSystem(), box);
    dlg.show();
    const double listing = medianMs([&] { (void)subfolders(systemFileSystem(), big); });
    const double showing = medianMs([&] {
        dlg.setDirectory(tmp.path());
        dlg.setDirectory(big);
        QCoreApplication::processEvents();
    });
    std::printf("%d subfolders: listing and sorting %.1f ms, directory list shown %.1f ms\n",
                kFolders, listing, showing);
    return 0;
}
