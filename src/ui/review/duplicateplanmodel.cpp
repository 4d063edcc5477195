#include "ui/review/duplicateplanmodel.h"

#include "core/format.h"
#include "core/paths.h"
#include "ui/preview/picturetext.h"

namespace quillo {

DuplicatePlanModel::DuplicatePlanModel(DuplicatePlan& plan, bool toTrash, QObject* parent)
    : PlanModel({QStringLiteral("№"), QStringLiteral("フォルダ"), QStringLiteral("重複ファイル"),
                 QStringLiteral("同じ内容で残すファイル"), QStringLiteral("サイズ"),
                 QStringLiteral("結果")},
                parent),
      m_plan(plan),
      m_toTrash(toTrash) {}

int DuplicatePlanModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_plan.rows.size());
}

QString DuplicatePlanModel::summary() const {
    const QString where = m_plan.way == WayOut::DeleteFolder
                              ? QStringLiteral("削除フォルダに移動します")
                          : m_toTrash ? QStringLiteral("ごみ箱に移します")
                                      : QStringLiteral("削除します");
    return QStringLiteral("重複ファイル %1件（%2）を%3")
        .arg(formatCount(m_plan.tickedCount()), fileSizeText(m_plan.tickedBytes(entries())), where);
}

QString DuplicatePlanModel::filePath(int row) const {
    return entry(at(row).entry).path();
}

QString DuplicatePlanModel::besidePath(int row) const {
    return entry(m_plan.groupOf(at(row)).kept).path();
}

bool DuplicatePlanModel::canSwap(int row) const {
    return !locked() && m_plan.canSwap(size_t(row));
}

void DuplicatePlanModel::swap(int row) {
    if (!canSwap(row)) return;
    m_plan.swap(size_t(row));
    refresh();
    emit planChanged();
}

bool DuplicatePlanModel::ticked(int row) const {
    return at(row).ticked;
}

void DuplicatePlanModel::setTicked(int row, bool ticked) {
    m_plan.rows[size_t(row)].ticked = ticked;
}

RowOutcome DuplicatePlanModel::outcome(int row) const {
    return at(row).outcome;
}

qint16 DuplicatePlanModel::code(int row) const {
    return at(row).code;
}

QString DuplicatePlanModel::text(int row, int column) const {
    const FileEntry& dup = entry(at(row).entry);
    switch (column) {
        case 1:
            return nativePath(dup.dir.text());
        case 2:
            return dup.name;
        case 3:
            return pathBeside(dup, entry(m_plan.groupOf(at(row)).kept));
        case 4:
            return formatCount(dup.size);
        default:
            return {};
    }
}

int DuplicatePlanModel::shade(int row) const {
    return at(row).group;
}

QString DuplicatePlanModel::doneText() const {
    return m_plan.way == WayOut::DeleteFolder ? QStringLiteral("移動しました")
           : m_toTrash                        ? QStringLiteral("ごみ箱に移しました")
                                              : QStringLiteral("削除しました");
}

}  // namespace quillo
