#pragma once
// Main window of the console: the whole user interface. Every control is a
// public member named as the handlers and the other subsystems know it; the
// handlers are thin and call the free functions over the global tables.

#include "app/Components.h"
#include "eq/CompressorChart.h"

#include <QMainWindow>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;
class QStackedWidget;
class QTimer;
class QToolButton;
struct EqGraphControls;

// Lines the checksum log (Memo1) keeps: its latest, three per bad reply.
constexpr int ChecksumLogLines = 3000;

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // Start-up steps; FormShow runs once on the first showing and may be
    // called directly (it does nothing the second time).
    void FormCreate();
    void FormShow();
    bool FormShown() const { return shown_; }

    // The layout's size; the window is never larger.
    static constexpr QSize ClientSize{1171, 678};
    // Fits the window into a screen's available area (frame included); the
    // content scrolls where the area is smaller than the layout.
    void FitToScreen(const QRect& available);

    // Window handlers.
    void FormTabBtn3Click(QObject* Sender);
    void RzBmpButton1Click(QObject* Sender);
    void Timer1Timer(QObject* Sender);
    void LinkBtnClick(QObject* Sender);
    void LoadFileBtnClick(QObject* Sender);
    void SaveFileBtnClick(QObject* Sender);
    void DeviceSaveBtnClick(QObject* Sender);
    void BleButtonClick(QObject* Sender);
    void ResetBtnClick(QObject* Sender);
    void RmsResetBtnClick(QObject* Sender);
    void RzSpinEdit2Change(QObject* Sender);
    void PeqImportBtnClick(QObject* Sender);
    void PeqExportBtnClick(QObject* Sender);
    void FitMeasureBtnClick(QObject* Sender);

    // Parameter handlers (forward to the dispatcher's free functions).
    void MusModeBox1Change(QObject* Sender);
    void MusBypassCheck1Click(QObject* Sender);
    void OutRDelayBarChange(QObject* Sender);
    void SysMusNormalVolBarChange(QObject* Sender);
    void OutLPhaseBtnClick(QObject* Sender);
    void DEQALLPASSBtn1Click(QObject* Sender);
    void MusEQAllpassBtnClick(QObject* Sender);
    void SysInputRadio1Click(QObject* Sender);
    void LMH_BYPSSBoxChange(QObject* Sender);
    void MusFreEdit1Click(QObject* Sender);
    void MusFreEdit1Enter(QObject* Sender);
    void MusFreEdit1Exit(QObject* Sender);
    void MusFreEdit1KeyDown(QObject* Sender, int key);
    void MusFreEdit1KeyPress(QObject* Sender, QChar key, bool* discard);

    // ---- Top bar ----
    QWidget* AdvGroupBox19 = nullptr;
    QPushButton* DeviceSaveBtn = nullptr;
    QPushButton* DeviceLoadBtn = nullptr;
    QPushButton* LoadFileBtn = nullptr;
    QPushButton* SaveFileBtn = nullptr;
    QRadioButton* SysInputRadio1 = nullptr;
    QRadioButton* SysInputRadio2 = nullptr;
    QRadioButton* SysInputRadio3 = nullptr;
    QPushButton* SnapshotBtn = nullptr;    // "快照…" (app/SnapshotDialog.cpp)
    QPushButton* CompareFileBtn = nullptr; // "与文件比较…"
    QLabel* LinkLabel = nullptr;
    QComboBox* UnitChoiceBox = nullptr; // the unit in use, shown with two or more
    QPushButton* LinkBtn = nullptr;
    QPushButton* RzBmpButton1 = nullptr; // factory page switch, hidden
    ParamEdit* Example = nullptr;        // hidden filler: "no control" / "no edit"
    QPushButton* ExampleBtn = nullptr;
    // Undo and redo of the parameter changes (app/UndoActions.cpp).
    QAction* UndoAction = nullptr;
    QAction* RedoAction = nullptr;
    QToolButton* UndoBtn = nullptr;
    QToolButton* RedoBtn = nullptr;

    // ---- Left column ----
    QWidget* CurvyPanel3 = nullptr;
    LevelMeter* LeftMeter = nullptr;
    LevelMeter* RightMeter = nullptr;
    QLabel* SysMusNormalVolPane = nullptr;
    QSlider* SysMusNormalVolBar = nullptr; // hidden, disabled
    QLabel* DeviceVersionLabel = nullptr;

    // ---- Right column ----
    QWidget* CurvyPanel4 = nullptr;
    QSlider* AuxOutGainBar = nullptr;
    QLabel* AuxOutGainPane = nullptr;
    QComboBox* LanguageBox = nullptr; // "中文" / "English"

    // ---- Pages ----
    QStackedWidget* MainFuntionSheetPage = nullptr;
    QWidget* AdvTabSheet1 = nullptr; // main page
    QWidget* AdvTabSheet2 = nullptr; // factory page

    // ---- Compressor panel ----
    QWidget* CurvyPanel2 = nullptr;
    QComboBox* RMSBox = nullptr;
    QSlider* MusRmsAttackBar = nullptr;
    QLabel* MusRmsAttackPane = nullptr;
    QSlider* MusRmsReleaseBar = nullptr;
    QLabel* MusRmsReleasePane = nullptr;
    TChart* Chart1 = nullptr;
    QPushButton* RmsResetBtn = nullptr;
    QGroupBox* RMSGropbox = nullptr;
    QSpinBox* RzSpinEdit1 = nullptr; // disabled, -90
    QSpinBox* RzSpinEdit2 = nullptr;
    QSpinBox* RzSpinEdit3 = nullptr;
    QSpinBox* RzSpinEdit4 = nullptr;
    QSpinBox* RzSpinEdit5 = nullptr;
    QSpinBox* RzSpinEdit6 = nullptr;
    QSpinBox* RzSpinEdit7 = nullptr;
    QSpinBox* RzSpinEdit8 = nullptr;
    QSpinBox* RzSpinEdit9 = nullptr; // disabled, 21
    QSpinBox* RzSpinEdit10 = nullptr;

    // ---- Band table ----
    QWidget* CurvyPanel5 = nullptr;
    QWidget* CurvyPanel1 = nullptr;
    QPushButton* FormTabBtn1 = nullptr;
    QPushButton* FormTabBtn2 = nullptr;
    QPushButton* ResetBtn = nullptr;
    QPushButton* MusEQAllpassBtn = nullptr;

    ParamEdit* MusFreEdit1 = nullptr;
    ParamEdit* MusFreEdit2 = nullptr;
    ParamEdit* MusFreEdit3 = nullptr;
    ParamEdit* MusFreEdit4 = nullptr;
    ParamEdit* MusFreEdit5 = nullptr;
    ParamEdit* MusFreEdit6 = nullptr;
    ParamEdit* MusFreEdit7 = nullptr;
    ParamEdit* MusFreEdit8 = nullptr;
    ParamEdit* MusFreEdit9 = nullptr;
    QComboBox* MusModeBox1 = nullptr;
    QComboBox* MusModeBox2 = nullptr;
    QComboBox* MusModeBox3 = nullptr;
    QComboBox* MusModeBox4 = nullptr;
    QComboBox* MusModeBox5 = nullptr;
    QComboBox* MusModeBox6 = nullptr;
    QComboBox* MusModeBox7 = nullptr;
    QComboBox* MusModeBox8 = nullptr;
    QComboBox* MusModeBox9 = nullptr;
    QCheckBox* MusBypassCheck1 = nullptr;
    QCheckBox* MusBypassCheck2 = nullptr;
    QCheckBox* MusBypassCheck3 = nullptr;
    QCheckBox* MusBypassCheck4 = nullptr;
    QCheckBox* MusBypassCheck5 = nullptr;
    QCheckBox* MusBypassCheck6 = nullptr;
    QCheckBox* MusBypassCheck7 = nullptr;
    QCheckBox* MusBypassCheck8 = nullptr;
    QCheckBox* MusBypassCheck9 = nullptr;
    ParamEdit* MusQEdit1 = nullptr;
    ParamEdit* MusQEdit2 = nullptr;
    ParamEdit* MusQEdit3 = nullptr;
    ParamEdit* MusQEdit4 = nullptr;
    ParamEdit* MusQEdit5 = nullptr;
    ParamEdit* MusQEdit6 = nullptr;
    ParamEdit* MusQEdit7 = nullptr;
    ParamEdit* MusQEdit8 = nullptr;
    ParamEdit* MusQEdit9 = nullptr;
    ParamEdit* MusGainEdit1 = nullptr;
    ParamEdit* MusGainEdit2 = nullptr;
    ParamEdit* MusGainEdit3 = nullptr;
    ParamEdit* MusGainEdit4 = nullptr;
    ParamEdit* MusGainEdit5 = nullptr;
    ParamEdit* MusGainEdit6 = nullptr;
    ParamEdit* MusGainEdit7 = nullptr;
    ParamEdit* MusGainEdit8 = nullptr;
    ParamEdit* MusGainEdit9 = nullptr;
    ParamEdit* MusHighPassFre = nullptr;
    QComboBox* MusHighPassBox = nullptr;
    ParamEdit* MusLowPassFre = nullptr;
    QComboBox* MusLowPassBox = nullptr;
    QPushButton* PeqImportBtn = nullptr; // "导入滤波器…", beside the crossover rows of both modules
    QPushButton* PeqExportBtn = nullptr; // "导出滤波器…"
    QToolButton* FitMeasureBtn = nullptr;      // "按测量拟合…", above the graph
    QToolButton* FitOverlayCloseBtn = nullptr; // "隐藏测量曲线", beside it while curves are shown

    // Auxiliary rows: covers the nine band rows while the auxiliary tab is selected.
    QWidget* AuxGrop = nullptr;
    ParamEdit* AUXFreEdit1 = nullptr;
    ParamEdit* AUXFreEdit2 = nullptr;
    QComboBox* AUXModeBox1 = nullptr;
    QComboBox* AUXModeBox2 = nullptr;
    QCheckBox* AuxBypassCheck1 = nullptr;
    QCheckBox* AuxBypassCheck2 = nullptr;
    ParamEdit* AUXQEdit1 = nullptr;
    ParamEdit* AUXQEdit2 = nullptr;
    ParamEdit* AUXGainEdit1 = nullptr;
    ParamEdit* AUXGainEdit2 = nullptr;
    ParamEdit* AuxHighPassFre = nullptr;
    QComboBox* AuxHighPassBox = nullptr;
    ParamEdit* AuxLowPassFre = nullptr;
    QComboBox* AuxLowPassBox = nullptr;

    // "其它参数"
    QGroupBox* AdvGroupBox1 = nullptr;
    QComboBox* SubSteroBox = nullptr;
    QPushButton* SubLPhaseBtn = nullptr;
    QPushButton* SubRPhaseBtn = nullptr;
    QSlider* OutLDelayBar = nullptr;
    QSlider* OutRDelayBar = nullptr;
    QLabel* OutLDelayPane = nullptr;
    QLabel* OutRDelayPane = nullptr;
    QPushButton* OutLPhaseBtn = nullptr;
    QPushButton* OutRPhaseBtn = nullptr;
    QLineEdit* BLUENameEdit = nullptr;
    QPushButton* BLUENameBtn = nullptr;
    QLineEdit* BluePinEdit = nullptr;
    QPushButton* BLUEPinBtn = nullptr;

    // ---- Factory page ----
    QGroupBox* DEQ1Gropx = nullptr;
    QSlider* DEQRmsLevelBar1 = nullptr;
    QLabel* DEQRmsLevelPane1 = nullptr;
    QSlider* DEQMaxLevelBar1 = nullptr;
    QLabel* DEQMaxLevelPane1 = nullptr;
    QPushButton* DEQALLPASSBtn1 = nullptr;
    ParamEdit* DEQGainEdit1 = nullptr;
    ParamEdit* DEQFreEdit1 = nullptr;
    ParamEdit* DEQQEdit1 = nullptr;
    QComboBox* DEQModeBox1 = nullptr;
    QComboBox* DEQTypeBox1 = nullptr; // hidden

    QGroupBox* DEQ2Gropx = nullptr; // disabled, every control hidden
    QSlider* DEQRmsLevelBar2 = nullptr;
    QLabel* DEQRmsLevelPane2 = nullptr;
    QSlider* DEQMaxLevelBar2 = nullptr;
    QLabel* DEQMaxLevelPane2 = nullptr;
    QPushButton* DEQALLPASSBtn2 = nullptr;
    ParamEdit* DEQGainEdit2 = nullptr;
    ParamEdit* DEQFreEdit2 = nullptr;
    ParamEdit* DEQQEdit2 = nullptr;
    QComboBox* DEQModeBox2 = nullptr;
    QComboBox* DEQTypeBox2 = nullptr;

    QGroupBox* DEQ4Grop = nullptr; // "主输出默认EQ"
    ParamEdit* HintFreEdit1 = nullptr;
    ParamEdit* HintFreEdit2 = nullptr;
    ParamEdit* HintFreEdit3 = nullptr;
    ParamEdit* HintFreEdit4 = nullptr;
    QComboBox* HintModeBox1 = nullptr;
    QComboBox* HintModeBox2 = nullptr;
    QComboBox* HintModeBox3 = nullptr;
    QComboBox* HintModeBox4 = nullptr;
    QCheckBox* HintBypassCheck1 = nullptr;
    QCheckBox* HintBypassCheck2 = nullptr;
    QCheckBox* HintBypassCheck3 = nullptr;
    QCheckBox* HintBypassCheck4 = nullptr;
    ParamEdit* HintQEdit1 = nullptr;
    ParamEdit* HintQEdit2 = nullptr;
    ParamEdit* HintQEdit3 = nullptr;
    ParamEdit* HintQEdit4 = nullptr;
    ParamEdit* HintGainEdit1 = nullptr;
    ParamEdit* HintGainEdit2 = nullptr;
    ParamEdit* HintGainEdit3 = nullptr;
    ParamEdit* HintGainEdit4 = nullptr;
    ParamEdit* HintHighPassFre = nullptr;
    QComboBox* HintHighPassBox = nullptr;
    ParamEdit* HintLowPassFre = nullptr;
    QComboBox* HintLowPassBox = nullptr;

    QComboBox* SysIOLevelBox = nullptr;
    QComboBox* InputBox = nullptr; // hidden; the input radios stand for it
    QLineEdit* BlueStrEdit = nullptr;
    QPushButton* BleButton = nullptr;
    QGroupBox* AdvGroupBox2 = nullptr; // "设备数据"
    QPushButton* DeviceResetBtn = nullptr;

    // ---- Bottom: equaliser graph ----
    QWidget* EQAdvPanel = nullptr; // 1166 x 308 at (1, 366)
    QWidget* AdvPanel2 = nullptr;  // 1104 x 270 at (48, 18)
    TImage* Image1 = nullptr;      // 1104 x 270, fills AdvPanel2
    QLabel* EQlabel = nullptr;
    QLabel* Label2 = nullptr;      // hidden spare label handed to the graph
    QLabel* EQPassLabel = nullptr; // "EQ PASS", hidden at start
    QLabel* EQFormLabel = nullptr; // hidden
    TImage* EP1 = nullptr;
    TImage* EP2 = nullptr;
    TImage* EP3 = nullptr;
    TImage* EP4 = nullptr;
    TImage* EP5 = nullptr;
    TImage* EP6 = nullptr;
    TImage* EP7 = nullptr;
    TImage* EP8 = nullptr;
    TImage* EP9 = nullptr;
    TImage* EP10 = nullptr; // EP10..EP15 hidden
    TImage* EP11 = nullptr;
    TImage* EP12 = nullptr;
    TImage* EP13 = nullptr;
    TImage* EP14 = nullptr;
    TImage* EP15 = nullptr;
    TImage* HPF = nullptr;
    TImage* LPF = nullptr;
    QPlainTextEdit* Memo1 = nullptr; // hidden log of reply checksum mismatches

    // ---- Hidden group ----
    QWidget* DynRMSGrop = nullptr;
    QComboBox* RMSmatrixBox = nullptr;
    QComboBox* LMH_BYPSSBox = nullptr;

    QTimer* Timer1 = nullptr; // 10 ms, while a drag is held or a commit or redraw waits

signals:
    // The language changed; the computed texts follow it.
    void LanguageChanged();

protected:
    void showEvent(QShowEvent* event) override;
    // A change of language: the names computed for the controls follow it.
    void changeEvent(QEvent* event) override;
    // Closing the main window ends the program, whatever else is showing.
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildLayout();
    void BuildTopBar();
    void BuildSideColumns();
    void BuildCompressorPanel(QWidget* page);
    void BuildBandTable(QWidget* page);
    void BuildOtherParams(QWidget* page);
    void BuildFactoryPage(QWidget* page);
    void BuildDynamicEqGroups(QWidget* page);
    void BuildGraphPanel();
    // What the graph works on, handed to it once the layout is built.
    EqGraphControls GraphControls();
    void ConnectHandlers();

    bool shown_ = false;
    QString shownLanguage_; // the language the window's texts are in
};

// The single main window; set while it exists.
extern TForm1* Form1;
