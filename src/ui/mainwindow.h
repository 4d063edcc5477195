#pragma once
// frmQuillo: the main window. It owns the program state and the controls that
// hold the user's settings; its handlers read controls, call one logic
// function and write the labels.

#include <QPointer>
#include <QString>
#include <QWidget>
#include <optional>

#include "app/settings.h"
#include "collect/extensionlist.h"
#include "collect/filetable.h"
#include "commands/commandcontext.h"
#include "core/messagebox.h"
#include "platform/clock.h"
#include "platform/filesystem.h"
#include "ui/commandrunner.h"
#include "ui/commandview.h"
#include "ui/inputguard.h"
#include "ui/listfill.h"
#include "ui/mainlayout.h"
#include "ui/review/shownplan.h"

class QAction;

namespace quillo {

class FileListModel;
class PicturePane;
class ReviewBar;
class frmFolder;

class frmQuillo : public QWidget, public CommandView, public SettingsTarget {
    Q_OBJECT
  public:
    // settingsPath: the settings file read at start-up and written by SaveSettings.
    frmQuillo(const QString& settingsPath, FileSystem& fs, MessageBox& box, Clock& clock,
              QWidget* parent = nullptr);
    ~frmQuillo() override;

    // Program state.
    std::optional<SettingsFolder> callBack() const { return CallBack; }
    qint16 digitCount() const { return DigitCount; }
    qint32 blinkColor() const { return m_blink.color(); }
    double blinkDue() const { return m_blink.due(); }
    qint32 dupCount() const { return DupCount; }
    qint32 fillCursor() const { return m_fill.cursor(); }  // 0 when no fill is under way
    // The collected files; tests fill it as a collection would.
    FileTable& files() { return Files; }

    bool commandRunning() const { return m_runner.running(); }
    const MainControls& controls() const { return m_c; }
    FileListModel& listModel() { return *m_model; }
    // The plan on show (under review, carried out, or done), or none.
    const ShownPlan* shownPlan() const { return m_shown.get(); }
    ReviewBar& reviewBar() { return *m_reviewBar; }
    PicturePane& picturePane() { return *m_picture; }
    // The folder chooser, created on first use.
    frmFolder* chooser();

    // CommandView: what the long commands show, and how they end.
    void BlinkStep() override;
    void count(const QString& caption) override;
    void message(const QString& caption) override;
    void messageBlack() override;
    void number(const QString& text) override;
    void setEnabled(CommandButton button, bool enabled) override;
    using QWidget::setEnabled;
    void ShowBusy() override;
    void SaveSettings() override;
    void cmdClear_Click() override;

    // SettingsTarget: start-up writes the settings into the controls.
    void setFolderText(SettingsFolder folder, const QString& text) override;
    bool pointChooser(const QString& folder) override;
    QString chooserFolder() override;
    void setName(const QString& text) override;
    void setNumber(const QString& text, qint16 digitCount) override;
    void appendExtent(const QString& item) override;
    void setExtentText(const QString& text) override;
    void setCheck(SettingsCheck check, CheckValue value) override;
    void setTop(int twips) override;
    void setLeft(int twips) override;

    // The controls' settings as SaveSettings writes them.
    SettingsValues settingsValues() const;

  signals:
    // A command's outcome has been applied.
    void commandFinished();

  public slots:
    void timEdit_Timer();
    void timRefresh_Timer();
    void cmdRefer_Click();
    void cmdSelect_Click();
    void cmdDelete_Click();
    void cmdRename_Click();
    void cmdHp_Click();
    void cmdQuit_Click();
    void cmdReferInp_Click();
    void cmdSelectInp_Click();
    void cmdMoveInp_Click();
    void cmdDeleteInp_Click();
    // Ctrl+Z and the list's menu: takes back the last removal or numbering run.
    void undoLastRun();
    // The review: carries out the ticked rows of the plan on show, or leaves
    // everything as it was.
    void carryOutPlan();
    void cancelPlan();

  protected:
    void closeEvent(QCloseEvent* event) override;    // Form_Unload
    void resizeEvent(QResizeEvent* event) override;  // Form_Resize
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The window's outer height in twips, as the shutdown rule reads it.
    virtual int outerHeightTwips() const;

  private:
    void Form_Load();
    void Form_Unload();
    void Form_Resize();
    void placeFromSettings();
    void connectHandlers();

    void chkRefer_Click();
    void chkSelect_Click();
    void chkMove_Click();
    void chkDelete_Click();
    void cmbExtent_Change();
    void cmbExtent_Click();
    void cmbExtent_KeyEnter(Qt::KeyboardModifiers modifiers);
    void cmbExtent_LostFocus();
    void txtName_Change();
    void txtNumber_LostFocus();
    void folderChosen(const QString& folder);
    void openChooser(SettingsFolder folder, const QString& boxText);
    // The reference or extraction command.
    void collect(bool reference);
    // Starts one command with its button disabled; commandEnded applies its outcome.
    void runCommand(CommandButton button, CommandRunner::Work command);
    void commandEnded(const CommandOutcome& outcome);

    // The review of a plan a search found.
    void showPlan(CommandButton button);
    void planCarriedOut(const CommandOutcome& outcome, CommandButton button);
    void dropShownPlan();
    void placeReview();
    // Shows the outcome column of a carried-out plan and scrolls it into view.
    void revealOutcomes();
    void showPictures();
    void updateSummary();
    void listKey(QKeyEvent* key, bool* handled);
    void setListModel(QAbstractItemModel* model);
    // The list's row under the cursor: its file, and for a duplicate its kept file.
    QString rowFile(int row) const;
    void openRowFile(bool folder);
    void makeListActions();

    ExtentList extentList() const;
    void applyExtentList(const ExtentList& list);

    // While a command runs: input to the controls is dropped and the table is
    // the command's.
    struct RunningCommand {
        RunningCommand(QWidget* window, std::function<void()> onEscape, FileTable& table,
                       CommandButton b)
            : guard(window, std::move(onEscape)), use(table), button(b) {}
        InputGuard guard;
        FileTable::Use use;
        CommandButton button;
    };
    std::optional<RunningCommand> m_command;
    bool m_closeAfterCommand = false;  // the close button was pressed during a command

    QString m_settingsPath;
    FileSystem& m_fs;
    MessageBox& m_box;
    Clock& m_clock;
    MainControls m_c;
    FileListModel* m_model = nullptr;
    FileTable Files;
    qint32 DupCount = 0;
    Blink m_blink;
    ListFill m_fill;
    CommandRunner m_runner;
    CommandContext m_context;
    // What a search found, from the worker until the window shows it.
    std::optional<DuplicatePlan> m_foundDuplicates;
    std::optional<RenamePlan> m_foundRenames;
    DedupOptions m_dedupOptions;  // as the last 削除 read them
    std::unique_ptr<ShownPlan> m_shown;
    bool m_keepShownOnClear = false;  // the run's own clear leaves its plan on show
    QSize m_gridSize;                 // the list's room, shared with the review while it lasts
    ReviewBar* m_reviewBar = nullptr;
    PicturePane* m_picture = nullptr;
    QAction* m_openFile = nullptr;
    QAction* m_openFolder = nullptr;
    QAction* m_swapKept = nullptr;
    QAction* m_cancelPlan = nullptr;  // Escape, while a plan is under review
    QPointer<frmFolder> m_folder;
    std::optional<int> m_loadedTop, m_loadedLeft;  // twips, from the settings file
    bool m_loaded = false;

    // The folder box the chooser fills; none until an opener was pressed.
    std::optional<SettingsFolder> CallBack;
    qint16 DigitCount = 0;

    // Whether the window manager's frame is known: the outer height rule
    // waits for it.
    enum class Frame { Unknown, Awaited, Known };
    Frame m_frame = Frame::Unknown;
    void frameKnown();
    std::optional<QPoint> m_placedAt;  // the frame's top-left from the settings file
};

}  // namespace quillo
