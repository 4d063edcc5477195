// A plan of 100,000 duplicates in the review's list: the time from handing
// the plan to the list to its first rows drawn, the time per page while
// scrolling through it, and the memory the plan and its list take beyond the
// file table, per row; median of five.
#include <malloc.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <cstdio>
#include <memory>
#include <vector>

#include "benchsupport.h"
#include "collect/filetable.h"
#include "dedup/duplicateplan.h"
#include "ui/review/duplicateplanmodel.h"

using namespace quillo;

namespace {

constexpr int kRows = 100000;
constexpr int kRuns = 5;

size_t heapInUse() {
    return mallinfo2().uordblks;
}

// Two files per group, in 500 folders: every duplicate beside its kept file.
FileTable makeTable() {
    FileTable table;
    std::vector<QString> folders;
    for (int f = 0; f < 500; ++f)
        folders.push_back(QStringLiteral("/写真/%1/").arg(f, 3, 10, QLatin1Char('0')));
    for (int i = 0; i < 2 * kRows; ++i)
        table.append(FileEntry{folders[size_t(i % 500)],
                               QStringLiteral("IMG_%1.JPG").arg(i, 7, 10, QLatin1Char('0')),
                               100000 + i / 2, FileKind::Target, FileId{1, quint64(i)}, 0});
    return table;
}

DuplicatePlan makePlan() {
    DuplicatePlan plan;
    for (int g = 0; g < kRows; ++g) {
        plan.groups.push_back({2 * g, 0, false, quint64(2 * g), 0});
        DuplicateRow row;
        row.entry = 2 * g + 1;
        row.group = g;
        row.inode = quint64(2 * g + 1);
        plan.rows.push_back(row);
    }
    plan.devices = {1};
    // As the search leaves them.
    plan.rows.shrink_to_fit();
    plan.groups.shrink_to_fit();
    return plan;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const FileTable table = makeTable();
    std::vector<double> shown, page;
    double perRow = 0;
    for (int run = 0; run < kRuns; ++run) {
        ::malloc_trim(0);
        const size_t before = heapInUse();
        auto plan = std::make_unique<DuplicatePlan>(makePlan());
        const size_t planOnly = heapInUse() - before;
        auto model = std::make_unique<DuplicatePlanModel>(*plan, true);
        model->setEntries(&table.entries);
        QTableView view;
        view.resize(900, 600);
        view.show();
        QElapsedTimer t;
        t.start();
        view.setModel(model.get());
        view.horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
        QApplication::processEvents();
        view.viewport()->repaint();
        shown.push_back(double(t.nsecsElapsed()) / 1e6);
        perRow = double(heapInUse() - before) / kRows;
        std::fprintf(stderr, "plan %.1f, list %.1f bytes a row\n", double(planOnly) / kRows,
                     perRow - double(planOnly) / kRows);
        // A page down at a time through the first 200 pages, each drawn.
        QScrollBar* bar = view.verticalScrollBar();
        t.restart();
        constexpr int kPages = 200;
        for (int p = 0; p < kPages; ++p) {
            bar->setValue(bar->value() + bar->pageStep());
            view.viewport()->repaint();
        }
        page.push_back(double(t.nsecsElapsed()) / 1e6 / kPages);
    }
    std::printf(
        "plan of %d rows: shown %.1f ms after it is handed over, %.2f ms a page while "
        "scrolling, %.1f bytes a row beyond the file table (median of %d)\n",
        kRows, bench::median(shown), bench::median(page), perRow, kRuns);
    return 0;
}
