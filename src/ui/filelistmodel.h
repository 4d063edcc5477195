#pragma once
// The rows grdList shows. The model keeps its own copy of what the fill wrote,
// so the grid goes on showing the old rows while a command reorders or empties
// the file table. Texts are shared with the table (QString is implicitly
// shared); time and size stay numbers until a row is drawn.

#include <QAbstractTableModel>
#include <QString>
#include <QWidget>
#include <vector>

namespace quillo {

// Which cells of a row the fill wrote: none yet, the number, folder and name
// only (the file had gone when it was looked at), or all six.
enum class RowShape : quint8 { Blank, Named, Complete };

// One grid row as the fill wrote it.
struct ListRow {
    QString dir;
    QString name;
    QString kind;
    qint64 mtimeNs = 0;
    qint64 size = 0;
    RowShape shape = RowShape::Blank;
};

class FileListModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    static constexpr int kColumns = 6;

    explicit FileListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The number of entry rows (the grid's row count less its header row).
    // Rows that stay keep their cells; new rows are empty.
    void setEntryRows(int rows);

    // Only the header row remains; the rows' memory is given back.
    void clearRows();

    // Writes grid row r (1-based, as the file table's entries).
    void setRow(int r, ListRow row);

    // The cell text as drawn: "№", folder, name, "YY/MM/DD HH:NN", "#,##0", kind.
    QString cellText(int r, int column) const;

    // The column widths in twips, column 0 to 5.
    static int columnWidthTwips(int column);

    // The width in pixels that view gives column: its width in twips, or more
    // where the time stamp would be cut in the view's font.
    static int columnWidthPx(int column, const QWidget& view);

  private:
    std::vector<ListRow> m_rows;  // m_rows[r - 1] is grid row r
};

}  // namespace quillo
