// The review: a plan that 削除 or 採番 found is shown in the list before
// anything changes, with the pictures of the selected row; the user leaves
// rows out or swaps which file is kept, then carries the plan out (Enter) or
// leaves everything as it was (Escape).

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>

#include "core/format.h"
#include "core/paths.h"
#include "platform/shell.h"
#include "ui/filelistmodel.h"
#include "ui/mainwindow.h"
#include "ui/preview/picturepane.h"
#include "ui/review/duplicateplanmodel.h"
#include "ui/review/renameplanmodel.h"
#include "ui/review/reviewbar.h"
#include "ui/twips.h"

namespace quillo {

namespace {

constexpr int kTickColumnPx = 56;
constexpr int kNameColumnPx = 130;
constexpr int kSizeColumnPx = 64;

bool reviewed(const ShownPlan* shown) {
    return shown && shown->stage == ShownPlan::Stage::Reviewed;
}

}  // namespace

void frmQuillo::makeListActions() {
    QTableView* list = m_c.grdList;
    // One action for the shortcut and the list's menu.
    auto* undo = new QAction(QStringLiteral("直前の処理を元に戻す"), this);
    undo->setShortcut(QKeySequence::Undo);
    connect(undo, &QAction::triggered, this, &frmQuillo::undoLastRun);
    addAction(undo);
    m_openFile = new QAction(QStringLiteral("ファイルを開く"), this);
    connect(m_openFile, &QAction::triggered, this, [this] { openRowFile(false); });
    m_openFolder = new QAction(QStringLiteral("フォルダを開く"), this);
    connect(m_openFolder, &QAction::triggered, this, [this] { openRowFile(true); });
    m_swapKept =
        new QAction(QStringLiteral("このファイルを残す（残すファイルと入れ替える）"), this);
    connect(m_swapKept, &QAction::triggered, this, [this] {
        const int row = m_c.grdList->currentIndex().row();
        if (reviewed(m_shown.get()) && m_shown->model->canSwap(row)) m_shown->model->swap(row);
        showPictures();
    });
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    list->addActions({undo, separator, m_openFile, m_openFolder, m_swapKept});
    m_swapKept->setEnabled(false);
    list->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(list, &QTableView::doubleClicked, this, [this] { openRowFile(false); });
    // Escape leaves a plan under review, wherever the focus is in the window.
    // (Only then: during a run Escape asks whether to stop it.)
    m_cancelPlan = new QAction(this);
    m_cancelPlan->setShortcut(Qt::Key_Escape);
    m_cancelPlan->setEnabled(false);
    connect(m_cancelPlan, &QAction::triggered, this, &frmQuillo::cancelPlan);
    addAction(m_cancelPlan);
    list->installEventFilter(this);

    m_reviewBar = new ReviewBar(this);
    m_reviewBar->hide();
    connect(m_reviewBar, &ReviewBar::carryOut, this, &frmQuillo::carryOutPlan);
    connect(m_reviewBar, &ReviewBar::cancel, this, &frmQuillo::cancelPlan);
    m_picture = new PicturePane(m_fs, this);
    m_picture->hide();
    setTabOrder(list, m_reviewBar->carryOutButton());
    setTabOrder(m_reviewBar->carryOutButton(), m_reviewBar->cancelButton());
}

void frmQuillo::setListModel(QAbstractItemModel* model) {
    QTableView* list = m_c.grdList;
    list->setModel(model);
    QHeaderView* header = list->horizontalHeader();
    const bool files = model == m_model;
    for (int column = 0; column < model->columnCount(); ++column) {
        const QString title = model->headerData(column, Qt::Horizontal).toString();
        const int width = files         ? FileListModel::columnWidthPx(column, *list)
                          : column == 0 ? kTickColumnPx
                          : title == QStringLiteral("サイズ") ? kSizeColumnPx
                                                              : kNameColumnPx;
        list->setColumnWidth(column, width);
        header->setSectionResizeMode(column, QHeaderView::Interactive);
    }
    // The folder column takes the room the window grows by.
    header->setSectionResizeMode(PlanModel::kFolderColumn, QHeaderView::Stretch);
    // Outcomes show once a plan has been carried out.
    const auto* plan = qobject_cast<const PlanModel*>(model);
    for (int column = 0; column < model->columnCount(); ++column)
        list->setColumnHidden(column, plan && column == model->columnCount() - 1);
    if (plan && plan->done()) revealOutcomes();
    connect(list->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { showPictures(); });
}

void frmQuillo::revealOutcomes() {
    QTableView* list = m_c.grdList;
    const int column = list->model()->columnCount() - 1;
    list->setColumnHidden(column, false);
    // The outcomes are what the user looks for now: brought into view once
    // the list has laid out its new column.
    QTimer::singleShot(0, list, [list, column] {
        const QModelIndex at =
            list->model()->index(std::max(0, list->currentIndex().row()), column);
        if (at.isValid()) list->scrollTo(at, QAbstractItemView::EnsureVisible);
    });
}

QString frmQuillo::rowFile(int row) const {
    if (row < 0) return {};
    if (m_shown)
        return row < m_shown->model->rowCount() ? m_shown->model->filePath(row) : QString();
    return row < Files.FileCount() ? Files.entries[size_t(row)].path() : QString();
}

void frmQuillo::openRowFile(bool folder) {
    const QString file = rowFile(m_c.grdList->currentIndex().row());
    if (file.isEmpty()) return;
    const QString target = folder ? parentFolder(file) : file;
    shellOpen(target, this, [this, target](bool opened) {
        if (!opened) m_box.show(target + QStringLiteral("\rを開けませんでした"), Buttons::Ok);
    });
}

void frmQuillo::showPlan(CommandButton button) {
    auto shown = std::make_unique<ShownPlan>();
    shown->button = button;
    if (m_foundDuplicates) {
        shown->duplicates = std::move(*m_foundDuplicates);
        shown->options = m_dedupOptions;
        shown->model = std::make_unique<DuplicatePlanModel>(*shown->duplicates, true);
        m_reviewBar->setAction(shown->duplicates->way == WayOut::DeleteFolder
                                   ? QStringLiteral("移動する")
                                   : QStringLiteral("ごみ箱に移す"));
    } else {
        shown->renames = std::move(*m_foundRenames);
        shown->model = std::make_unique<RenamePlanModel>(*shown->renames);
        m_reviewBar->setAction(QStringLiteral("リネームする"));
    }
    m_foundDuplicates.reset();
    m_foundRenames.reset();
    shown->model->setEntries(&Files.entries);
    shown->use.emplace(Files);
    // Nothing else may start or change what the plan was found with.
    for (QWidget* w : std::initializer_list<QWidget*>{
             m_c.cmdRefer, m_c.cmdSelect, m_c.cmdDelete, m_c.cmdRename, m_c.cmdClear,
             m_c.cmdReferInp, m_c.cmdSelectInp, m_c.cmdMoveInp, m_c.cmdDeleteInp, m_c.chkRefer,
             m_c.chkSelect, m_c.chkMove, m_c.chkDelete, m_c.chkJpegJpg, m_c.cmbExtent, m_c.txtName,
             m_c.txtNumber}) {
        shown->setAside.emplace_back(w, w->isEnabled());
        w->setEnabled(false);
    }
    m_shown = std::move(shown);
    connect(m_shown->model.get(), &PlanModel::planChanged, this, &frmQuillo::updateSummary);
    setListModel(m_shown->model.get());
    messageBlack();
    m_c.lblMsg->setText(QStringLiteral("内容を確かめて下さい（Enterで実行、Escで取り消し）"));
    m_c.lblCount->setText(countCaption(m_shown->model->rowCount()));
    m_reviewBar->show();
    m_picture->show();
    m_cancelPlan->setEnabled(true);
    placeReview();
    updateSummary();
    m_c.grdList->setCurrentIndex(m_shown->model->index(0, 1));
    m_c.grdList->setFocus(Qt::OtherFocusReason);
    showPictures();
}

void frmQuillo::updateSummary() {
    if (!m_shown) return;
    m_reviewBar->setSummary(m_shown->model->summary());
    placeReview();  // a longer summary may take a third line
}

void frmQuillo::showPictures() {
    const int row = m_c.grdList->currentIndex().row();
    m_swapKept->setEnabled(reviewed(m_shown.get()) && m_shown->model->canSwap(row));
    if (!reviewed(m_shown.get()) || row < 0) return;
    const QString beside = m_shown->model->besidePath(row);
    if (beside.isEmpty())
        m_picture->showOne(m_shown->model->filePath(row));
    else
        m_picture->showPair(m_shown->model->filePath(row), beside);
}

void frmQuillo::placeReview() {
    const QRect area(m_c.grdList->pos(), m_gridSize);
    if (!reviewed(m_shown.get())) {
        m_c.grdList->resize(area.size());
        return;
    }
    const int bar = m_reviewBar->heightFor(area.width());
    const int pane = std::max(px(1800), area.height() * 45 / 100);
    const int list = std::max(px(900), area.height() - bar - pane);
    m_c.grdList->resize(area.width(), list);
    m_reviewBar->setGeometry(area.x(), area.y() + list, area.width(), bar);
    m_picture->setGeometry(area.x(), area.y() + list + bar, area.width(),
                           std::max(0, area.height() - list - bar));
}

void frmQuillo::listKey(QKeyEvent* key, bool* handled) {
    *handled = false;
    if (!reviewed(m_shown.get())) return;
    const int row = m_c.grdList->currentIndex().row();
    switch (key->key()) {
        case Qt::Key_Space:
            m_shown->model->toggle(row);
            *handled = true;
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            carryOutPlan();
            *handled = true;
            break;
        default:
            break;
    }
}

void frmQuillo::carryOutPlan() {
    if (!reviewed(m_shown.get()) || m_runner.running()) return;
    ShownPlan& shown = *m_shown;
    shown.stage = ShownPlan::Stage::CarriedOut;
    shown.use.reset();
    shown.model->setLocked();
    m_cancelPlan->setEnabled(false);
    m_reviewBar->hide();
    m_picture->clear();
    m_picture->hide();
    placeReview();
    // The run works on a copy of the plan; the list shows the plan meanwhile
    // and gets the outcomes when the run has ended.
    if (shown.duplicates) {
        runCommand(shown.button, [this, plan = *shown.duplicates, options = shown.options](
                                     Progress& p, MessageBox& b) mutable {
            const CommandOutcome outcome =
                m_context.removeDuplicates(Files, plan, options, DupCount, p, b);
            m_foundDuplicates = std::move(plan);
            return outcome;
        });
    } else {
        runCommand(shown.button, [this, plan = *shown.renames](Progress& p, MessageBox& b) mutable {
            const CommandOutcome outcome = m_context.renameFiles(Files, plan, p, b);
            m_foundRenames = std::move(plan);
            return outcome;
        });
    }
}

void frmQuillo::planCarriedOut(const CommandOutcome& outcome, CommandButton button) {
    ShownPlan& shown = *m_shown;
    if (m_foundDuplicates) shown.duplicates = std::move(*m_foundDuplicates);
    if (m_foundRenames) shown.renames = std::move(*m_foundRenames);
    m_foundDuplicates.reset();
    m_foundRenames.reset();
    // The run empties the table; its files stay on show with the plan's
    // outcomes until 消去 or the next collection.
    shown.entries = std::move(Files.entries);
    Files.entries.clear();
    shown.model->setEntries(&shown.entries);
    shown.model->setDone();
    revealOutcomes();
    shown.stage = ShownPlan::Stage::Done;
    for (auto [widget, enabled] : shown.setAside) widget->setEnabled(enabled);
    shown.setAside.clear();
    m_keepShownOnClear = true;
    applyOutcome(outcome, button, *this, m_box);
    m_keepShownOnClear = false;
}

void frmQuillo::cancelPlan() {
    if (!reviewed(m_shown.get()) || m_runner.running()) return;
    const CommandButton button = m_shown->button;
    dropShownPlan();
    m_c.lblMsg->setText(QString());
    m_c.lblCount->setText(countCaption(Files.FileCount()));
    setEnabled(button, true);
}

void frmQuillo::dropShownPlan() {
    if (!m_shown) return;
    for (auto [widget, enabled] : m_shown->setAside) widget->setEnabled(enabled);
    setListModel(m_model);
    m_cancelPlan->setEnabled(false);
    m_reviewBar->hide();
    m_picture->clear();
    m_picture->hide();
    m_shown.reset();
    placeReview();
}

}  // namespace quillo
