#include "ui/mainwindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScreen>

#include "core/format.h"
#include "platform/shell.h"
#include "ui/filelistmodel.h"
#include "ui/firstexpose.h"
#include "ui/folderchooser.h"
#include "ui/helppage.h"
#include "ui/resizeplan.h"
#include "ui/twips.h"

namespace quillo {

frmQuillo::frmQuillo(const QString& settingsPath, FileSystem& fs, MessageBox& box, Clock& clock,
                     QWidget* parent)
    : QWidget(parent),
      m_settingsPath(settingsPath),
      m_fs(fs),
      m_box(box),
      m_clock(clock),
      m_c(buildMainLayout(this)),
      m_model(new FileListModel(this)),
      m_blink(*m_c.lblMsg, clock),
      m_fill(Files, *m_model, *m_c.timEdit, m_blink, fs),
      m_runner(*this, box),
      m_context(CommandContext::forUser(fs, clock)) {
    connect(&m_runner, &CommandRunner::finished, this, &frmQuillo::commandEnded);
    connectHandlers();
    Form_Load();
}

frmQuillo::~frmQuillo() {
    delete m_folder.data();
}

frmFolder* frmQuillo::chooser() {
    if (!m_folder) {
        m_folder = new frmFolder(m_fs, m_box, this);
        connect(m_folder, &frmFolder::folderChosen, this, &frmQuillo::folderChosen);
    }
    return m_folder;
}

void frmQuillo::Form_Load() {
    // 1. The grid: header row only, six columns with their headers and widths.
    setListModel(m_model);

    // 2. Ticking the boxes runs their click handlers, which set the captions.
    for (OptionCheckBox* box :
         {m_c.chkJpegJpg, m_c.chkRefer, m_c.chkSelect, m_c.chkMove, m_c.chkDelete})
        box->setValue(CheckValue::On);

    // 3. The settings file into the controls, or the defaults.
    readSettingsAtStartUp(m_settingsPath, *this);
    placeFromSettings();
    m_loaded = true;
}

void frmQuillo::placeFromSettings() {
    if (!m_loadedTop && !m_loadedLeft) return;
    const QPoint topLeft(px(m_loadedLeft.value_or(0)), px(m_loadedTop.value_or(0)));
    // A position saved on a larger screen could put the window out of reach:
    // it is used only when a strip of the window's top edge lies on a screen.
    const QRect topEdge(topLeft, QSize(width(), px(360)));
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect seen = topEdge.intersected(screen->availableGeometry());
        if (seen.width() >= px(600) && seen.height() >= px(150)) {
            move(topLeft);
            m_placedAt = topLeft;
            return;
        }
    }
}

int frmQuillo::outerHeightTwips() const {
    return tw(frameGeometry().height());
}

void frmQuillo::Form_Unload() {
    if (outerHeightTwips() > 3000) SaveSettings();
    cmdClear_Click();
    if (m_folder) {
        m_folder->close();
        delete m_folder.data();
    }
}

void frmQuillo::closeEvent(QCloseEvent* event) {
    // Closing leaves a plan under review undone, as Escape does.
    cancelPlan();
    if (m_runner.running()) {
        // The command is stopped first, at a point where no file operation is
        // half done; the window closes when it has ended.
        event->ignore();
        if (m_runner.askStop()) m_closeAfterCommand = true;
        return;
    }
    Form_Unload();
    event->accept();
}

void frmQuillo::cmdQuit_Click() {
    Form_Unload();
    // Closing runs Form_Unload once more: the settings are written twice, the
    // second time with the same bytes.
    close();
}

void frmQuillo::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmQuillo::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_frame != Frame::Unknown) return;
    m_frame = Frame::Awaited;
    whenFirstExposed(this, [this] { frameKnown(); });
}

void frmQuillo::frameKnown() {
    m_frame = Frame::Known;
    // The settings hold the frame's place. A size change before the frame was
    // known makes X window managers put the client there instead (20 pixels
    // lower on every run under openbox); should anything still do that, the
    // frame goes back to its place now.
    if (m_placedAt && pos() != *m_placedAt) move(*m_placedAt);
    Form_Resize();
}

void frmQuillo::Form_Resize() {
    if (isMinimized()) return;
    const QRect outer = frameGeometry();
    const QSize frameExtra = outer.size() - size();
    // A frame of no height is one the window manager has not told of yet (it
    // may come after the first expose) or a display without one: either way
    // there is no title bar to make room for, and the height is not raised.
    const bool framed = m_frame == Frame::Known && frameExtra.height() > 0;
    const ResizePlan plan =
        planResize(tw(outer.width()), tw(outer.height()),
                   framed ? std::optional(tw(frameExtra.height())) : std::nullopt);
    const QSize wanted(std::max(outer.width(), px(plan.outerWidth)),
                       std::max(outer.height(), px(plan.outerHeight)));
    if (wanted != outer.size()) resize(wanted - frameExtra);
    m_gridSize = QSize(px(plan.gridWidth), px(plan.gridHeight));
    placeReview();
}

void frmQuillo::cmdHp_Click() {
    const QString page = findHelpPage(QCoreApplication::applicationDirPath());
    shellOpen(page, this, [this, page](bool opened) {
        if (!opened) m_box.show(cannotOpenHelpMessage(page), Buttons::Ok);
    });
}

}  // namespace quillo
