// Screen refresh from the images, default bands and the two reset buttons.
#include "app/Dialogs.h"
#include "app/WindowState.h"
#include "eq/CompressorChart.h"
#include "eq/EqGraph.h"
#include "link/LinkApi.h"
#include "params/Binding.h"
#include "params/ControlBindings.h"
#include "params/ControlProps.h"
#include "params/DispatchState.h"
#include "params/Dispatcher.h"
#include "params/ParamCatalog.h"
#include "params/ParamImage.h"
#include "params/SendToUnit.h"
#include "params/UndoHistory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

namespace {

void ShowInput(int index) {
    QRadioButton* radios[3];
    for (int pos = 0; pos < 3; ++pos)
        radios[pos] = qobject_cast<QRadioButton*>(Bindings.InputRadios[pos]);
    if (index >= 0 && index < 3) {
        if (radios[index]) radios[index]->setChecked(true);
        return;
    }
    // A value outside the three inputs shows no input ticked.
    for (QRadioButton* r : radios) {
        if (!r) continue;
        r->setAutoExclusive(false);
        r->setChecked(false);
        r->setAutoExclusive(true);
    }
}

void ShowVersionAndCaption() {
    QWidget* window = MainControls.MainWindow;
    if (!window) return;
    const int variant = Params.ParamImage[0][VariantSlot] & 0xFF;
    if (CurrentLinkState() != NoDevice) {
        if (QLabel* version = MainControls.DeviceVersionLabel)
            version->setText(QCoreApplication::translate("TForm1", "版本号:") +
                             QString::fromStdString(FormatFixed(variant, 0)) + QLatin1Char('.') +
                             QString::number(Params.ParamImage[0][VersionSecondSlot]) +
                             QLatin1Char('.') +
                             QString::number(Params.ParamImage[0][VersionThirdSlot]));
        if (variant == 1) {
            Params.VariantFlag = 0;
            window->setWindowTitle(Window.MainCaption + QStringLiteral("[Connected]"));
        } else {
            window->setWindowTitle(Window.VariantCaption + QStringLiteral("[Connected]"));
            Params.VariantFlag = 1;
        }
    } else {
        window->setWindowTitle(variant == 1 ? Window.MainCaption : Window.VariantCaption);
    }
}

} // namespace

void RefreshScreen() {
    Dispatch.ScreenBusy = 1;
    Dispatch.SendSuppressed = 1;
    CopyDeviceImage();

    for (int m = 0; m <= LastModule; ++m) {
        for (int i = 0; i < ModuleParamCount[m]; ++i) {
            QWidget* c = Bindings.ControlMap[m][i];
            // The filler is not bound: nothing to show.
            const ControlBinding* b = BindingOf(c);
            if (!b) continue;
            const int p = ImageAt(b->Address);
            if (auto* bar = qobject_cast<QSlider*>(c)) {
                // The bar's change handler writes the pane; its send is held back.
                bar->setValue(Params.ParamImage[m][i]);
            } else if (auto* button = qobject_cast<QPushButton*>(c)) {
                if (b->Roles & PolarityButton) {
                    SetHint(button, p == 0 ? QStringLiteral("1") : QStringLiteral("0"));
                    TogglePhase(button);
                } else if (b->Roles & PassButton) {
                    SetHint(button, p == 0 ? QStringLiteral("1") : QStringLiteral("0"));
                    TogglePass(button);
                }
            } else if (auto* box = qobject_cast<QComboBox*>(c)) {
                if (auto* bypass = qobject_cast<QCheckBox*>(b->Companion)) {
                    box->setCurrentIndex(p % 10);
                    bypass->setChecked(p / 10 != 0);
                } else {
                    box->setCurrentIndex(p);
                }
            } else if (qobject_cast<QLineEdit*>(c)) {
                SetControlValue(c, StepNone, DisplayOnly, Params.ParamImage[m][i]);
            }
        }
    }

    if (QPushButton* pass = MainControls.MusEQAllpassBtn) {
        const int tag = AddressOf(pass);
        SetHint(pass, ImageAt(tag) == 0 ? QStringLiteral("1") : QStringLiteral("0"));
        const int v = TogglePass(pass);
        if (tag >= 0 && tag / 256 < ModuleCount) Dispatch.PassState[tag / 256] = v;
    }
    if (QComboBox* input = MainControls.InputBox) ShowInput(input->currentIndex());
    ShowVersionAndCaption();

    // The tick must not redraw again for what the refresh itself changed.
    Window.LastCurveWrite = Window.DrawnCurveWrite;
    Dispatch.ScreenBusy = 0;
    CurvePoint(ChartFromImage);
    RedrawEqCurve(AllSlots, Window.CurrentModule);
    Dispatch.SendSuppressed = 0;
}

void ResetEqBands(int target) {
    // Slot defaults of a band; the frequency (slot 1) spreads the bands evenly.
    constexpr int defaults[5] = {0, 0, 120, 25, 19};
    for (int m = 0; m <= LastModule; ++m) {
        if (target != AllModules && target != m) continue;
        for (int b = 0; b < BandCount[m]; ++b) {
            for (int k = 0; k < 5; ++k) {
                const int a = BandFirstSlot[m] + 5 * b + k;
                const int value =
                    k == 1 ? static_cast<int>(RoundHalfEven(360.0 / BandCount[m] * b)) + 5
                           : defaults[k];
                Params.ParamImage[m][a] = value;
                SendDatatoMCU(m * 256 + a, value);
            }
        }
    }
    RefreshScreen();
}

void ResetBtnClick(QObject*) {
    if (!Dialogs().Ask(
            nullptr, QStringLiteral("Confirm"),
            Lang(QStringLiteral("重置所有EQ参数?"), QStringLiteral("Reset all EQ parameters?")),
            DefaultAnswer::No))
        return;
    // A transfer began while the question was open.
    if (Dispatch.InputHeld == 1) return;
    const int m = Window.CurrentModule;
    UndoGesture gesture(QObject::tr("EQ重置"));
    ResetEqBands(m);
    if (m >= 0 && m < ModuleCount) RedrawEqCurve(Dispatch.SelectedBand[m], m);
}

void RmsResetBtnClick(QObject*) {
    if (!Dialogs().Ask(nullptr, QStringLiteral("Confirm"),
                       QCoreApplication::translate("TForm1", "确定要复位动态压缩曲线?"),
                       DefaultAnswer::No))
        return;
    if (Dispatch.InputHeld == 1) return;
    UndoGesture gesture(QObject::tr("复位压缩曲线"));
    ResetCompressorCurve();
}
