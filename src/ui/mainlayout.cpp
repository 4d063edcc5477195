#include "ui/mainlayout.h"

#include <QAbstractItemView>
#include <QFile>
#include <QHeaderView>
#include <QIcon>
#include <QStringView>
#include <algorithm>
#include <utility>
#include <vector>

#include "ui/fonts.h"
#include "ui/picturebutton.h"
#include "ui/twips.h"

// The icons are compiled into this library; a static library drops them
// unless they are registered explicitly.
static void initQuilloResources() {
    Q_INIT_RESOURCE(resources);
}

namespace quillo {

namespace {

// Every frame stands in the left column, at one width.
constexpr int kFrameLeft = 120;
constexpr int kFrameWidth = 4935;

struct FrameSpec {
    QGroupBox* MainControls::*frame;
    const char* name;
    QStringView title;
    int top;
    int height;
    int tab;
};

// A folder frame with its three controls: the box showing the folder, the
// button choosing it and the option below. They take the tab indices after
// the frame's.
struct FolderRowSpec {
    QGroupBox* MainControls::*frame;
    const char* frameName;
    QStringView title;
    int top;
    int tab;
    QLineEdit* MainControls::*box;
    const char* boxName;
    QStringView boxText;
    QStringView boxTip;
    QToolButton* MainControls::*opener;
    const char* openerName;
    QStringView openerTip;
    OptionCheckBox* MainControls::*check;
    const char* checkName;
    QStringView checkText;
    int checkWidth;
    QStringView checkTip;
};

// A box of the numbering frame: a read-only caption, or an entry that a
// screen reader names by the caption before it.
enum class BoxKind { Caption, Entry };

struct BoxSpec {
    QLineEdit* MainControls::*box;
    const char* name;
    BoxKind kind;
    int left;
    int width;
    int tab;
    QStringView text;
    QStringView tip = {};
    Qt::Alignment alignment = {};  // none: the line edit's own
    int maxLength = 0;             // 0: the line edit's own
};

// A picture button of the row under the frames, and the caption under it.
struct CommandSpec {
    QToolButton* MainControls::*button;
    const char* name;
    const char* icon;
    QStringView tip;
    int left;
    int tab;
    QLabel* MainControls::*caption;
    const char* captionName;
    QStringView captionText;
    int captionTab;
};

constexpr QStringView kSubfolderTip = u"サブフォルダも対象とする場合は、チェックして下さい";

constexpr FolderRowSpec kFolderRows[] = {
    {.frame = &MainControls::Frame1,
     .frameName = "Frame1",
     .title = u"参照フォルダの設定",
     .top = 0,
     .tab = 0,
     .box = &MainControls::txtRefer,
     .boxName = "txtRefer",
     .boxText = u"Text1",
     .boxTip = u"参照フォルダの現在設定値です",
     .opener = &MainControls::cmdReferInp,
     .openerName = "cmdReferInp",
     .openerTip = u"参照フォルダの指定が出来ます",
     .check = &MainControls::chkRefer,
     .checkName = "chkRefer",
     .checkText = u"Check1",
     .checkWidth = 4695,
     .checkTip = kSubfolderTip},
    {.frame = &MainControls::Frame2,
     .frameName = "Frame2",
     .title = u"抽出フォルダの設定",
     .top = 840,
     .tab = 4,
     .box = &MainControls::txtSelect,
     .boxName = "txtSelect",
     .boxText = u"Text2",
     .boxTip = u"抽出フォルダの現在設定値です",
     .opener = &MainControls::cmdSelectInp,
     .openerName = "cmdSelectInp",
     .openerTip = u"抽出フォルダの指定が出来ます",
     .check = &MainControls::chkSelect,
     .checkName = "chkSelect",
     .checkText = u"Check2",
     .checkWidth = 4695,
     .checkTip = kSubfolderTip},
    {.frame = &MainControls::Frame3,
     .frameName = "Frame3",
     .title = u"移動フォルダの設定",
     .top = 1680,
     .tab = 8,
     .box = &MainControls::txtMove,
     .boxName = "txtMove",
     .boxText = u"Text3",
     .boxTip = u"移動フォルダの現在設定値です",
     .opener = &MainControls::cmdMoveInp,
     .openerName = "cmdMoveInp",
     .openerTip = u"移動フォルダの指定が出来ます",
     .check = &MainControls::chkMove,
     .checkName = "chkMove",
     .checkText = u"Check3",
     .checkWidth = 3975,
     .checkTip = u"採番後データを移動する場合は、チェックして下さい"},
    {.frame = &MainControls::Frame4,
     .frameName = "Frame4",
     .title = u"削除フォルダの設定",
     .top = 2520,
     .tab = 12,
     .box = &MainControls::txtDelete,
     .boxName = "txtDelete",
     .boxText = u"Text4",
     .boxTip = u"削除フォルダの現在設定値です",
     .opener = &MainControls::cmdDeleteInp,
     .openerName = "cmdDeleteInp",
     .openerTip = u"削除フォルダの指定が出来ます",
     .check = &MainControls::chkDelete,
     .checkName = "chkDelete",
     .checkText = u"Check4",
     .checkWidth = 3975,
     .checkTip = u"重複データを削除せずに移動する場合は、チェックして下さい"
                 u"（チェックしない場合はごみ箱に移します）"},
};

constexpr FrameSpec kExtensionFrame{.frame = &MainControls::Frame5,
                                    .name = "Frame5",
                                    .title = u"拡張子の設定",
                                    .top = 3360,
                                    .height = 615,
                                    .tab = 16};

constexpr FrameSpec kNumberingFrame{.frame = &MainControls::Frame6,
                                    .name = "Frame6",
                                    .title = u"採番時の設定",
                                    .top = 3960,
                                    .height = 615,
                                    .tab = 18};

constexpr FrameSpec kMessageFrame{.frame = &MainControls::Frame7,
                                  .name = "Frame7",
                                  .title = u"メッセージ",
                                  .top = 5520,
                                  .height = 495,
                                  .tab = 32};

constexpr BoxSpec kNumberingBoxes[] = {
    {.box = &MainControls::Text5,
     .name = "Text5",
     .kind = BoxKind::Caption,
     .left = 120,
     .width = 495,
     .tab = 19,
     .text = u"名前"},
    {.box = &MainControls::txtName,
     .name = "txtName",
     .kind = BoxKind::Entry,
     .left = 720,
     .width = 735,
     .tab = 20,
     .text = u"Text6",
     .tip = u"採番する際の№部分以外の名前の設定です"},
    {.box = &MainControls::Text7,
     .name = "Text7",
     .kind = BoxKind::Caption,
     .left = 1920,
     .width = 375,
     .tab = 21,
     .text = u"№"},
    // 735 twips cannot show eight digits of the gothic font inside a Qt frame;
    // the gap before chkJpegJpg gives the box the width it needs.
    {.box = &MainControls::txtNumber,
     .name = "txtNumber",
     .kind = BoxKind::Entry,
     .left = 2400,
     .width = kNumberBoxWidth,
     .tab = 22,
     .text = u"Text8",
     .tip = u"採番する際の№の初期値と長さの設定が出来ます",
     .alignment = Qt::AlignRight | Qt::AlignVCenter,
     .maxLength = 8},
};

constexpr CommandSpec kCommands[] = {
    {.button = &MainControls::cmdRefer,
     .name = "cmdRefer",
     .icon = "refer",
     .tip = u"重複・採番処理される事の無い、参照データの抽出を行います",
     .left = 120,
     .tab = 25,
     .caption = &MainControls::Label1,
     .captionName = "Label1",
     .captionText = u"参照",
     .captionTab = 34},
    {.button = &MainControls::cmdSelect,
     .name = "cmdSelect",
     .icon = "select",
     .tip = u"重複・採番の対象となるデータを抽出します",
     .left = 840,
     .tab = 26,
     .caption = &MainControls::Label2,
     .captionName = "Label2",
     .captionText = u"抽出",
     .captionTab = 35},
    {.button = &MainControls::cmdDelete,
     .name = "cmdDelete",
     .icon = "delete",
     .tip = u"重複データを削除（移動）します",
     .left = 1560,
     .tab = 27,
     .caption = &MainControls::Label3,
     .captionName = "Label3",
     .captionText = u"削除",
     .captionTab = 36},
    {.button = &MainControls::cmdRename,
     .name = "cmdRename",
     .icon = "rename",
     .tip = u"抽出フォルダから抽出したデータを採番し、移動にチェックがされている場合は移動もします",
     .left = 2280,
     .tab = 28,
     .caption = &MainControls::Label4,
     .captionName = "Label4",
     .captionText = u"採番",
     .captionTab = 37},
    {.button = &MainControls::cmdClear,
     .name = "cmdClear",
     .icon = "clear",
     .tip = u"抽出データを消去します",
     .left = 3000,
     .tab = 29,
     .caption = &MainControls::Label5,
     .captionName = "Label5",
     .captionText = u"消去",
     .captionTab = 38},
    {.button = &MainControls::cmdQuit,
     .name = "cmdQuit",
     .icon = "quit",
     .tip = u"Quilloをご利用有難うございます、これからもぽろみ作品を宜しくお願いします",
     .left = 4440,
     .tab = 30,
     .caption = &MainControls::Label6,
     .captionName = "Label6",
     .captionText = u"終了",
     .captionTab = 39},
};

// Between the clear and quit buttons, but last in the tab order. It is made
// after the list, so that the focus chain also has it behind the list's scroll
// bars and headers.
constexpr CommandSpec kHomePage = {.button = &MainControls::cmdHp,
                                   .name = "cmdHp",
                                   .icon = "hp",
                                   .tip = u"ヘルプのページを開きます",
                                   .left = 3720,
                                   .tab = 40,
                                   .caption = &MainControls::Label7,
                                   .captionName = "Label7",
                                   .captionText = u"ＨＰ",
                                   .captionTab = 41};

QPalette captionPalette(QPalette palette) {
    // The caption boxes use the menu bar's colour: the button face here.
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    return palette;
}

// An icon of the resources: its SVG where the build has Qt Svg, its PNG
// rendering where it has not (Windows).
QIcon resourceIcon(const char* name) {
    const QString svg = QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name));
    if (QFile::exists(svg)) return QIcon(svg);
    return QIcon(QStringLiteral(":/icons/%1.png").arg(QLatin1String(name)));
}

void setUpWindow(QWidget* window) {
    window->setObjectName(QStringLiteral("frmQuillo"));
    window->setWindowTitle(kWindowCaption);
    window->setWindowIcon(resourceIcon("quillo"));
    window->setFont(pGothic(9));
    window->resize(twipsSize(kClientWidth, kClientHeight));
}

struct Builder {
    QWidget* window;
    MainControls c = {};
    std::vector<std::pair<int, QWidget*>> tabs = {};

    template <class W>
    W* place(QWidget* parent, const char* name, int left, int top, int width, int height,
             int tabIndex) {
        W* w = new W(parent);
        w->setObjectName(QLatin1String(name));
        w->setGeometry(twipsRect(left, top, width, height));
        if (tabIndex >= 0) tabs.emplace_back(tabIndex, w);
        return w;
    }

    QGroupBox* frame(const FrameSpec& s) {
        auto* box =
            place<QGroupBox>(window, s.name, kFrameLeft, s.top, kFrameWidth, s.height, s.tab);
        box->setTitle(s.title.toString());
        box->setFont(pGothic(9.75));
        c.*s.frame = box;
        return box;
    }

    QToolButton* picture(QWidget* parent, const char* name, const char* icon, QSize iconSize,
                         QStringView tip, int left, int top, int width, int height, int tab) {
        auto* button = place<PictureButton>(parent, name, left, top, width, height, tab);
        button->setIcon(resourceIcon(icon));
        button->setIconSize(iconSize);
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        // Like any button, a click takes the focus, so a box being edited
        // gets its lost-focus check before the click runs.
        button->setFocusPolicy(Qt::StrongFocus);
        button->setToolTip(tip.toString());
        return button;
    }

    void folderRow(const FolderRowSpec& s) {
        QGroupBox* frame = this->frame({.frame = s.frame,
                                        .name = s.frameName,
                                        .title = s.title,
                                        .top = s.top,
                                        .height = 855,
                                        .tab = s.tab});
        auto* box = place<QLineEdit>(frame, s.boxName, 600, 240, 4215, 270, s.tab + 1);
        box->setReadOnly(true);
        box->setText(s.boxText.toString());
        box->setToolTip(s.boxTip.toString());
        box->setFont(pGothic(9.75));
        QToolButton* opener = picture(frame, s.openerName, "folder", QSize(16, 15), s.openerTip,
                                      120, 240, 375, 270, s.tab + 2);
        // The frame's title is what a screen reader names the box and its button by.
        box->setAccessibleName(frame->title());
        opener->setAccessibleName(frame->title());
        auto* check =
            place<OptionCheckBox>(frame, s.checkName, 120, 600, s.checkWidth, 180, s.tab + 3);
        check->setText(s.checkText.toString());
        check->setToolTip(s.checkTip.toString());
        check->setFont(pGothic(9.75));
        c.*s.box = box;
        c.*s.opener = opener;
        c.*s.check = check;
    }

    void extensionFrame() {
        QGroupBox* frame = this->frame(kExtensionFrame);
        auto* combo = place<QComboBox>(frame, "cmbExtent", 120, 240, 1095, 300, 17);
        combo->setFont(pGothic(9));
        combo->setEditable(true);
        // The window decides what enters the list; no completion, no insertion.
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setCompleter(nullptr);
        combo->setDuplicatesEnabled(true);
        combo->setEditText(QStringLiteral("Combo1"));
        combo->setToolTip(QStringLiteral(
            "拡張子の設定を行います、追加や削除（Ｓｈｉｆｔ＋Ｅｎｔｅｒ）も出来ます"));
        combo->setAccessibleName(frame->title());
        combo->view()->setAccessibleName(frame->title());
        auto* count = place<QLabel>(frame, "lblCount", 1320, 240, 3375, 255, 24);
        count->setText(QStringLiteral("Label1"));
        count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        count->setFont(pGothic(9.75));
        c.cmbExtent = combo;
        c.lblCount = count;
    }

    void numberingFrame() {
        QGroupBox* frame = this->frame(kNumberingFrame);
        QString caption;
        for (const BoxSpec& s : kNumberingBoxes) {
            auto* box = place<QLineEdit>(frame, s.name, s.left, 240, s.width, 270, s.tab);
            box->setText(s.text.toString());
            if (s.alignment) box->setAlignment(s.alignment);
            if (s.maxLength > 0) box->setMaxLength(s.maxLength);
            if (s.kind == BoxKind::Caption) {
                box->setAlignment(Qt::AlignCenter);
                box->setReadOnly(true);
                box->setFont(pGothic(9.75));
                box->setPalette(captionPalette(box->palette()));
                caption = box->text();
            } else {
                box->setFont(gothic(9));
                box->setToolTip(s.tip.toString());
                box->setAccessibleName(caption);
            }
            c.*s.box = box;
        }
        auto* jpeg = place<OptionCheckBox>(frame, "chkJpegJpg", 3600, 240, 1215, 255, 23);
        jpeg->setText(QStringLiteral("Jpeg→Jpg"));
        jpeg->setFont(pGothic(9.75));
        jpeg->setToolTip(
            QStringLiteral("ＪＰＥＧをＪＰＧに拡張子変換を行う場合は、チェックして下さい"));
        c.chkJpegJpg = jpeg;
    }

    void command(const CommandSpec& s) {
        c.*s.button =
            picture(window, s.name, s.icon, QSize(32, 32), s.tip, s.left, 4680, 615, 550, s.tab);
    }

    void caption(const CommandSpec& s) {
        auto* label = place<QLabel>(window, s.captionName, s.left, 5280, 615, 255, s.captionTab);
        label->setText(s.captionText.toString());
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        // The captions are labels of their own; a screen reader names a button
        // only by what the button itself says.
        (c.*s.button)->setAccessibleName(label->text());
        c.*s.caption = label;
    }

    void grid() {
        auto* grid = place<QTableView>(window, "grdList", 5160, 105, 6975, 5955, 31);
        grid->setFont(pGothic(9));
        grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
        grid->setSelectionMode(QAbstractItemView::SingleSelection);
        grid->setWordWrap(false);
        // Cells are cut at their edge, as the grid draws them, not shortened with "…".
        grid->setTextElideMode(Qt::ElideNone);
        grid->setCornerButtonEnabled(false);
        grid->verticalHeader()->hide();
        grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        grid->verticalHeader()->setMinimumSectionSize(px(240));
        grid->verticalHeader()->setDefaultSectionSize(px(240));
        grid->horizontalHeader()->setHighlightSections(false);
        grid->setAccessibleName(QStringLiteral("一覧"));
        c.grdList = grid;
    }

    void messageFrame() {
        QGroupBox* frame = this->frame(kMessageFrame);
        auto* message = place<QLabel>(frame, "lblMsg", 120, 195, 4695, 255, 33);
        message->setText(QStringLiteral("Label2"));
        message->setFont(pGothic(9));
        message->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        c.lblMsg = message;
    }

    QTimer* timer(const char* name) {
        auto* timer = new QTimer(window);
        timer->setObjectName(QLatin1String(name));
        return timer;
    }

    // The tab order follows the tab indices; frames and labels take no focus.
    void applyTabOrder() {
        std::stable_sort(tabs.begin(), tabs.end(),
                         [](const auto& x, const auto& y) { return x.first < y.first; });
        QWidget* previous = nullptr;
        for (const auto& [index, w] : tabs) {
            if (w->focusPolicy() == Qt::NoFocus) continue;
            if (previous) QWidget::setTabOrder(previous, w);
            previous = w;
        }
    }
};

}  // namespace

MainControls buildMainLayout(QWidget* window) {
    initQuilloResources();
    installFontSubstitutions();
    setUpWindow(window);

    Builder b{window};
    for (const FolderRowSpec& row : kFolderRows) b.folderRow(row);
    b.extensionFrame();
    b.numberingFrame();
    for (const CommandSpec& command : kCommands) b.command(command);
    b.grid();
    b.messageFrame();
    for (const CommandSpec& command : kCommands) b.caption(command);
    b.command(kHomePage);
    b.caption(kHomePage);
    b.c.timRefresh = b.timer("timRefresh");
    b.c.timRefresh->setSingleShot(true);
    b.c.timEdit = b.timer("timEdit");
    b.applyTabOrder();
    return b.c;
}

}  // namespace quillo
