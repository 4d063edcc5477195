#include "numbering/renameplan.h"

#include <QSet>

#include "numbering/number.h"

namespace quillo {

QString RenamePlan::numberText(size_t row) const {
    if (row == 0) return firstNumber;
    return QString::number(rows[row].number).rightJustified(width, QLatin1Char('0'));
}

QString RenamePlan::newName(size_t row) const {
    return name + numberText(row) + extension;
}

QString RenamePlan::newPath(size_t row, const std::vector<FileEntry>& entries) const {
    const QString& folder =
        movePrefix.isEmpty() ? entries[size_t(rows[row].entry)].dir.text() : movePrefix;
    return folder + newName(row);
}

QString RenamePlan::nextNumber() const {
    for (size_t k = rows.size(); k-- > 0;) {
        const RowOutcome o = rows[k].outcome;
        if (o == RowOutcome::Done || o == RowOutcome::Failed)
            return advanceNumber(numberText(k), width);
    }
    return firstNumber;
}

void RenamePlan::markClashes(const std::vector<FileEntry>& entries) {
    // The paths that hold a file when a row's turn comes: those found taken,
    // less what earlier rows renamed away, plus what they renamed to.
    QSet<QString> occupied;
    for (size_t k = 0; k < rows.size(); ++k)
        if (rows[k].taken) occupied.insert(newPath(k, entries));
    for (size_t k = 0; k < rows.size(); ++k) {
        RenameRow& row = rows[k];
        row.clash = false;
        if (!row.ticked || row.named) continue;
        const QString to = newPath(k, entries);
        if (occupied.contains(to)) {
            row.clash = true;
            continue;
        }
        occupied.remove(entries[size_t(row.entry)].path());
        occupied.insert(to);
    }
}

qint32 RenamePlan::tickedCount() const {
    qint32 n = 0;
    for (const RenameRow& r : rows) n += r.ticked ? 1 : 0;
    return n;
}

}  // namespace quillo
