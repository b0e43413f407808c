#include "app/MainWindow.h"
#include "app/Dialogs.h"

#include "app/BluetoothButtons.h"
#include "app/ControlTable.h"
#include "app/KeyboardAccess.h"
#include "app/Language.h"
#include "app/LinkDisplay.h"
#include "app/Retranslate.h"
#include "app/SnapshotDialog.h"
#include "app/UndoActions.h"
#include "app/WheelRouting.h"
#include "app/WindowState.h"
#include "eq/CompressorChart.h"
#include "eq/EqDrag.h"
#include "eq/EqGraph.h"
#include "eq/FitMeasurement.h"
#include "eq/FitOverlay.h"
#include "eq/PeqImport.h"
#include "link/LinkApi.h"
#include "params/Binding.h"
#include "params/ControlBindings.h"
#include "params/ControlProps.h"
#include "params/DispatchState.h"
#include "params/Dispatcher.h"
#include "params/ParamImage.h"
#include "presets/DeviceMemory.h"
#include "presets/PresetFiles.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include <algorithm>

TForm1* Form1 = nullptr;

TForm1::TForm1(QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint) {
    Form1 = this;
    SetDialogOwner(this);
    setObjectName(QStringLiteral("Form1"));
    // Before the first text: a change of language shows every text again.
    TraceTranslatedTexts();
    shownLanguage_ = CurrentLanguage();
    // Every test and every run starts from the program-start state.
    ResetParamModel();
    ResetControlBindings();
    ResetDispatchState();
    ResetWindowState();
    ResetEqState();
    ResetChartState();

    QFont f(QStringLiteral("WenQuanYi Micro Hei"));
    f.setPointSize(9);
    setFont(f);

    BuildLayout();
    HandDownControls(*this);
    // Never larger than the layout; smaller where the screen is (FitToScreen).
    setMaximumSize(ClientSize);
    setMinimumSize(320, 240);
    resize(ClientSize);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect avail = screen->availableGeometry();
        move(avail.center() - QPoint(width() / 2, height() / 2));
    }

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(10);
    Timer1->setTimerType(Qt::PreciseTimer);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(Timer1); });
    // The tick runs only while it has work, so an idle console sleeps. Drags,
    // the dispatcher's writes and the unit's replies all leave their marks
    // before the loop waits again: looking there misses none of them.
    if (auto* loop = QAbstractEventDispatcher::instance())
        connect(loop, &QAbstractEventDispatcher::aboutToBlock, this, [this] {
            if (shown_ && !Timer1->isActive() && EqTickHasWork()) Timer1->start();
        });

    ConnectHandlers();
    InstallWheelRouting(this);
    InstallUndoActions(this);
    InstallKeyboardAccess(this);
    FormCreate();
}

TForm1::~TForm1() {
    Timer1->stop();
    // The tables outlive the window; leave no reference to its controls behind.
    ResetControlBindings();
    ClearControlBindings();
    for (auto& c : Window.EqHandles)
        c = nullptr;
    Dispatch.CurrentEdit = nullptr;
    Dispatch.LastGoodText.clear();
    // The graph's event filter still sees the children being torn down.
    DetachEqGraph();
    DetachCompressorChart();
    if (Form1 == this) {
        Form1 = nullptr;
        TakeBackControls();
    }
}

void TForm1::FormCreate() {
    // Qt paints every widget double-buffered already (AdvPanel2 included).
    TImage* handles[17] = {EP1, EP2, EP3,  EP4,  EP5,  EP6,  EP7,  EP8, EP9,
                           HPF, LPF, EP12, EP13, EP14, EP15, EP10, EP11};
    for (int pos = 0; pos < 17; ++pos) {
        Window.EqHandles[pos] = handles[pos];
        SetTag(handles[pos], pos);
    }
    AttachEqGraph(GraphControls());
    AttachCompressorChart({Chart1,
                           RMSBox,
                           {RzSpinEdit1, RzSpinEdit3, RzSpinEdit5, RzSpinEdit7, RzSpinEdit9},
                           {RzSpinEdit2, RzSpinEdit4, RzSpinEdit6, RzSpinEdit8, RzSpinEdit10}});
    AttachFitOverlay(FitOverlayCloseBtn);
    SetupCompressorChart();
    setWindowTitle(Window.MainCaption);
}

EqGraphControls TForm1::GraphControls() {
    EqGraphControls c;
    c.Owner = this;
    c.EQAdvPanel = EQAdvPanel;
    c.AdvPanel2 = AdvPanel2;
    c.Image1 = Image1;
    c.EQlabel = EQlabel;
    c.EQPassLabel = EQPassLabel;
    c.Label2 = Label2;
    TImage* bands[9] = {EP1, EP2, EP3, EP4, EP5, EP6, EP7, EP8, EP9};
    std::copy(std::begin(bands), std::end(bands), std::begin(c.Bands));
    c.HPF = HPF;
    c.LPF = LPF;
    c.MusCrossover = {MusHighPassBox, MusLowPassBox, MusHighPassFre, MusLowPassFre};
    c.AuxCrossover = {AuxHighPassBox, AuxLowPassBox, AuxHighPassFre, AuxLowPassFre};
    c.Example = Example;
    return c;
}

void TForm1::FormShow() {
    if (shown_) return;
    shown_ = true;
    MapParamControls(*this);
    ResetEqBands(AllModules);
    Window.CurrentModule = 1;
    ResetCompressorCurve();
    Timer1->start();
    FormTabBtn3Click(FormTabBtn1);
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_) return;
    // A headless platform has no desktop to fit: the window keeps its size there.
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        if (const QScreen* s = screen()) FitToScreen(s->availableGeometry());
    FormShow();
}

void TForm1::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // Translators are also installed again without a change of language.
    if (event->type() != QEvent::LanguageChange || !shown_ ||
        shownLanguage_ == CurrentLanguage())
        return;
    shownLanguage_ = CurrentLanguage();
    // The screen shown again from the images (nothing is sent): version, caption, lists.
    RefreshScreen();
    NameBoundControls();
    ShowWheelTarget(this);
    ShowStatusBoxAgain();
    emit LanguageChanged();
}

void TForm1::FitToScreen(const QRect& available) {
    // The window manager's frame is known once it has framed the window; until
    // then a title bar and thin borders are assumed.
    QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    if (frame.isNull()) frame = QMargins(4, 32, 4, 4);
    const QSize room(available.width() - frame.left() - frame.right(),
                     available.height() - frame.top() - frame.bottom());
    resize(ClientSize.boundedTo(room).expandedTo(minimumSize()));
    const QPoint topLeft(available.x() + std::max(0, (room.width() - width()) / 2) + frame.left(),
                         available.y() + std::max(0, (room.height() - height()) / 2) + frame.top());
    move(topLeft - QPoint(frame.left(), frame.top()));
}

void TForm1::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
    if (!event->isAccepted()) return;
    // The status box or a shown link window would otherwise keep the program
    // (and the poll of the unit) running with no main window.
    StopLink();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible()) w->hide();
    QCoreApplication::quit();
}

void TForm1::FormTabBtn3Click(QObject* Sender) {
    const int address = SelectTab(Sender);
    if (address == 0) return; // not one of the two tab buttons
    Window.CurrentModule = address / 256;
    const bool aux = Window.CurrentModule == 2;
    AuxGrop->setVisible(aux);
    MusEQAllpassBtn->setVisible(!aux);
    RefreshScreen();
    if (auto* b = qobject_cast<QPushButton*>(Sender)) EQFormLabel->setText(b->text());
    CurvePoint(ChartFromImage);
}

void TForm1::RzBmpButton1Click(QObject*) {
    if (MainFuntionSheetPage->currentWidget() == AdvTabSheet2) {
        FormTabBtn3Click(FormTabBtn1);
        MainFuntionSheetPage->setCurrentWidget(AdvTabSheet1);
        RzBmpButton1->setText(tr("工厂隐藏"));
    } else {
        // The factory page's rows belong to module 2, so it shows with module 2 on the graph.
        FormTabBtn3Click(FormTabBtn2);
        MainFuntionSheetPage->setCurrentWidget(AdvTabSheet2);
        RzBmpButton1->setText(tr("主页"));
    }
    RefreshScreen();
}

void TForm1::Timer1Timer(QObject*) {
    EqCommitDrag();
    EqRedrawCheck();
    if (!EqTickHasWork() && Timer1->isActive()) Timer1->stop();
}

void TForm1::LinkBtnClick(QObject*) {
    MainLinkBtnClick();
}
void TForm1::LoadFileBtnClick(QObject*) {
    LoadPreset();
}
void TForm1::SaveFileBtnClick(QObject*) {
    SavePreset();
}
void TForm1::DeviceSaveBtnClick(QObject* Sender) {
    ::DeviceSaveBtnClick(Sender);
}
void TForm1::BleButtonClick(QObject* Sender) {
    ::BleButtonClick(Sender);
}
void TForm1::ResetBtnClick(QObject* Sender) {
    ::ResetBtnClick(Sender);
}
void TForm1::RmsResetBtnClick(QObject* Sender) {
    ::RmsResetBtnClick(Sender);
}
void TForm1::RzSpinEdit2Change(QObject* Sender) {
    ::RzSpinEdit2Change(Sender);
}

void TForm1::PeqImportBtnClick(QObject* Sender) {
    ::PeqImportBtnClick(Sender);
}
void TForm1::PeqExportBtnClick(QObject* Sender) {
    ::PeqExportBtnClick(Sender);
}
void TForm1::FitMeasureBtnClick(QObject* Sender) {
    ::FitMeasurementBtnClick(Sender);
}

void TForm1::MusModeBox1Change(QObject* Sender) {
    ::MusModeBox1Change(Sender);
}
void TForm1::MusBypassCheck1Click(QObject* Sender) {
    ::MusBypassCheck1Click(Sender);
}
void TForm1::OutRDelayBarChange(QObject* Sender) {
    ::OutRDelayBarChange(Sender);
}
void TForm1::SysMusNormalVolBarChange(QObject* Sender) {
    ::SysMusNormalVolBarChange(Sender);
}
void TForm1::OutLPhaseBtnClick(QObject* Sender) {
    ::OutLPhaseBtnClick(Sender);
}
void TForm1::DEQALLPASSBtn1Click(QObject* Sender) {
    ::DEQALLPASSBtn1Click(Sender);
}
void TForm1::MusEQAllpassBtnClick(QObject* Sender) {
    ::MusEQAllpassBtnClick(Sender);
}
void TForm1::SysInputRadio1Click(QObject* Sender) {
    ::SysInputRadio1Click(Sender);
}
void TForm1::LMH_BYPSSBoxChange(QObject* Sender) {
    ::LMH_BYPSSBoxChange(Sender);
}
void TForm1::MusFreEdit1Click(QObject* Sender) {
    ::MusFreEdit1Click(Sender);
}
void TForm1::MusFreEdit1Enter(QObject* Sender) {
    ::MusFreEdit1Enter(Sender);
}
void TForm1::MusFreEdit1Exit(QObject* Sender) {
    ::MusFreEdit1Exit(Sender);
}
void TForm1::MusFreEdit1KeyDown(QObject* Sender, int key) {
    ::MusFreEdit1KeyDown(Sender, key);
}
void TForm1::MusFreEdit1KeyPress(QObject* Sender, QChar key, bool* discard) {
    ::MusFreEdit1KeyPress(Sender, key, discard);
}

void TForm1::ConnectHandlers() {
    // Parameter edits: every edit with a kind.
    for (ParamEdit* e : findChildren<ParamEdit*>()) {
        if (e == Example || Hint(e).isEmpty()) continue;
        connect(e, &ParamEdit::clicked, this, [this, e] { MusFreEdit1Click(e); });
        connect(e, &ParamEdit::entered, this, [this, e] { MusFreEdit1Enter(e); });
        connect(e, &ParamEdit::exited, this, [this, e] { MusFreEdit1Exit(e); });
        connect(e, &ParamEdit::keyDown, this, [this, e](int key) { MusFreEdit1KeyDown(e, key); });
        connect(e, &ParamEdit::keyPressed, this,
                [this, e](QChar ch, bool* discard) { MusFreEdit1KeyPress(e, ch, discard); });
    }

    // "Change" of a combo box is a choice by the user only.
    for (QComboBox* c :
         {MusModeBox1,    MusModeBox2,  MusModeBox3,  MusModeBox4,    MusModeBox5,
          MusModeBox6,    MusModeBox7,  MusModeBox8,  MusModeBox9,    MusHighPassBox,
          MusLowPassBox,  AUXModeBox1,  AUXModeBox2,  AuxHighPassBox, AuxLowPassBox,
          HintModeBox1,   HintModeBox2, HintModeBox3, HintModeBox4,   HintHighPassBox,
          HintLowPassBox, DEQModeBox1,  DEQModeBox2})
        connect(c, &QComboBox::activated, this, [this, c](int) { MusModeBox1Change(c); });
    for (QComboBox* c : {RMSBox, LMH_BYPSSBox, SubSteroBox, SysIOLevelBox, InputBox})
        connect(c, &QComboBox::activated, this, [this, c](int) { LMH_BYPSSBoxChange(c); });

    for (QCheckBox* c : findChildren<QCheckBox*>())
        connect(c, &QCheckBox::clicked, this, [this, c](bool) { MusBypassCheck1Click(c); });

    // Track bars report programmatic moves too; the screen refresh relies on it.
    for (QSlider* s :
         {MusRmsAttackBar, MusRmsReleaseBar, OutLDelayBar, OutRDelayBar, DEQRmsLevelBar1,
          DEQRmsLevelBar2, DEQMaxLevelBar1, DEQMaxLevelBar2, AuxOutGainBar})
        connect(s, &QSlider::valueChanged, this, [this, s](int) { OutRDelayBarChange(s); });
    connect(SysMusNormalVolBar, &QSlider::valueChanged, this,
            [this](int) { SysMusNormalVolBarChange(SysMusNormalVolBar); });

    for (QPushButton* b : {OutLPhaseBtn, OutRPhaseBtn, SubLPhaseBtn, SubRPhaseBtn})
        connect(b, &QPushButton::clicked, this, [this, b] { OutLPhaseBtnClick(b); });
    for (QPushButton* b : {DEQALLPASSBtn1, DEQALLPASSBtn2})
        connect(b, &QPushButton::clicked, this, [this, b] { DEQALLPASSBtn1Click(b); });
    connect(MusEQAllpassBtn, &QPushButton::clicked, this,
            [this] { MusEQAllpassBtnClick(MusEQAllpassBtn); });
    for (QRadioButton* r : {SysInputRadio1, SysInputRadio2, SysInputRadio3})
        connect(r, &QRadioButton::clicked, this, [this, r] { SysInputRadio1Click(r); });

    for (QPushButton* b : {FormTabBtn1, FormTabBtn2})
        connect(b, &QPushButton::clicked, this, [this, b] { FormTabBtn3Click(b); });
    connect(RzBmpButton1, &QPushButton::clicked, this, [this] { RzBmpButton1Click(RzBmpButton1); });
    connect(LinkBtn, &QPushButton::clicked, this, [this] { LinkBtnClick(LinkBtn); });
    connect(SnapshotBtn, &QPushButton::clicked, this, [this] { ::SnapshotBtnClick(SnapshotBtn); });
    connect(CompareFileBtn, &QPushButton::clicked, this,
            [this] { ::CompareFileBtnClick(CompareFileBtn); });
    connect(LoadFileBtn, &QPushButton::clicked, this, [this] { LoadFileBtnClick(LoadFileBtn); });
    connect(SaveFileBtn, &QPushButton::clicked, this, [this] { SaveFileBtnClick(SaveFileBtn); });
    for (QPushButton* b : {DeviceSaveBtn, DeviceLoadBtn, DeviceResetBtn})
        connect(b, &QPushButton::clicked, this, [this, b] { DeviceSaveBtnClick(b); });
    for (QPushButton* b : {BLUENameBtn, BLUEPinBtn, BleButton})
        connect(b, &QPushButton::clicked, this, [this, b] { BleButtonClick(b); });
    connect(ResetBtn, &QPushButton::clicked, this, [this] { ResetBtnClick(ResetBtn); });
    connect(RmsResetBtn, &QPushButton::clicked, this, [this] { RmsResetBtnClick(RmsResetBtn); });
    connect(PeqImportBtn, &QPushButton::clicked, this, [this] { PeqImportBtnClick(PeqImportBtn); });
    connect(PeqExportBtn, &QPushButton::clicked, this, [this] { PeqExportBtnClick(PeqExportBtn); });
    connect(FitMeasureBtn, &QToolButton::clicked, this, [this] { FitMeasureBtnClick(FitMeasureBtn); });
    connect(FitOverlayCloseBtn, &QToolButton::clicked, this, [] { DismissFitOverlay(); });

    for (QSpinBox* s : {RzSpinEdit2, RzSpinEdit3, RzSpinEdit4, RzSpinEdit5, RzSpinEdit6,
                        RzSpinEdit7, RzSpinEdit8, RzSpinEdit10})
        connect(s, &QSpinBox::valueChanged, this, [this, s](int) { RzSpinEdit2Change(s); });
}
