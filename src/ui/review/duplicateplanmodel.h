#pragma once
// The plan of 削除 in the list: each duplicate beside the kept file it equals,
// one shade per group.

#include "dedup/duplicateplan.h"
#include "ui/review/planmodel.h"

namespace quillo {

class DuplicatePlanModel : public PlanModel {
    Q_OBJECT
  public:
    // toTrash: where the ticked duplicates go, for the summary and outcomes.
    DuplicatePlanModel(DuplicatePlan& plan, bool toTrash, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QString summary() const override;
    QString filePath(int row) const override;
    QString besidePath(int row) const override;
    bool canSwap(int row) const override;
    void swap(int row) override;

  protected:
    bool ticked(int row) const override;
    void setTicked(int row, bool ticked) override;
    RowOutcome outcome(int row) const override;
    qint16 code(int row) const override;
    QString text(int row, int column) const override;
    int shade(int row) const override;
    QString doneText() const override;

  private:
    const DuplicateRow& at(int row) const { return m_plan.rows[size_t(row)]; }
    DuplicatePlan& m_plan;
    bool m_toTrash;
};

}  // namespace quillo
