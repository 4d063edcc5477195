// Renaming 50,000 targets in one folder: the rename pass, without and with
// its journal, against a plain loop of the same renames through the
// platform's rename call, median of five each.
// The progress keeps the latest caption and number as a window would before a
// coalesced repaint; it paints nothing.
#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "benchsupport.h"
#include "core/paths.h"
#include "journal/runjournal.h"
#include "numbering/renamepass.h"

using namespace quillo;

using quillo::bench::median;
using quillo::bench::QuietProgress;

namespace {

constexpr int kFiles = 50000;
constexpr int kRuns = 5;

class NoBox final : public MessageBox {
  public:
    int asked = 0;
    Answer show(const QString&, Buttons) override {
        ++asked;
        return Answer::No;
    }
};

QString oldName(int i) {
    return QStringLiteral("IMG_%1.jpg").arg(i, 5, 10, QLatin1Char('0'));
}

// A fresh folder holding the kFiles empty targets.
QString makeFolder(const QString& root, const QString& name) {
    const QString folder = joinPath(root, name);
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    for (int i = 1; i <= kFiles; ++i) {
        const int fd = ::open(QFile::encodeName(joinPath(folder, oldName(i))).constData(),
                              O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0644);
        if (fd < 0) {
            std::perror("create");
            std::exit(1);
        }
        ::close(fd);
    }
    return folder;
}

bool allRenamed(const QString& folder) {
    const QStringList names = QDir(folder).entryList(QDir::Files);
    return names.size() == kFiles && std::all_of(names.begin(), names.end(), [](const QString& n) {
               return n.startsWith(QLatin1String("GAZOU"));
           });
}

// CPU time of this process, which the other users of the machine do not inflate.
double cpuMs() {
    timespec ts;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

}  // namespace

int main() {
    QTemporaryDir root;
    if (!root.isValid()) return 1;
    std::vector<double> pass, plain, passCpu, plainCpu, journalled, journalledCpu;

    const auto timePass = [&](bool withJournal) {
        const QString folder = makeFolder(root.path(), QStringLiteral("pass"));
        FileTable table;
        // Entries as a collection records them: which file each one is.
        for (int i = 1; i <= kFiles; ++i) {
            const Result<FileInfo> info = systemFileSystem().info(joinPath(folder, oldName(i)));
            if (!info) return false;
            table.append(
                {folderPrefix(folder), oldName(i), 0, FileKind::Target, info->id(), info->mtimeNs});
        }
        RenameRequest request;
        request.name = QStringLiteral("GAZOU");
        request.number = QStringLiteral("00001");
        request.DigitCount = 5;
        request.extension = QStringLiteral(".JPG");
        request.chkJpegJpg = CheckValue::On;
        QuietProgress progress;
        NoBox box;
        ::sync();
        QElapsedTimer t;
        const double cpu = cpuMs();
        t.start();
        {
            RunJournal journal(
                JournalFolder(systemFileSystem(), root.path() + QStringLiteral("/journal")),
                JournalKind::Number, request.number);
            (void)runRename(request, table, progress, box, systemFileSystem(),
                            withJournal ? &journal : nullptr);
        }  // the journal's end, its last sync included, counts too
        (withJournal ? journalled : pass).push_back(double(t.nsecsElapsed()) / 1e6);
        (withJournal ? journalledCpu : passCpu).push_back(cpuMs() - cpu);
        return box.asked == 0 && allRenamed(folder);
    };
    const auto timePlain = [&]() {
        const QString folder = makeFolder(root.path(), QStringLiteral("plain"));
        std::vector<std::pair<QString, QString>> moves;
        moves.reserve(kFiles);
        for (int i = 1; i <= kFiles; ++i)
            moves.emplace_back(
                joinPath(folder, oldName(i)),
                joinPath(folder, QStringLiteral("GAZOU%1.JPG").arg(i, 5, 10, QLatin1Char('0'))));
        FileSystem& fs = systemFileSystem();
        ::sync();
        QElapsedTimer t;
        const double cpu = cpuMs();
        t.start();
        for (const auto& [from, to] : moves)
            if (!fs.rename(from, to)) return false;
        plain.push_back(double(t.nsecsElapsed()) / 1e6);
        plainCpu.push_back(cpuMs() - cpu);
        return allRenamed(folder);
    };

    for (int run = 0; run < kRuns; ++run) {
        // Alternating which goes first keeps the order out of the comparison.
        const bool ok = run % 2 == 0 ? timePass(false) && timePass(true) && timePlain()
                                     : timePlain() && timePass(true) && timePass(false);
        if (!ok) {
            std::fprintf(stderr, "a run did not rename every file\n");
            return 1;
        }
        std::printf(
            "run %d: rename pass %.1f ms (cpu %.1f), with journal %.1f ms (cpu %.1f), "
            "plain loop %.1f ms (cpu %.1f)\n",
            run + 1, pass.back(), passCpu.back(), journalled.back(), journalledCpu.back(),
            plain.back(), plainCpu.back());
    }
    const double p = median(pass), q = median(plain);
    std::printf("median of %d, %d files: rename pass %.1f ms, plain loop %.1f ms, ratio %.2f\n",
                kRuns, kFiles, p, q, p / q);
    const double j = median(journalled), jc = median(journalledCpu);
    std::printf("journal on / off: wall %.3f, cpu %.3f (limit 1.10)\n", j / p,
                jc / median(passCpu));
    const double pc = median(passCpu), qc = median(plainCpu);
    std::printf("cpu time, median of %d: rename pass %.1f ms, plain loop %.1f ms, ratio %.2f\n",
                kRuns, pc, qc, pc / qc);
    return 0;
}
