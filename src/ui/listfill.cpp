#include "ui/listfill.h"

#include <QPalette>

#include "ui/filelistmodel.h"

namespace quillo {

namespace {
constexpr int kRowsPerTick = 15;
constexpr int kFillInterval = 1;      // milliseconds
constexpr double kBlinkPeriod = 0.2;  // seconds between colour changes
constexpr qint32 kBlinkStep = 0x222222;
}  // namespace

void Blink::setColor(qint32 rgb) {
    QPalette palette = m_label.palette();
    palette.setColor(QPalette::WindowText, QColor(QRgb(quint32(rgb))));
    m_label.setPalette(palette);
}

void Blink::step() {
    if (m_clock.seconds() < m_due) return;
    m_color += kBlinkStep;
    if (m_color > 0xFFFFFF) m_color = kBlinkStep;
    m_due = m_clock.seconds() + kBlinkPeriod;
    setColor(m_color);
}

void ListFill::start() {
    m_model.setEntryRows(m_files.FileCount());
    // A fill under way starts again from row 1: the table may have been re-sorted.
    m_cursor = 0;
    m_timer.start(kFillInterval);
}

void ListFill::stop() {
    m_timer.stop();
    m_cursor = 0;
}

void ListFill::tick() {
    // The event loop runs during a command, whose thread changes the table:
    // the fill waits for the command to end.
    if (m_files.inUse()) return;
    for (int k = 0; k < kRowsPerTick; ++k) {
        ++m_cursor;
        if (m_cursor > m_files.FileCount()) {
            m_blink.setColor(0);
            stop();
            return;
        }
        m_blink.step();
        const qint32 r = m_cursor;
        const FileEntry& e = m_files.entries[size_t(r - 1)];
        ListRow row;
        row.dir = e.dir.text();
        row.name = e.name;
        row.shape = RowShape::Named;
        const Result<FileInfo> info = m_fs.info(e.path());
        const bool complete = info.ok() && r <= m_model.rowCount();
        if (complete) {
            row.mtimeNs = info->mtimeNs;
            row.size = e.size;
            row.kind = kindLabel(e.kind);
            row.shape = RowShape::Complete;
        }
        m_model.setRow(r, std::move(row));
        // A row that cannot be completed (its file has gone) ends this tick;
        // the next tick goes on with the row after it.
        if (!complete) return;
    }
}

}  // namespace quillo
