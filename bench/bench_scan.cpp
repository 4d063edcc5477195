// Times ScanFolder + FileSort on a generated tree of 100,000 files in 1,000
// folders against find(1) on the same tree, warm cache, median of five runs.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "benchsupport.h"
#include "collect/filetable.h"
#include "collect/namesort.h"
#include "collect/scan.h"
#include "platform/filesystem.h"

using namespace quillo;

using quillo::bench::median;
using quillo::bench::QuietProgress;

namespace {

constexpr int kFolders = 1000;
constexpr int kFilesPerFolder = 100;
constexpr int kRuns = 5;

double now() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

long vmHwmKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

void touch(const std::string& path) {
    const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    if (fd < 0 || ::close(fd) != 0) {
        std::perror(path.c_str());
        std::exit(1);
    }
}

// 10 groups of 100 folders; half the files end in a mixed-case .jpg.
void makeTree(const std::string& top) {
    static const char* jpg[] = {".jpg", ".JPG", ".Jpg", ".jPg", ".JpG"};
    static const char* other[] = {".png", ".txt", ".jpeg", ".gif", ".raw"};
    for (int g = 0; g < 10; ++g) {
        const std::string group = top + "/group" + std::to_string(g);
        ::mkdir(group.c_str(), 0755);
        for (int f = 0; f < kFolders / 10; ++f) {
            const std::string folder = group + "/写真フォルダ" + std::to_string(f);
            ::mkdir(folder.c_str(), 0755);
            for (int i = 0; i < kFilesPerFolder; ++i) {
                const char* ext = i % 2 == 0 ? jpg[i / 2 % 5] : other[i / 2 % 5];
                touch(folder + "/IMG_" + std::to_string(i) + "_画像" + ext);
            }
            touch(folder + "/.hidden" + std::to_string(f) + ".jpg");
        }
    }
    // A link back to the top: never followed by either side.
    if (::symlink(top.c_str(), (top + "/group0/loop").c_str()) != 0) std::perror("symlink");
}

struct ScanRun {
    double scan = 0;
    double sort = 0;
    qint32 count = 0;
};

ScanRun scanOnce(const QString& top, FileTable& table, const QString& kind = kKindTarget) {
    QuietProgress progress;
    ScanStats stats;
    ScanRun r;
    const double t0 = now();
    ScanFolder(table, top, kind, 1, QStringLiteral(".JPG"), progress, systemFileSystem(), stats);
    const double t1 = now();
    FileSort(table.FileDir, table.FileName, table.FileSize, table.FileKind, table.FileCount,
             progress);
    const double t2 = now();
    r.scan = t1 - t0;
    r.sort = t2 - t1;
    r.count = table.FileCount;
    return r;
}

double findOnce(const std::string& top) {
    const std::string cmd = "find '" + top + "' -type f -iname '*.jpg' -printf '%s\\n' >/dev/null";
    const double t0 = now();
    if (std::system(cmd.c_str()) != 0) std::fprintf(stderr, "find failed\n");
    return now() - t0;
}

// The bytes the table's path texts need: one shared text per folder, one per name.
qint64 textBytes(const FileTable& t) {
    qint64 bytes = 0;
    const QChar* lastDir = nullptr;
    for (size_t i = 1; i <= size_t(t.FileCount); ++i) {
        bytes += (t.FileName[i].size() + 1) * 2 + 16;
        if (t.FileDir[i].constData() != lastDir) {
            lastDir = t.FileDir[i].constData();
            bytes += (t.FileDir[i].size() + 1) * 2 + 16;
        }
    }
    return bytes;
}

}  // namespace

// bench_scan [FOLDER]: with a folder, the tree is generated there once and
// reused by later runs; without, it lives in a temporary folder.
int main(int argc, char** argv) {
    QTemporaryDir temp;
    if (!temp.isValid()) return 1;
    const QString path = argc > 1 ? QFile::decodeName(argv[1]) : temp.path();
    const std::string top = QFile::encodeName(path).toStdString();
    struct stat st;
    const bool reuse = argc > 1 && ::stat((top + "/group0").c_str(), &st) == 0;
    if (reuse) {
        std::printf("reusing the tree under %s\n", top.c_str());
    } else {
        std::printf("generating %d files in %d folders under %s\n", kFolders * kFilesPerFolder,
                    kFolders, top.c_str());
        ::mkdir(top.c_str(), 0755);
        makeTree(top);
    }

    // First run: warms the cache and measures the peak memory of one collection.
    const long hwmBefore = vmHwmKb();
    {
        FileTable table;
        const ScanRun first = scanOnce(path, table);
        const long hwmAfter = vmHwmKb();
        const double perEntry = double(hwmAfter - hwmBefore) * 1024.0 / first.count;
        const double beyond =
            (double(hwmAfter - hwmBefore) * 1024.0 - double(textBytes(table))) / first.count;
        std::printf("entries collected: %d\n", first.count);
        std::printf(
            "VmHWM before %ld kB, after %ld kB: %.0f bytes per entry, %.0f beyond path "
            "texts\n",
            hwmBefore, hwmAfter, perEntry, beyond);
    }
    findOnce(top);

    std::vector<double> scans, sorts, totals, finds;
    for (int run = 0; run < kRuns; ++run) {
        FileTable table;
        const ScanRun r = scanOnce(path, table);
        scans.push_back(r.scan);
        sorts.push_back(r.sort);
        totals.push_back(r.scan + r.sort);
        finds.push_back(findOnce(top));
    }
    // The sort alone on 100,000 entries: the tree collected as targets and as
    // references into one table, as the second collection command sorts it.
    std::vector<double> bigSorts;
    for (int run = 0; run < kRuns; ++run) {
        FileTable table;
        QuietProgress progress;
        ScanStats stats;
        ScanFolder(table, path, kKindTarget, 1, QStringLiteral(".JPG"), progress,
                   systemFileSystem(), stats);
        ScanFolder(table, path, kKindRefer, 1, QStringLiteral(".JPG"), progress, systemFileSystem(),
                   stats);
        const double t0 = now();
        FileSort(table.FileDir, table.FileName, table.FileSize, table.FileKind, table.FileCount,
                 progress);
        bigSorts.push_back(now() - t0);
        if (run == 0) std::printf("sort table: %d entries\n", table.FileCount);
    }

    const double total = median(totals);
    const double find = median(finds);
    std::printf("ScanFolder median   %.3f s\n", median(scans));
    std::printf("FileSort median     %.3f s (the scan's entries)\n", median(sorts));
    std::printf("FileSort 100,000    %.3f s (median of %d)\n", median(bigSorts), kRuns);
    std::printf("scan+sort median    %.3f s\n", total);
    std::printf("find median         %.3f s\n", find);
    std::printf("ratio (scan+sort)/find %.2f, scan alone/find %.2f\n", total / find,
                median(scans) / find);
    return 0;
}
