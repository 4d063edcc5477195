// Times ScanFolder + FileSort on a generated tree of 100,000 files in 1,000
// folders against find(1) on the same tree, warm cache, median of five runs;
// then FileSort alone on 1,000,000 entries (bench_scan --sort-only: that alone).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
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

// Appends the files of top to the table as the collection commands do.
void scanInto(FileTable& table, const QString& top, FileKind kind, Progress& progress) {
    ScanRequest request;
    request.folder = top;
    request.kind = kind;
    request.subfolderSwitch = CheckValue::On;
    request.extension = QStringLiteral(".JPG");
    ScanResult found = ScanFolder(request, progress, systemFileSystem());
    table.entries.insert(table.entries.end(), std::make_move_iterator(found.entries.begin()),
                         std::make_move_iterator(found.entries.end()));
}

ScanRun scanOnce(const QString& top, FileTable& table, FileKind kind = FileKind::Target) {
    QuietProgress progress;
    ScanRun r;
    const double t0 = now();
    scanInto(table, top, kind, progress);
    const double t1 = now();
    FileSort(table.entries, progress);
    const double t2 = now();
    r.scan = t1 - t0;
    r.sort = t2 - t1;
    r.count = table.FileCount();
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
    for (const FileEntry& e : t.entries) {
        bytes += (e.name.size() + 1) * 2 + 16;
        if (e.dir.text().constData() != lastDir) {
            lastDir = e.dir.text().constData();
            bytes += (e.dir.text().size() + 1) * 2 + 16;
        }
    }
    return bytes;
}

// 1,000,000 entries as the million tree's collections give them: 1,000 folder
// texts shared by 1,000 entries each, folders and names in listing order (the
// file system's hash order, here a shuffle). halfSorted: the first 500 folders
// are references already in name order, as the extraction's sort meets them.
std::vector<FileEntry> millionEntries(bool halfSorted) {
    std::mt19937_64 rng(1000000);
    std::vector<int> folders(1000);
    for (int f = 0; f < 1000; ++f) folders[size_t(f)] = f;
    std::shuffle(folders.begin() + (halfSorted ? 500 : 0), folders.end(), rng);
    std::vector<FileEntry> rows;
    rows.reserve(1000 * 1000);
    std::vector<int> files(1000);
    quint64 inode = 1;
    for (size_t k = 0; k < folders.size(); ++k) {
        const int f = folders[k];
        const bool reference = f < 500;
        const QString dir = QStringLiteral("/home/quillo/写真/%1/d%2/")
                                .arg(reference ? QStringLiteral("ref") : QStringLiteral("sel"))
                                .arg(f, 4, 10, QLatin1Char('0'));
        for (int j = 0; j < 1000; ++j) files[size_t(j)] = j;
        if (!(halfSorted && k < 500)) std::shuffle(files.begin(), files.end(), rng);
        for (const int j : files) {
            const int index = f * 1000 + j;
            rows.push_back(FileEntry{dir,
                                     QStringLiteral("IMG_%1_%2.JPG")
                                         .arg(f, 4, 10, QLatin1Char('0'))
                                         .arg(index, 7, 10, QLatin1Char('0')),
                                     qint64(200 + rng() % 2801),
                                     reference ? FileKind::Refer : FileKind::Target,
                                     FileId{1, inode++}});
        }
    }
    return rows;
}

// FileSort of a million entries, median of kRuns, each on a fresh copy.
void sortMillion() {
    for (const bool halfSorted : {true, false}) {
        const std::vector<FileEntry> made = millionEntries(halfSorted);
        std::vector<double> times;
        for (int run = 0; run < kRuns; ++run) {
            std::vector<FileEntry> rows = made;
            QuietProgress progress;
            const double t0 = now();
            FileSort(rows, progress);
            times.push_back(now() - t0);
            if (run == 0 && !std::is_sorted(rows.begin(), rows.end(),
                                            [](const FileEntry& a, const FileEntry& b) {
                                                return a.dir != b.dir ? a.dir.text() < b.dir.text()
                                                                      : a.name < b.name;
                                            })) {
                std::fprintf(stderr, "FileSort left the million entries out of order\n");
                std::exit(1);
            }
        }
        std::printf(
            "FileSort 1,000,000  %.3f s (median of %d; %s; target 1.5 s)\n", median(times), kRuns,
            halfSorted ? "references sorted, extraction in listing order" : "all in listing order");
        std::fflush(stdout);
    }
}

}  // namespace

// bench_scan [FOLDER]: with a folder, the tree is generated there once and
// reused by later runs; without, it lives in a temporary folder.
int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--sort-only") == 0) {
        sortMillion();
        return 0;
    }
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
        scanInto(table, path, FileKind::Target, progress);
        scanInto(table, path, FileKind::Refer, progress);
        const double t0 = now();
        FileSort(table.entries, progress);
        bigSorts.push_back(now() - t0);
        if (run == 0) std::printf("sort table: %d entries\n", table.FileCount());
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
    sortMillion();
    return 0;
}
