// The handlers of frmQuillo's controls: each reads the controls, calls one
// logic function and writes back what it returned.

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QSignalBlocker>

#include "collect/collectcommand.h"
#include "ui/folderchooser.h"
#include "ui/inputguard.h"
#include "ui/mainwindow.h"

namespace quillo {

void frmQuillo::connectHandlers() {
    const MainControls& c = m_c;
    connect(c.timEdit, &QTimer::timeout, this, &frmQuillo::timEdit_Timer);
    connect(c.timRefresh, &QTimer::timeout, this, &frmQuillo::timRefresh_Timer);
    connect(c.cmdRefer, &QToolButton::clicked, this, &frmQuillo::cmdRefer_Click);
    connect(c.cmdSelect, &QToolButton::clicked, this, &frmQuillo::cmdSelect_Click);
    connect(c.cmdDelete, &QToolButton::clicked, this, &frmQuillo::cmdDelete_Click);
    connect(c.cmdRename, &QToolButton::clicked, this, &frmQuillo::cmdRename_Click);
    connect(c.cmdClear, &QToolButton::clicked, this, [this] { cmdClear_Click(); });
    connect(c.cmdHp, &QToolButton::clicked, this, &frmQuillo::cmdHp_Click);
    connect(c.cmdQuit, &QToolButton::clicked, this, &frmQuillo::cmdQuit_Click);
    connect(c.cmdReferInp, &QToolButton::clicked, this, &frmQuillo::cmdReferInp_Click);
    connect(c.cmdSelectInp, &QToolButton::clicked, this, &frmQuillo::cmdSelectInp_Click);
    connect(c.cmdMoveInp, &QToolButton::clicked, this, &frmQuillo::cmdMoveInp_Click);
    connect(c.cmdDeleteInp, &QToolButton::clicked, this, &frmQuillo::cmdDeleteInp_Click);
    // A value change, by a click or by the program, runs the box's handler.
    connect(c.chkRefer, &QCheckBox::stateChanged, this, &frmQuillo::chkRefer_Click);
    connect(c.chkSelect, &QCheckBox::stateChanged, this, &frmQuillo::chkSelect_Click);
    connect(c.chkMove, &QCheckBox::stateChanged, this, &frmQuillo::chkMove_Click);
    connect(c.chkDelete, &QCheckBox::stateChanged, this, &frmQuillo::chkDelete_Click);
    connect(c.cmbExtent, &QComboBox::editTextChanged, this, &frmQuillo::cmbExtent_Change);
    connect(c.cmbExtent, &QComboBox::activated, this, &frmQuillo::cmbExtent_Click);
    connect(c.txtName, &QLineEdit::textChanged, this, &frmQuillo::txtName_Change);
    makeListActions();
    c.cmbExtent->installEventFilter(this);
    c.cmbExtent->lineEdit()->installEventFilter(this);
    c.txtNumber->installEventFilter(this);
}

bool frmQuillo::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_c.grdList && event->type() == QEvent::KeyPress) {
        bool handled = false;
        listKey(static_cast<QKeyEvent*>(event), &handled);
        if (handled) return true;
    }
    const bool extent = watched == m_c.cmbExtent || watched == m_c.cmbExtent->lineEdit();
    if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Opening the drop-down list or switching to another window does not
        // leave the box.
        const bool left = reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason;
        QWidget* now = QApplication::focusWidget();
        if (left && extent && now != m_c.cmbExtent && now != m_c.cmbExtent->lineEdit())
            cmbExtent_LostFocus();
        if (left && watched == m_c.txtNumber) txtNumber_LostFocus();
    } else if (extent && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            cmbExtent_KeyEnter(key->modifiers());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// Option check boxes: the caption says what the value means.

namespace {
void caption(OptionCheckBox* box, const char16_t* unticked, const char16_t* ticked) {
    box->setText(QString::fromUtf16(box->value() == CheckValue::Off ? unticked : ticked));
}
}  // namespace

void frmQuillo::chkRefer_Click() {
    caption(m_c.chkRefer, u"指定フォルダのみ参照します", u"サブフォルダ以下も参照対象とします");
}

void frmQuillo::chkSelect_Click() {
    caption(m_c.chkSelect, u"指定フォルダのみ抽出します", u"サブフォルダ以下も抽出対象とします");
}

void frmQuillo::chkMove_Click() {
    caption(m_c.chkMove, u"採番後ファイルを移動しません",
            u"採番後ファイルを指定フォルダに移動します");
}

void frmQuillo::chkDelete_Click() {
    caption(m_c.chkDelete, u"重複ファイルをごみ箱に移します",
            u"重複ファイルを指定フォルダに移動します");
}

// Extension list.

ExtentList frmQuillo::extentList() const {
    ExtentList list;
    for (int i = 0; i < m_c.cmbExtent->count(); ++i) list.items << m_c.cmbExtent->itemText(i);
    list.text = m_c.cmbExtent->currentText();
    return list;
}

void frmQuillo::applyExtentList(const ExtentList& list) {
    const QString before = m_c.cmbExtent->currentText();
    {
        // Rebuilding the list passes through texts the user never sees.
        const QSignalBlocker quiet(m_c.cmbExtent);
        m_c.cmbExtent->clear();
        m_c.cmbExtent->addItems(list.items);
        m_c.cmbExtent->setEditText(list.text);
    }
    if (m_c.cmbExtent->currentText() != before) cmbExtent_Change();
}

void frmQuillo::cmbExtent_Change() {
    cmdClear_Click();
}

void frmQuillo::cmbExtent_Click() {
    m_c.timRefresh->start(10);
}

void frmQuillo::timRefresh_Timer() {
    // The refresh clears the table: it waits for a running command to end.
    if (Files.inUse()) {
        m_c.timRefresh->start(10);
        return;
    }
    cmdClear_Click();
    ExtentList list = extentList();
    refreshAfterPick(list);
    applyExtentList(list);
    m_c.timRefresh->stop();
}

void frmQuillo::cmbExtent_KeyEnter(Qt::KeyboardModifiers modifiers) {
    ExtentList list = extentList();
    if (modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) {
        removeCurrent(list);
        applyExtentList(list);
        repaint();
        m_c.cmdSelect->repaint();
        m_c.cmdClear->repaint();
        m_c.cmdQuit->repaint();
        return;
    }
    validateAndAdd(list);
    applyExtentList(list);
}

void frmQuillo::cmbExtent_LostFocus() {
    ExtentList list = extentList();
    validateAndAdd(list);
    applyExtentList(list);
}

// Folder boxes and the chooser.

void frmQuillo::openChooser(SettingsFolder folder, const QString& boxText) {
    frmFolder* f = chooser();
    CallBack = folder;
    f->openAt(frameGeometry().topLeft(), boxText);
}

void frmQuillo::cmdReferInp_Click() {
    openChooser(SettingsFolder::Refer, m_c.txtRefer->text());
}

void frmQuillo::cmdSelectInp_Click() {
    openChooser(SettingsFolder::Select, m_c.txtSelect->text());
}

void frmQuillo::cmdMoveInp_Click() {
    openChooser(SettingsFolder::Move, m_c.txtMove->text());
}

void frmQuillo::cmdDeleteInp_Click() {
    openChooser(SettingsFolder::Delete, m_c.txtDelete->text());
}

void frmQuillo::folderChosen(const QString& folder) {
    if (CallBack) setFolderText(*CallBack, folder);
}

// The four commands.

void frmQuillo::cmdRefer_Click() {
    collect(true);
}

void frmQuillo::cmdSelect_Click() {
    collect(false);
}

void frmQuillo::collect(bool reference) {
    // A new collection ends the showing of the last run's plan.
    if (m_shown && m_shown->stage == ShownPlan::Stage::Done) dropShownPlan();
    CollectRequest request;
    request.reference = reference;
    request.referFolder = m_c.txtRefer->text();
    request.selectFolder = m_c.txtSelect->text();
    request.subfolderSwitch = (reference ? m_c.chkRefer : m_c.chkSelect)->value();
    request.extension = m_c.cmbExtent->currentText();
    runCommand(reference ? CommandButton::Refer : CommandButton::Select,
               [this, request](Progress& p, MessageBox& b) {
                   return runCollect(request, Files, p, b, m_fs);
               });
}

void frmQuillo::cmdDelete_Click() {
    DedupOptions options;
    options.chkDelete = m_c.chkDelete->value();
    options.deleteFolder = m_c.txtDelete->text();
    if (m_shown && m_shown->stage == ShownPlan::Stage::Done) dropShownPlan();
    m_dedupOptions = options;
    runCommand(CommandButton::Delete, [this, options](Progress& p, MessageBox& b) {
        DuplicateSearch search = m_context.findDuplicates(Files, options, DupCount, p, b);
        if (search.outcome.end == CommandEnd::Completed && !search.plan.empty())
            m_foundDuplicates = std::move(search.plan);
        return search.outcome;
    });
}

void frmQuillo::undoLastRun() {
    // A plan under review refers to the files as they are: no undo meanwhile.
    if (m_shown && m_shown->stage != ShownPlan::Stage::Done) return;
    runCommand(CommandButton::Undo,
               [this](Progress& p, MessageBox& b) { return m_context.undoLastRun(p, b); });
}

void frmQuillo::runCommand(CommandButton button, CommandRunner::Work command) {
    if (m_runner.running()) return;
    // The button about to be disabled must not hand the focus to the next
    // command in the tab order (one more Space would start it).
    if (qobject_cast<QToolButton*>(focusWidget())) m_c.grdList->setFocus(Qt::OtherFocusReason);

    m_command.emplace(
        this, [this] { m_runner.askStop(); }, Files, button);
    setEnabled(button, false);
    m_runner.start(std::move(command));
}

void frmQuillo::commandEnded(const CommandOutcome& outcome) {
    const CommandButton button = m_command->button;
    m_command.reset();
    if (m_shown && m_shown->stage == ShownPlan::Stage::CarriedOut) {
        planCarriedOut(outcome, button);
    } else if (m_foundDuplicates || m_foundRenames) {
        showPlan(button);
    } else {
        applyOutcome(outcome, button, *this, m_box);
    }
    if (m_closeAfterCommand) {
        m_closeAfterCommand = false;
        close();
    }
    emit commandFinished();
}

}  // namespace quillo
