// Binding tables: which control shows which parameter slot, and what each
// bound control is (address, kind, companion, role), taken once from the layout.
#include "app/MainWindow.h"
#include "params/Binding.h"
#include "params/ControlProps.h"
#include "params/DispatchState.h"
#include "params/Dispatcher.h"
#include "params/ParamImage.h"
#include "params/ParamNames.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHash>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

namespace {

// Keyed by control; the main window's destructor empties it.
QHash<const QObject*, ControlBinding> bindings;

// ParamKind as the layout wrote it into the Hint (modulo 256; missing or
// above 36 is 0). Read once, when the controls are mapped.
int HintKind(const QObject* control) {
    bool ok = false;
    const int kind = Hint(control).toInt(&ok) % 256;
    if (!ok || kind < 0 || kind > 36) return 0;
    return kind;
}

void Record(QWidget* control, int address, QWidget* companion) {
    ControlBinding& b = bindings[control];
    b.Control = control;
    b.Address = address;
    b.Companion = companion;
    b.Kind = HintKind(control);
    b.HasKind = !Hint(control).isEmpty();
}

// A two-state button's Hint is its state, not a kind.
void MarkTwoState(QWidget* button, BindingRole role) {
    const auto it = bindings.find(button);
    if (it == bindings.end()) return;
    it->Roles = role;
    it->Kind = 0;
    it->HasKind = false;
}

void Bind(int module, int index, QWidget* control, QWidget* companion = nullptr) {
    Params.ControlMap[module][index] = control;
    if (companion) Params.CompanionMap[module][index] = companion;
}

// A band in the five-slot layout: type box (with its bypass box), frequency,
// gain, and the one Q edit for both Q slots.
void BindBand(int module, int first, QComboBox* type, QCheckBox* bypass, ParamEdit* freq,
              ParamEdit* gain, ParamEdit* q) {
    Bind(module, first, type, bypass);
    Bind(module, first + 1, freq);
    Bind(module, first + 2, gain);
    Bind(module, first + 3, q);
    Bind(module, first + 4, q);
}

// Every slot shown by one control (and its companion), then every band in the
// five-slot layout: module 0 system, 1 main channel, 2 auxiliary channel and
// the factory page.
void BindLayoutControls(TForm1* f) {
    const struct {
        int Module;
        int Index;
        QWidget* Control;
        QWidget* Companion;
    } singles[] = {
        {0, 10, f->InputBox, nullptr},
        {0, 11, f->SysIOLevelBox, nullptr},
        {1, 0, f->OutLDelayBar, f->OutLDelayPane},
        {1, 1, f->SysMusNormalVolBar, f->SysMusNormalVolPane},
        {1, 2, f->OutRDelayBar, f->OutRDelayPane},
        {1, 3, f->OutLPhaseBtn, nullptr},
        {1, 4, f->RMSBox, nullptr},
        {1, 5, f->MusRmsAttackBar, f->MusRmsAttackPane},
        {1, 6, f->MusRmsReleaseBar, f->MusRmsReleasePane},
        {1, 7, f->OutRPhaseBtn, nullptr},
        {1, 13, f->MusHighPassBox, nullptr},
        {1, 15, f->MusHighPassFre, nullptr},
        {1, 16, f->MusLowPassBox, nullptr},
        {1, 18, f->MusLowPassFre, nullptr},
        {1, 19, f->MusEQAllpassBtn, nullptr},
        {2, 1, f->DEQALLPASSBtn1, nullptr},
        {2, 2, f->DEQModeBox1, nullptr},
        {2, 3, f->DEQFreEdit1, nullptr},
        {2, 4, f->DEQGainEdit1, nullptr},
        {2, 5, f->DEQQEdit1, nullptr},
        {2, 7, f->DEQTypeBox1, nullptr},
        {2, 8, f->DEQRmsLevelBar1, f->DEQRmsLevelPane1},
        {2, 9, f->DEQMaxLevelBar1, f->DEQMaxLevelPane1},
        {2, 13, f->DEQALLPASSBtn2, nullptr},
        {2, 14, f->DEQModeBox2, nullptr},
        {2, 15, f->DEQFreEdit2, nullptr},
        {2, 16, f->DEQGainEdit2, nullptr},
        {2, 17, f->DEQQEdit2, nullptr},
        {2, 19, f->DEQTypeBox2, nullptr},
        {2, 20, f->DEQRmsLevelBar2, f->DEQRmsLevelPane2},
        {2, 21, f->DEQMaxLevelBar2, f->DEQMaxLevelPane2},
        {2, 25, f->AuxOutGainBar, f->AuxOutGainPane},
        {2, 26, f->SubSteroBox, nullptr},
        {2, 27, f->SubLPhaseBtn, nullptr},
        {2, 28, f->SubRPhaseBtn, nullptr},
        {2, 29, f->AuxHighPassBox, nullptr},
        {2, 30, f->AuxHighPassFre, nullptr},
        {2, 31, f->AuxLowPassBox, nullptr},
        {2, 32, f->AuxLowPassFre, nullptr},
        {2, 63, f->HintHighPassBox, nullptr},
        {2, 64, f->HintHighPassFre, nullptr},
        {2, 65, f->HintLowPassBox, nullptr},
        {2, 66, f->HintLowPassFre, nullptr},
    };
    for (const auto& s : singles)
        Bind(s.Module, s.Index, s.Control, s.Companion);

    const struct {
        int Module;
        int First;
        QComboBox* Type;
        QCheckBox* Bypass;
        ParamEdit* Freq;
        ParamEdit* Gain;
        ParamEdit* Q;
    } bands[] = {
        {1, 20, f->MusModeBox1, f->MusBypassCheck1, f->MusFreEdit1, f->MusGainEdit1, f->MusQEdit1},
        {1, 25, f->MusModeBox2, f->MusBypassCheck2, f->MusFreEdit2, f->MusGainEdit2, f->MusQEdit2},
        {1, 30, f->MusModeBox3, f->MusBypassCheck3, f->MusFreEdit3, f->MusGainEdit3, f->MusQEdit3},
        {1, 35, f->MusModeBox4, f->MusBypassCheck4, f->MusFreEdit4, f->MusGainEdit4, f->MusQEdit4},
        {1, 40, f->MusModeBox5, f->MusBypassCheck5, f->MusFreEdit5, f->MusGainEdit5, f->MusQEdit5},
        {1, 45, f->MusModeBox6, f->MusBypassCheck6, f->MusFreEdit6, f->MusGainEdit6, f->MusQEdit6},
        {1, 50, f->MusModeBox7, f->MusBypassCheck7, f->MusFreEdit7, f->MusGainEdit7, f->MusQEdit7},
        {1, 55, f->MusModeBox8, f->MusBypassCheck8, f->MusFreEdit8, f->MusGainEdit8, f->MusQEdit8},
        {1, 60, f->MusModeBox9, f->MusBypassCheck9, f->MusFreEdit9, f->MusGainEdit9, f->MusQEdit9},
        {2, 33, f->AUXModeBox1, f->AuxBypassCheck1, f->AUXFreEdit1, f->AUXGainEdit1, f->AUXQEdit1},
        {2, 38, f->AUXModeBox2, f->AuxBypassCheck2, f->AUXFreEdit2, f->AUXGainEdit2, f->AUXQEdit2},
        {2, 43, f->HintModeBox1, f->HintBypassCheck1, f->HintFreEdit1, f->HintGainEdit1,
         f->HintQEdit1},
        {2, 48, f->HintModeBox2, f->HintBypassCheck2, f->HintFreEdit2, f->HintGainEdit2,
         f->HintQEdit2},
        {2, 53, f->HintModeBox3, f->HintBypassCheck3, f->HintFreEdit3, f->HintGainEdit3,
         f->HintQEdit3},
        {2, 58, f->HintModeBox4, f->HintBypassCheck4, f->HintFreEdit4, f->HintGainEdit4,
         f->HintQEdit4},
    };
    for (const auto& b : bands)
        BindBand(b.Module, b.First, b.Type, b.Bypass, b.Freq, b.Gain, b.Q);
}

} // namespace

void BuildControlMap(TForm1* f) {
    if (!f) return;
    for (int m = 0; m < MapRows; ++m)
        for (int i = 0; i < ImageSlots; ++i) {
            // The filler stands for "no control" in the rows of the modules.
            Params.ControlMap[m][i] = m <= LastModule ? f->Example : nullptr;
            Params.CompanionMap[m][i] = nullptr;
        }

    BindLayoutControls(f);

    Params.InputRadios[0] = f->SysInputRadio1;
    Params.InputRadios[1] = f->SysInputRadio2;
    Params.InputRadios[2] = f->SysInputRadio3;
    Params.Meters[0] = f->LeftMeter;
    Params.Meters[1] = f->RightMeter;
    Params.TabButtons[0] = f->FormTabBtn1;
    Params.TabButtons[1] = f->FormTabBtn2;
    Dispatch.CurrentEdit = f->MusFreEdit1;

    Dispatch.ScreenBusy = 1;
    bindings.clear();
    // A control bound to several slots keeps the address of the last of them.
    for (int m = 0; m <= LastModule; ++m)
        for (int i = 0; i < ModuleParamCount[m]; ++i) {
            const int address = m * 256 + i;
            QWidget* c = Params.ControlMap[m][i];
            QWidget* k = Params.CompanionMap[m][i];
            if (c && c != f->Example) {
                SetTag(c, address);
                Record(c, address, k);
            }
            if (k) {
                SetTag(k, address);
                Record(k, address, nullptr);
            }
            Params.DeviceImage[m][i] = 2;
        }
    for (QWidget* b : {f->OutLPhaseBtn, f->OutRPhaseBtn, f->SubLPhaseBtn, f->SubRPhaseBtn})
        MarkTwoState(b, PolarityButton);
    MarkTwoState(f->DEQALLPASSBtn1, PassButton);
    MarkTwoState(f->DEQALLPASSBtn2, PassButton);
    MarkTwoState(f->MusEQAllpassBtn, EqPassButton);
    Params.DeviceImage[1][13] = 0;
    Params.DeviceImage[1][15] = 0;
    Params.DeviceImage[1][16] = 0;
    Params.DeviceImage[1][18] = 361;
    Params.DeviceImage[2][31] = 0;
    Params.DeviceImage[2][32] = 361;
    Params.DeviceImage[2][63] = 0;
    Params.DeviceImage[2][65] = 0;
    Dispatch.ScreenBusy = 0;
    NameBoundControls();
}

void ClearControlBindings() {
    bindings.clear();
}

void NameBoundControls() {
    const ParamLanguage language = ConsoleParamLanguage();
    for (const ControlBinding& b : std::as_const(bindings)) {
        // A value pane is read with its slider's name.
        if (qobject_cast<QLabel*>(b.Control)) continue;
        const ParamEntry* entry = FindParam(b.Address);
        // One Q edit shows both Q slots of its band; it is the band's Q.
        if (entry && entry->Field == BandField::QShelf) entry = FindParam(b.Address - 1);
        if (!entry) continue;
        // A bypass box shares its band's type slot and is named for the bypass.
        const bool bypass = qobject_cast<QCheckBox*>(b.Control) != nullptr;
        const QString name = QString::fromStdString(bypass ? ParamUndoName(*entry, language, true)
                                                           : ParamDisplayName(*entry, language));
        b.Control->setAccessibleName(name);
        // On Linux a combo box is read by its current item; the description says which it is.
        if (qobject_cast<QComboBox*>(b.Control)) b.Control->setAccessibleDescription(name);
    }
}

const ControlBinding* BindingOf(const QObject* control) {
    const auto it = bindings.constFind(control);
    return it == bindings.constEnd() ? nullptr : &*it;
}

int KindOf(const QObject* control) {
    const ControlBinding* b = BindingOf(control);
    return b ? b->Kind : 0;
}

int AddressOf(const QObject* control) {
    const ControlBinding* b = BindingOf(control);
    return b ? b->Address : Tag(control);
}
