#pragma once
// A plan as the list shows it while the user reviews it and, once carried
// out, with what became of each row. The first column holds each row's tick.
// Texts are made when a row is drawn: a row costs nothing beyond the plan.

#include <QAbstractTableModel>
#include <QString>
#include <vector>

#include "collect/filetable.h"
#include "core/rowoutcome.h"

namespace quillo {

class PlanModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    // The files the rows name: the table's while the plan is reviewed, the
    // plan's own once the table has been emptied after carrying it out.
    void setEntries(const std::vector<FileEntry>* entries);
    // Being carried out: ticks and swaps can no longer change.
    void setLocked();
    // Carried out: the outcomes show.
    void setDone();
    bool locked() const { return m_locked; }
    bool done() const { return m_done; }

    // A line on what the ticked rows come to.
    virtual QString summary() const = 0;
    // The file of row, and the kept file shown beside it (empty for none).
    virtual QString filePath(int row) const = 0;
    virtual QString besidePath(int /*row*/) const { return {}; }
    // Whether row's file may become the kept one; doing so.
    virtual bool canSwap(int /*row*/) const { return false; }
    virtual void swap(int /*row*/) {}
    void toggle(int row);

    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The column the window lets take the room it grows by.
    static constexpr int kFolderColumn = 1;

  signals:
    // A tick or a swap changed what the plan comes to.
    void planChanged();

  protected:
    explicit PlanModel(QStringList headers, QObject* parent);
    const FileEntry& entry(qint32 index) const { return (*m_entries)[size_t(index)]; }
    const std::vector<FileEntry>& entries() const { return *m_entries; }
    virtual bool ticked(int row) const = 0;
    virtual void setTicked(int row, bool ticked) = 0;
    virtual RowOutcome outcome(int row) const = 0;
    virtual qint16 code(int row) const = 0;
    // The text of column (past the tick), as drawn.
    virtual QString text(int row, int column) const = 0;
    // Drawn as a warning: a name taken when its turn comes.
    virtual bool warns(int /*row*/) const { return false; }
    virtual QString warning(int /*row*/) const { return {}; }
    // Rows of one group share a shade.
    virtual int shade(int row) const { return row; }
    // What a done row's outcome says ("ごみ箱に移しました" …).
    virtual QString doneText() const = 0;
    // The kept file's text for a file in the same folder: its name alone.
    static QString pathBeside(const FileEntry& file, const FileEntry& beside);
    void refresh();

  private:
    QString outcomeText(int row) const;

    QStringList m_headers;
    const std::vector<FileEntry>* m_entries = nullptr;
    bool m_locked = false;
    bool m_done = false;
};

}  // namespace quillo
