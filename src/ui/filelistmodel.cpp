#include "ui/filelistmodel.h"

#include <QDateTime>
#include <QGuiApplication>
#include <QPalette>
#include <QStyle>
#include <algorithm>
#include <array>

#include "core/format.h"
#include "core/paths.h"
#include "ui/twips.h"

namespace quillo {

namespace {

const std::array<QString, FileListModel::kColumns> kHeaders = {
    QStringLiteral("№"),        QStringLiteral("ディレクトリ"), QStringLiteral("ファイル名"),
    QStringLiteral("更新日時"), QStringLiteral("サイズ"),       QStringLiteral("参照")};

constexpr std::array<int, FileListModel::kColumns> kWidths = {600, 1680, 1680, 1320, 840, 480};

constexpr int kTimeColumn = 3;

QString formatTime(qint64 mtimeNs) {
    const QDateTime time = QDateTime::fromMSecsSinceEpoch(mtimeNs / 1000000);
    return time.toString(QStringLiteral("yy/MM/dd HH:mm"));
}

}  // namespace

FileListModel::FileListModel(QObject* parent) : QAbstractTableModel(parent) {}

int FileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int FileListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

int FileListModel::columnWidthTwips(int column) {
    return kWidths[size_t(column)];
}

int FileListModel::columnWidthPx(int column, const QWidget& view) {
    const int table = px(columnWidthTwips(column));
    if (column != kTimeColumn) return table;
    // Every digit of "YY/MM/DD HH:NN" as the widest digit of the font.
    const QFontMetrics metrics = view.fontMetrics();
    QChar widest = QLatin1Char('0');
    for (char16_t d = u'0'; d <= u'9'; ++d)
        if (metrics.horizontalAdvance(QChar(d)) > metrics.horizontalAdvance(widest))
            widest = QChar(d);
    QString sample = formatTime(0);
    for (QChar& ch : sample)
        if (ch.isDigit()) ch = widest;
    // The item's text margins on both sides and the grid line.
    const int margin = view.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view) + 1;
    return std::max(table, metrics.horizontalAdvance(sample) + 2 * margin + 1);
}

QString FileListModel::cellText(int r, int column) const {
    if (r < 1 || r > int(m_rows.size()) || column < 0 || column >= kColumns) return {};
    const ListRow& row = m_rows[size_t(r - 1)];
    const int written = row.shape == RowShape::Complete ? kColumns
                        : row.shape == RowShape::Named  ? 3
                                                        : 0;
    if (column >= written) return {};
    switch (column) {
        case 0:
            return QString::number(r);
        case 1:
            return nativePath(row.dir);
        case 2:
            return row.name;
        case 3:
            return formatTime(row.mtimeNs);
        case 4:
            return formatCount(row.size);
        default:
            return row.kind;
    }
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    switch (role) {
        case Qt::DisplayRole:
            return cellText(index.row() + 1, index.column());
        case Qt::TextAlignmentRole:
            // Numbers to the right, texts to the left, as the grid aligns them.
            if (index.column() == 0 || index.column() == 4)
                return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
            return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
        case Qt::BackgroundRole:
            // Column 0 is the grid's fixed column, drawn like the header.
            if (index.column() == 0) return QGuiApplication::palette().button();
            return {};
        default:
            return {};
    }
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumns) return {};
    if (role == Qt::DisplayRole) return kHeaders[size_t(section)];
    return {};
}

void FileListModel::setEntryRows(int rows) {
    rows = std::max(rows, 0);
    const int now = int(m_rows.size());
    if (rows > now) {
        beginInsertRows(QModelIndex(), now, rows - 1);
        m_rows.resize(size_t(rows));
        endInsertRows();
    } else if (rows < now) {
        beginRemoveRows(QModelIndex(), rows, now - 1);
        m_rows.resize(size_t(rows));
        endRemoveRows();
    }
}

void FileListModel::clearRows() {
    beginResetModel();
    std::vector<ListRow>().swap(m_rows);
    endResetModel();
}

void FileListModel::setRow(int r, ListRow row) {
    if (r < 1 || r > int(m_rows.size())) return;
    m_rows[size_t(r - 1)] = std::move(row);
    emit dataChanged(index(r - 1, 0), index(r - 1, kColumns - 1));
}

}  // namespace quillo
