// What one journal row costs: begin and end for 200,000 rows with paths like
// the passes give, median of five. Times are of the calling thread; the thread
// that syncs once a second is counted apart. bench_rename and bench_dedup
// time the passes with the journal on and off.
#include <time.h>

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

#include "benchsupport.h"
#include "core/paths.h"
#include "journal/journalwriter.h"

using namespace quillo;

using quillo::bench::median;

namespace {

constexpr int kRows = 200000;
constexpr int kRuns = 5;

double threadCpuNs() {
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e9 + double(ts.tv_nsec);
}

double processCpuNs() {
    timespec ts;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e9 + double(ts.tv_nsec);
}

QString oldName(int i) {
    return QStringLiteral("IMG_%1.jpg").arg(i, 5, 10, QLatin1Char('0'));
}

QString newName(int i) {
    return QStringLiteral("GAZOU%1.JPG").arg(i, 5, 10, QLatin1Char('0'));
}

// A rename row as the numbering pass would give it.
JournalRow renameRow(const QString& folder, int i) {
    JournalRow row;
    row.op = JournalOp::Rename;
    row.oldPath = joinPath(folder, oldName(i));
    row.newPath = joinPath(folder, newName(i));
    row.before.size = 2345678 + i;
    row.before.device = 2049;
    row.before.inode = 1310720 + quint64(i);
    row.before.mtimeNs = 1714538712123456789 + i;
    return row;
}

std::unique_ptr<JournalWriter> openWriter(const QString& folder) {
    Result<std::unique_ptr<JournalWriter>> writer = JournalWriter::open(
        JournalFolder(systemFileSystem(), folder), JournalKind::Number, QStringLiteral("00001"));
    if (!writer) {
        std::fprintf(stderr, "cannot open a journal: %d\n", writer.failure().code);
        std::exit(1);
    }
    return std::move(writer.value());
}

}  // namespace

int main() {
    QTemporaryDir root;
    if (!root.isValid()) return 1;
    const QString journals = joinPath(root.path(), QStringLiteral("journal"));
    std::vector<double> rowNs, rowWallNs, syncNs, finishNs;
    std::vector<JournalRow> rows;
    rows.reserve(kRows);
    for (int i = 1; i <= kRows; ++i)
        rows.push_back(renameRow(QStringLiteral("/home/user/写真/2024-05 旅行"), i));

    for (int run = 0; run < kRuns; ++run) {
        std::unique_ptr<JournalWriter> writer = openWriter(journals);
        const double process = processCpuNs();
        const double start = threadCpuNs();
        QElapsedTimer wall;
        wall.start();
        for (const JournalRow& row : rows) writer->end(writer->begin(row), Status());
        const double wallNs = double(wall.nsecsElapsed());
        const double thread = threadCpuNs() - start;
        rowNs.push_back(thread / kRows);
        rowWallNs.push_back(wallNs / kRows);
        syncNs.push_back((processCpuNs() - process - thread) / kRows);
        wall.restart();
        if (!writer->finish()) return 1;
        finishNs.push_back(double(wall.nsecsElapsed()));
        std::printf(
            "run %d: begin+end %.0f ns/row cpu (%.0f wall), sync thread %.1f ns/row, "
            "finish %.1f ms\n",
            run + 1, rowNs.back(), rowWallNs.back(), syncNs.back(), finishNs.back() / 1e6);
    }
    std::printf("median of %d, %d rows: begin+end %.0f ns/row cpu, %.0f ns/row wall\n", kRuns,
                kRows, median(rowNs), median(rowWallNs));

    return 0;
}
