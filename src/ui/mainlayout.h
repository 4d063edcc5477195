#pragma once
// The controls of frmQuillo, created at their layout positions with their
// names, captions, fonts, tool tips, pictures and tab order.

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTimer>
#include <QToolButton>

#include "ui/optioncheckbox.h"
#include "ui/resizeplan.h"

namespace quillo {

// The number box: wider than the 735 twips of the layout so that eight digits show.
inline constexpr int kNumberBoxWidth = 900;

struct MainControls {
    QGroupBox *Frame1 = nullptr, *Frame2 = nullptr, *Frame3 = nullptr, *Frame4 = nullptr,
              *Frame5 = nullptr, *Frame6 = nullptr, *Frame7 = nullptr;
    QToolButton *cmdRefer = nullptr, *cmdSelect = nullptr, *cmdDelete = nullptr,
                *cmdRename = nullptr, *cmdClear = nullptr, *cmdHp = nullptr, *cmdQuit = nullptr;
    QToolButton *cmdReferInp = nullptr, *cmdSelectInp = nullptr, *cmdMoveInp = nullptr,
                *cmdDeleteInp = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr,
           *Label5 = nullptr, *Label6 = nullptr, *Label7 = nullptr;
    QLineEdit *txtRefer = nullptr, *txtSelect = nullptr, *txtMove = nullptr, *txtDelete = nullptr;
    OptionCheckBox *chkRefer = nullptr, *chkSelect = nullptr, *chkMove = nullptr,
                   *chkDelete = nullptr, *chkJpegJpg = nullptr;
    QComboBox* cmbExtent = nullptr;
    QLabel* lblCount = nullptr;
    QLabel* lblMsg = nullptr;
    QLineEdit *Text5 = nullptr, *txtName = nullptr, *Text7 = nullptr, *txtNumber = nullptr;
    QTableView* grdList = nullptr;
    QTimer* timRefresh = nullptr;
    QTimer* timEdit = nullptr;
};

// The window's caption; its client size is in resizeplan.h.
inline const QString kWindowCaption = QStringLiteral("Quillo(簡易版)　ｖｅｒ１．１０");

// Creates every control of the window as a child of window. The grid gets no
// model here.
MainControls buildMainLayout(QWidget* window);

}  // namespace quillo
