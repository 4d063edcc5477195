#include "ui/review/planmodel.h"

#include <QBrush>
#include <QColor>
#include <QGuiApplication>
#include <QPalette>

#include "core/failure.h"
#include "core/paths.h"

namespace quillo {

PlanModel::PlanModel(QStringList headers, QObject* parent)
    : QAbstractTableModel(parent), m_headers(std::move(headers)) {}

void PlanModel::setEntries(const std::vector<FileEntry>* entries) {
    beginResetModel();
    m_entries = entries;
    endResetModel();
}

void PlanModel::setLocked() {
    m_locked = true;
    refresh();
}

void PlanModel::setDone() {
    m_locked = m_done = true;
    refresh();
}

void PlanModel::refresh() {
    if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

void PlanModel::toggle(int row) {
    if (m_locked || row < 0 || row >= rowCount()) return;
    setTicked(row, !ticked(row));
    refresh();
    emit planChanged();
}

int PlanModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_headers.size());
}

QString PlanModel::pathBeside(const FileEntry& file, const FileEntry& beside) {
    return beside.dir == file.dir ? beside.name : nativePath(beside.path());
}

QString PlanModel::outcomeText(int row) const {
    switch (outcome(row)) {
        case RowOutcome::Planned:
            return m_done ? QStringLiteral("未処理") : QString();
        case RowOutcome::Done:
            return doneText();
        case RowOutcome::DeletedForGood:
            return QStringLiteral("完全に削除しました");
        case RowOutcome::Failed:
            return QString::number(code(row)) + describeFailure(code(row));
        case RowOutcome::Changed:
            return QStringLiteral("変更されていたため残しました");
        case RowOutcome::LeftOut:
            return QStringLiteral("選択されていないため残しました");
        case RowOutcome::Kept:
            return QStringLiteral("参照ファイルのため残しました");
    }
    return {};
}

QVariant PlanModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !m_entries) return {};
    const int row = index.row();
    const int last = columnCount() - 1;
    switch (role) {
        case Qt::DisplayRole:
            if (index.column() == 0) return QString::number(row + 1);
            if (index.column() == last) return outcomeText(row);
            return text(row, index.column());
        case Qt::CheckStateRole:
            if (index.column() != 0) return {};
            return ticked(row) ? Qt::Checked : Qt::Unchecked;
        case Qt::ToolTipRole:
            if (warns(row)) return warning(row);
            // Texts cut short by their column show whole.
            if (index.column() > 0 && index.column() < last) return text(row, index.column());
            return {};
        case Qt::ForegroundRole:
            if (warns(row) || outcome(row) == RowOutcome::Failed) return QBrush(QColor(0xb0, 0, 0));
            return {};
        case Qt::BackgroundRole:
            // Rows of one group share a shade; the next group has the other.
            if (shade(row) % 2 == 1) return QGuiApplication::palette().alternateBase();
            return {};
        default:
            return {};
    }
}

bool PlanModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || index.column() != 0 || m_locked) return false;
    const bool on = value.toInt() == Qt::Checked;
    if (on == ticked(index.row())) return true;
    toggle(index.row());
    return true;
}

Qt::ItemFlags PlanModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.column() == 0 && !m_locked) f |= Qt::ItemIsUserCheckable;
    return f;
}

QVariant PlanModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= m_headers.size())
        return {};
    return m_headers[section];
}

}  // namespace quillo
