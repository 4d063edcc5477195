#include "ui/review/renameplanmodel.h"

#include "core/format.h"
#include "core/paths.h"

namespace quillo {

RenamePlanModel::RenamePlanModel(RenamePlan& plan, QObject* parent)
    : PlanModel({QStringLiteral("№"), QStringLiteral("フォルダ"), QStringLiteral("今の名前"),
                 QStringLiteral("新しい名前"), QStringLiteral("結果")},
                parent),
      m_plan(plan) {}

QString RenamePlanModel::newPath(int row) const {
    return m_plan.newPath(size_t(row), entries());
}

int RenamePlanModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_plan.rows.size());
}

QString RenamePlanModel::summary() const {
    int first = -1, last = -1, clashes = 0;
    for (int k = 0; k < rowCount(); ++k) {
        if (!at(k).ticked) continue;
        if (first < 0) first = k;
        last = k;
        clashes += at(k).clash ? 1 : 0;
    }
    if (first < 0) return QStringLiteral("リネームするファイルは選ばれていません");
    QString text =
        QStringLiteral("%1件を %2〜%3 に%4")
            .arg(formatCount(m_plan.tickedCount()), m_plan.newName(size_t(first)),
                 m_plan.newName(size_t(last)),
                 m_plan.movePrefix.isEmpty() ? QStringLiteral("リネームします")
                                             : QStringLiteral("リネームして ") + m_plan.movePrefix +
                                                   QStringLiteral(" に移動します"));
    if (clashes > 0) text += QStringLiteral("（%1件は同じ名前のファイルがあります）").arg(clashes);
    return text;
}

QString RenamePlanModel::filePath(int row) const {
    const RenameRow& r = at(row);
    return r.outcome == RowOutcome::Done ? newPath(row) : entry(r.entry).path();
}

bool RenamePlanModel::ticked(int row) const {
    return at(row).ticked;
}

void RenamePlanModel::setTicked(int row, bool ticked) {
    m_plan.rows[size_t(row)].ticked = ticked;
    m_plan.markClashes(entries());
}

RowOutcome RenamePlanModel::outcome(int row) const {
    return at(row).outcome;
}

qint16 RenamePlanModel::code(int row) const {
    return at(row).code;
}

QString RenamePlanModel::text(int row, int column) const {
    const FileEntry& e = entry(at(row).entry);
    switch (column) {
        case 1:
            return nativePath(e.dir.text());
        case 2:
            return e.name;
        case 3:
            return m_plan.newName(size_t(row));
        default:
            return {};
    }
}

bool RenamePlanModel::warns(int row) const {
    return !locked() && at(row).ticked && at(row).clash;
}

QString RenamePlanModel::warning(int row) const {
    return nativePath(newPath(row)) + QStringLiteral(" が既にあります");
}

QString RenamePlanModel::doneText() const {
    return QStringLiteral("リネームしました");
}

}  // namespace quillo
