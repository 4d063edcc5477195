#pragma once
// The plan of 採番 in the list: each file's new name beside its old one, a
// name taken when its turn comes marked, with the file in the way.

#include "numbering/renameplan.h"
#include "ui/review/planmodel.h"

namespace quillo {

class RenamePlanModel : public PlanModel {
    Q_OBJECT
  public:
    explicit RenamePlanModel(RenamePlan& plan, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QString summary() const override;
    QString filePath(int row) const override;

  protected:
    bool ticked(int row) const override;
    void setTicked(int row, bool ticked) override;
    RowOutcome outcome(int row) const override;
    qint16 code(int row) const override;
    QString text(int row, int column) const override;
    bool warns(int row) const override;
    QString warning(int row) const override;
    QString doneText() const override;

  private:
    const RenameRow& at(int row) const { return m_plan.rows[size_t(row)]; }
    QString newPath(int row) const;
    RenamePlan& m_plan;
};

}  // namespace quillo
