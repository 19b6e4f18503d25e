#pragma once

#include <QList>

class Gauge;
class NeedleGauge;
class PieGauge;
class QAction;
class QActionGroup;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QTableWidget;
class QToolBar;
class QWidget;
class RoundIndicator;
class SelfTestPanel;
class RadioTestPanel;

// The main window's controls, each named as its objectName.
struct MainFormControls
{
    // Menu
    QMenu *IPort = nullptr;
    QMenu *inom = nullptr;
    QAction *otherPortSeparator = nullptr;
    QAction *mOtherPort = nullptr; // asks for a device path
    QAction *mClosePort = nullptr;
    QMenu *ITelv = nullptr;
    QAction *IReset = nullptr;
    QAction *N2 = nullptr;
    QAction *ICall1 = nullptr;
    QAction *ICall2 = nullptr;
    QMenu *ITest = nullptr;
    QAction *N14 = nullptr;
    QAction *ITest1 = nullptr;
    QAction *ITest2 = nullptr;
    QAction *ITest3 = nullptr;
    QMenu *IDB = nullptr;
    QAction *N11 = nullptr;
    QAction *N231 = nullptr;
    QAction *IStatistics = nullptr;
    QMenu *N5 = nullptr;
    QAction *N12 = nullptr;
    QAction *iBlockNum = nullptr;
    QAction *iDatabase = nullptr;
    QAction *N6 = nullptr;
    QAction *N8 = nullptr;
    QAction *N9 = nullptr;
    QAction *N31 = nullptr;
    QAction *NT2 = nullptr;
    QAction *NT3 = nullptr;
    QMenu *N4 = nullptr;
    QAction *N3 = nullptr;
    QAction *N10 = nullptr;

    // Toolbar
    QToolBar *ToolBar1 = nullptr;
    QAction *ToolButton1 = nullptr; // radio test 1
    QAction *ToolButton2 = nullptr; // radio test 2
    QAction *ToolButton3 = nullptr; // radio test 3
    QAction *ToolButton5 = nullptr; // separator
    QAction *ToolButton6 = nullptr; // "Вызов 1"
    QAction *ToolButton7 = nullptr; // "Вызов 2"
    QAction *ToolButton9 = nullptr; // separator
    QAction *ToolButton8 = nullptr; // "Сброс"
    QAction *ToolButton4 = nullptr; // separator
    QAction *ToolButton10 = nullptr; // self-test results
    QAction *ToolButton11 = nullptr; // radio test results
    QAction *ToolButton12 = nullptr; // separator
    QAction *ToolButton13 = nullptr; // help
    // The 13 entries above in their order on the toolbar.
    QList<QAction *> toolButtons;

    // The items of the system's ports in "Выбор порта", one of them checked.
    QActionGroup *portGroup = nullptr;

    // Station panel
    QFrame *Panel1 = nullptr;
    QLabel *Label7 = nullptr;
    NeedleGauge *Gauge1 = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QCheckBox *CheckBox1 = nullptr;
    QLabel *Label17 = nullptr;
    QLineEdit *Edit5 = nullptr;
    QLabel *Label18 = nullptr;
    QLineEdit *Edit6 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label2 = nullptr;
    RoundIndicator *Shape1 = nullptr;
    QLabel *Label4 = nullptr;
    RoundIndicator *Shape2 = nullptr;
    QLabel *Label5 = nullptr;
    RoundIndicator *Shape3 = nullptr;

    // Messages panel
    QFrame *Panel2 = nullptr;
    QLabel *Label6 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QTableWidget *StringGrid1 = nullptr;

    // Measurements panel
    QFrame *Panel3 = nullptr;
    QLabel *Label8 = nullptr;
    QLabel *Label9 = nullptr;
    QLineEdit *ELevd = nullptr;
    QLineEdit *ELevm = nullptr;
    QLineEdit *ELevg = nullptr;
    QLabel *Label13 = nullptr;
    QLineEdit *Edit3 = nullptr; // МВ attenuation
    QLineEdit *Edit2 = nullptr; // ГМВ attenuation
    QLineEdit *Edit4 = nullptr; // МВ verdict
    QLineEdit *Edit7 = nullptr; // ГМВ verdict
    QPushButton *BitBtn2 = nullptr;

    // Results panel
    QFrame *Panel6 = nullptr;
    QLabel *Label25 = nullptr;
    QLabel *LLIU = nullptr;
    QLineEdit *ELIU = nullptr;
    PieGauge *Gauge4 = nullptr;
    QLabel *Label27 = nullptr;
    QPushButton *BitBtn5 = nullptr;
    QLabel *LBadSch_MW = nullptr;
    QLabel *LBadUM_MW = nullptr;
    QLabel *LBadUM_GMW = nullptr;

    // Self-test and radio test panels, sharing the place of the results panel.
    SelfTestPanel *Panel4 = nullptr;
    RadioTestPanel *Panel5 = nullptr;
};

namespace MainFormLayout {

constexpr int ClientWidth = 683;
constexpr int ClientHeight = 408;

// Builds the menu into the menu bar.
void buildMenu(QMenuBar *menuBar, MainFormControls &c);

// Builds the toolbar at the top of the client area.
void buildToolbar(QWidget *client, MainFormControls &c);

// Builds the toolbar and the panels inside the client area.
void buildClientArea(QWidget *client, MainFormControls &c);

} // namespace MainFormLayout
