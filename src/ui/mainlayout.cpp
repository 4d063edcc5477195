#include "ui/mainlayout.h"

#include <QAbstractItemView>
#include <QHeaderView>
#include <QIcon>
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

struct Builder {
    QWidget* window;
    std::vector<std::pair<int, QWidget*>> tabs;

    template <class W>
    W* place(QWidget* parent, const char* name, int left, int top, int width, int height,
             int tabIndex) {
        W* w = new W(parent);
        w->setObjectName(QLatin1String(name));
        w->setGeometry(twipsRect(left, top, width, height));
        if (tabIndex >= 0) tabs.emplace_back(tabIndex, w);
        return w;
    }

    QGroupBox* frame(const char* name, const QString& title, int left, int top, int width,
                     int height, int tab) {
        auto* box = place<QGroupBox>(window, name, left, top, width, height, tab);
        box->setTitle(title);
        box->setFont(pGothic(9.75));
        return box;
    }

    QToolButton* picture(QWidget* parent, const char* name, const char* icon, QSize iconSize,
                         const QString& tip, int left, int top, int width, int height, int tab) {
        auto* button = place<PictureButton>(parent, name, left, top, width, height, tab);
        button->setIcon(QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(icon))));
        button->setIconSize(iconSize);
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        // Like any button, a click takes the focus, so a box being edited
        // gets its lost-focus check before the click runs.
        button->setFocusPolicy(Qt::StrongFocus);
        button->setToolTip(tip);
        return button;
    }

    QLabel* caption(const char* name, const QString& text, int left, int tab) {
        auto* label = place<QLabel>(window, name, left, 5280, 615, 255, tab);
        label->setText(text);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        return label;
    }

    // A folder frame's three controls.
    void folderRow(QGroupBox* frame, QLineEdit** box, const char* boxName, const QString& text,
                   const QString& boxTip, QToolButton** opener, const char* openerName,
                   const QString& openerTip, OptionCheckBox** check, const char* checkName,
                   const QString& checkText, int checkWidth, const QString& checkTip, int tab) {
        *box = place<QLineEdit>(frame, boxName, 600, 240, 4215, 270, tab);
        (*box)->setReadOnly(true);
        (*box)->setText(text);
        (*box)->setToolTip(boxTip);
        (*box)->setFont(pGothic(9.75));
        *opener = picture(frame, openerName, "folder", QSize(16, 15), openerTip, 120, 240, 375, 270,
                          tab + 1);
        // The frame's title is what a screen reader names the box and its button by.
        (*box)->setAccessibleName(frame->title());
        (*opener)->setAccessibleName(frame->title());
        *check = place<OptionCheckBox>(frame, checkName, 120, 600, checkWidth, 180, tab + 2);
        (*check)->setText(checkText);
        (*check)->setToolTip(checkTip);
        (*check)->setFont(pGothic(9.75));
    }
};

QPalette captionPalette(QPalette palette) {
    // The caption boxes use the menu bar's colour: the button face here.
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    return palette;
}

}  // namespace

MainControls buildMainLayout(QWidget* window) {
    initQuilloResources();
    installFontSubstitutions();
    window->setObjectName(QStringLiteral("frmQuillo"));
    window->setWindowTitle(kWindowCaption);
    window->setWindowIcon(QIcon(QStringLiteral(":/icons/quillo.svg")));
    window->setFont(pGothic(9));
    window->resize(twipsSize(kClientWidth, kClientHeight));

    Builder b{window, {}};
    MainControls c;

    const QString subfolderTip =
        QStringLiteral("サブフォルダも対象とする場合は、チェックして下さい");
    c.Frame1 = b.frame("Frame1", QStringLiteral("参照フォルダの設定"), 120, 0, 4935, 855, 0);
    b.folderRow(c.Frame1, &c.txtRefer, "txtRefer", QStringLiteral("Text1"),
                QStringLiteral("参照フォルダの現在設定値です"), &c.cmdReferInp, "cmdReferInp",
                QStringLiteral("参照フォルダの指定が出来ます"), &c.chkRefer, "chkRefer",
                QStringLiteral("Check1"), 4695, subfolderTip, 1);
    c.Frame2 = b.frame("Frame2", QStringLiteral("抽出フォルダの設定"), 120, 840, 4935, 855, 4);
    b.folderRow(c.Frame2, &c.txtSelect, "txtSelect", QStringLiteral("Text2"),
                QStringLiteral("抽出フォルダの現在設定値です"), &c.cmdSelectInp, "cmdSelectInp",
                QStringLiteral("抽出フォルダの指定が出来ます"), &c.chkSelect, "chkSelect",
                QStringLiteral("Check2"), 4695, subfolderTip, 5);
    c.Frame3 = b.frame("Frame3", QStringLiteral("移動フォルダの設定"), 120, 1680, 4935, 855, 8);
    b.folderRow(c.Frame3, &c.txtMove, "txtMove", QStringLiteral("Text3"),
                QStringLiteral("移動フォルダの現在設定値です"), &c.cmdMoveInp, "cmdMoveInp",
                QStringLiteral("移動フォルダの指定が出来ます"), &c.chkMove, "chkMove",
                QStringLiteral("Check3"), 3975,
                QStringLiteral("採番後データを移動する場合は、チェックして下さい"), 9);
    c.Frame4 = b.frame("Frame4", QStringLiteral("削除フォルダの設定"), 120, 2520, 4935, 855, 12);
    b.folderRow(c.Frame4, &c.txtDelete, "txtDelete", QStringLiteral("Text4"),
                QStringLiteral("削除フォルダの現在設定値です"), &c.cmdDeleteInp, "cmdDeleteInp",
                QStringLiteral("削除フォルダの指定が出来ます"), &c.chkDelete, "chkDelete",
                QStringLiteral("Check4"), 3975,
                QStringLiteral("重複データを削除せずに移動する場合は、チェックして下さい"), 13);

    c.Frame5 = b.frame("Frame5", QStringLiteral("拡張子の設定"), 120, 3360, 4935, 615, 16);
    c.cmbExtent = b.place<QComboBox>(c.Frame5, "cmbExtent", 120, 240, 1095, 300, 17);
    c.cmbExtent->setFont(pGothic(9));
    c.cmbExtent->setEditable(true);
    // The window decides what enters the list; no completion, no insertion.
    c.cmbExtent->setInsertPolicy(QComboBox::NoInsert);
    c.cmbExtent->setCompleter(nullptr);
    c.cmbExtent->setDuplicatesEnabled(true);
    c.cmbExtent->setEditText(QStringLiteral("Combo1"));
    c.cmbExtent->setToolTip(
        QStringLiteral("拡張子の設定を行います、追加や削除（Ｓｈｉｆｔ＋Ｅｎｔｅｒ）も出来ます"));
    c.lblCount = b.place<QLabel>(c.Frame5, "lblCount", 1320, 240, 3375, 255, 24);
    c.lblCount->setText(QStringLiteral("Label1"));
    c.lblCount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    c.lblCount->setFont(pGothic(9.75));

    c.Frame6 = b.frame("Frame6", QStringLiteral("採番時の設定"), 120, 3960, 4935, 615, 18);
    c.Text5 = b.place<QLineEdit>(c.Frame6, "Text5", 120, 240, 495, 270, 19);
    c.txtName = b.place<QLineEdit>(c.Frame6, "txtName", 720, 240, 735, 270, 20);
    c.Text7 = b.place<QLineEdit>(c.Frame6, "Text7", 1920, 240, 375, 270, 21);
    // 735 twips cannot show eight digits of the gothic font inside a Qt frame;
    // the gap before chkJpegJpg gives the box the width it needs.
    c.txtNumber = b.place<QLineEdit>(c.Frame6, "txtNumber", 2400, 240, kNumberBoxWidth, 270, 22);
    for (auto [box, text] :
         {std::pair{c.Text5, QStringLiteral("名前")}, std::pair{c.Text7, QStringLiteral("№")}}) {
        box->setText(text);
        box->setAlignment(Qt::AlignCenter);
        box->setReadOnly(true);
        box->setFont(pGothic(9.75));
        box->setPalette(captionPalette(box->palette()));
    }
    c.txtName->setText(QStringLiteral("Text6"));
    c.txtName->setFont(gothic(9));
    c.txtName->setToolTip(QStringLiteral("採番する際の№部分以外の名前の設定です"));
    c.txtNumber->setMaxLength(8);
    c.txtNumber->setText(QStringLiteral("Text8"));
    c.txtNumber->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    c.txtNumber->setFont(gothic(9));
    c.txtNumber->setToolTip(QStringLiteral("採番する際の№の初期値と長さの設定が出来ます"));
    c.chkJpegJpg = b.place<OptionCheckBox>(c.Frame6, "chkJpegJpg", 3600, 240, 1215, 255, 23);
    c.chkJpegJpg->setText(QStringLiteral("Jpeg→Jpg"));
    c.chkJpegJpg->setFont(pGothic(9.75));
    c.chkJpegJpg->setToolTip(
        QStringLiteral("ＪＰＥＧをＪＰＧに拡張子変換を行う場合は、チェックして下さい"));

    const QSize big(32, 32);
    c.cmdRefer =
        b.picture(window, "cmdRefer", "refer", big,
                  QStringLiteral("重複・採番処理される事の無い、参照データの抽出を行います"), 120,
                  4680, 615, 550, 25);
    c.cmdSelect = b.picture(window, "cmdSelect", "select", big,
                            QStringLiteral("重複・採番の対象となるデータを抽出します"), 840, 4680,
                            615, 550, 26);
    c.cmdDelete =
        b.picture(window, "cmdDelete", "delete", big,
                  QStringLiteral("重複データを削除（移動）します"), 1560, 4680, 615, 550, 27);
    c.cmdRename = b.picture(
        window, "cmdRename", "rename", big,
        QStringLiteral(
            "抽出フォルダから抽出したデータを採番し、移動にチェックがされている場合は移動もします"),
        2280, 4680, 615, 550, 28);
    c.cmdClear = b.picture(window, "cmdClear", "clear", big,
                           QStringLiteral("抽出データを消去します"), 3000, 4680, 615, 550, 29);
    c.cmdQuit = b.picture(
        window, "cmdQuit", "quit", big,
        QStringLiteral("Quilloをご利用有難うございます、これからもぽろみ作品を宜しくお願いします"),
        4440, 4680, 615, 550, 30);

    c.grdList = b.place<QTableView>(window, "grdList", 5160, 105, 6975, 5955, 31);
    c.grdList->setFont(pGothic(9));
    c.grdList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    c.grdList->setSelectionMode(QAbstractItemView::SingleSelection);
    c.grdList->setWordWrap(false);
    // Cells are cut at their edge, as the grid draws them, not shortened with "…".
    c.grdList->setTextElideMode(Qt::ElideNone);
    c.grdList->setCornerButtonEnabled(false);
    c.grdList->verticalHeader()->hide();
    c.grdList->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    c.grdList->verticalHeader()->setMinimumSectionSize(px(240));
    c.grdList->verticalHeader()->setDefaultSectionSize(px(240));
    c.grdList->horizontalHeader()->setHighlightSections(false);

    c.Frame7 = b.frame("Frame7", QStringLiteral("メッセージ"), 120, 5520, 4935, 495, 32);
    c.lblMsg = b.place<QLabel>(c.Frame7, "lblMsg", 120, 195, 4695, 255, 33);
    c.lblMsg->setText(QStringLiteral("Label2"));
    c.lblMsg->setFont(pGothic(9));
    c.lblMsg->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    c.Label1 = b.caption("Label1", QStringLiteral("参照"), 120, 34);
    c.Label2 = b.caption("Label2", QStringLiteral("抽出"), 840, 35);
    c.Label3 = b.caption("Label3", QStringLiteral("削除"), 1560, 36);
    c.Label4 = b.caption("Label4", QStringLiteral("採番"), 2280, 37);
    c.Label5 = b.caption("Label5", QStringLiteral("消去"), 3000, 38);
    c.Label6 = b.caption("Label6", QStringLiteral("終了"), 4440, 39);
    c.cmdHp = b.picture(window, "cmdHp", "hp", big,
                        QStringLiteral("ぽろみのＨＰを立ち上げます、最新版や製品版がＤＬできます"),
                        3720, 4680, 615, 550, 40);
    c.Label7 = b.caption("Label7", QStringLiteral("ＨＰ"), 3720, 41);
    // The captions are labels of their own; a screen reader names a button only
    // by what the button itself says.
    for (auto [button, label] : {std::pair{c.cmdRefer, c.Label1}, std::pair{c.cmdSelect, c.Label2},
                                 std::pair{c.cmdDelete, c.Label3}, std::pair{c.cmdRename, c.Label4},
                                 std::pair{c.cmdClear, c.Label5}, std::pair{c.cmdQuit, c.Label6},
                                 std::pair{c.cmdHp, c.Label7}})
        button->setAccessibleName(label->text());
    c.cmbExtent->setAccessibleName(c.Frame5->title());
    c.cmbExtent->view()->setAccessibleName(c.Frame5->title());
    c.txtName->setAccessibleName(c.Text5->text());
    c.txtNumber->setAccessibleName(c.Text7->text());
    c.grdList->setAccessibleName(QStringLiteral("一覧"));

    c.timRefresh = new QTimer(window);
    c.timRefresh->setObjectName(QStringLiteral("timRefresh"));
    c.timRefresh->setSingleShot(true);
    c.timEdit = new QTimer(window);
    c.timEdit->setObjectName(QStringLiteral("timEdit"));

    // The tab order follows the tab indices; frames and labels take no focus.
    std::stable_sort(b.tabs.begin(), b.tabs.end(),
                     [](const auto& x, const auto& y) { return x.first < y.first; });
    QWidget* previous = nullptr;
    for (const auto& [index, w] : b.tabs) {
        if (w->focusPolicy() == Qt::NoFocus) continue;
        if (previous) QWidget::setTabOrder(previous, w);
        previous = w;
    }
    return c;
}

}  // namespace quillo
