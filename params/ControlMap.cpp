// Binding tables: which control shows which parameter slot, and what each
// bound control is (address, kind, companion, role), taken once from the
// table the main window builds from its layout.
#include "params/Binding.h"
#include "params/ControlBindings.h"
#include "params/ControlProps.h"
#include "params/DispatchState.h"
#include "params/Dispatcher.h"
#include "params/ParamCatalog.h"
#include "params/ParamImage.h"
#include "params/ParamNames.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>

#include <algorithm>
#include <iterator>

ControlBindings Bindings;
ScreenControls MainControls;

void ResetControlBindings() {
    Bindings = ControlBindings{};
}

namespace {

// Keyed by control; the main window's destructor empties it.
QHash<const QObject*, ControlBinding> bindings;

// The slot's ParamKind, from the catalogue, for the controls that show a value
// by it: edits, combo boxes, value panes and buttons. A bar moves its pane
// and a bypass box its band's type box; neither carries a kind of its own.
void Record(QWidget* control, int address, QWidget* companion) {
    ControlBinding& b = bindings[control];
    b.Control = control;
    b.Address = address;
    b.Companion = companion;
    b.HasKind = !qobject_cast<QSlider*>(control) && !qobject_cast<QCheckBox*>(control);
    const ParamEntry* entry = FindParam(address);
    b.Kind = b.HasKind && entry ? entry->Kind : 0;
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
    if (module < 0 || module >= MapRows || index < 0 || index >= ImageSlots) return;
    Bindings.ControlMap[module][index] = control;
    if (companion) Bindings.CompanionMap[module][index] = companion;
}

// A key the catalogue does not know binds nothing.
void BindKey(const std::string& key, QWidget* control, QWidget* companion = nullptr) {
    const int address = ParamAddress(key);
    if (address >= 0) Bind(address / 256, address % 256, control, companion);
}

void BindBand(const BandControls& b) {
    const std::string band = std::string(b.Band) + ".";
    BindKey(band + "type", b.Type, b.Bypass);
    BindKey(band + "freq", b.Freq);
    BindKey(band + "gain", b.Gain);
    BindKey(band + "q", b.Q);
    BindKey(band + "qshelf", b.Q);
}

} // namespace

void BuildControlMap(const ControlTable& table) {
    for (int m = 0; m < MapRows; ++m)
        for (int i = 0; i < ImageSlots; ++i) {
            // The filler stands for "no control" in the rows of the modules.
            Bindings.ControlMap[m][i] = m <= LastModule ? table.Filler : nullptr;
            Bindings.CompanionMap[m][i] = nullptr;
        }

    // Every slot shown by one control (and its companion), then every band in
    // the five-slot layout.
    for (const SlotControl& s : table.Singles)
        BindKey(s.Key, s.Control, s.Companion);
    for (const BandControls& b : table.Bands)
        BindBand(b);

    std::copy(std::begin(table.InputRadios), std::end(table.InputRadios), Bindings.InputRadios);
    std::copy(std::begin(table.Meters), std::end(table.Meters), Bindings.Meters);
    std::copy(std::begin(table.TabButtons), std::end(table.TabButtons), Bindings.TabButtons);
    Dispatch.CurrentEdit = table.FirstEdit;

    Dispatch.ScreenBusy = 1;
    bindings.clear();
    // A control bound to several slots keeps the address of the last of them.
    for (int m = 0; m <= LastModule; ++m)
        for (int i = 0; i < ModuleParamCount[m]; ++i) {
            const int address = m * 256 + i;
            QWidget* c = Bindings.ControlMap[m][i];
            QWidget* k = Bindings.CompanionMap[m][i];
            if (c && c != table.Filler) {
                SetTag(c, address);
                Record(c, address, k);
            }
            if (k) {
                SetTag(k, address);
                Record(k, address, nullptr);
            }
            Params.DeviceImage[m][i] = 2;
        }
    for (const TwoStateControl& t : table.TwoState)
        MarkTwoState(t.Button, t.Role);
    // The crossovers start as the catalogue has them: off, the low passes at the top.
    for (const CrossoverSlots& x : {MainCrossover, AuxCrossover, DefaultEqCrossover})
        for (const int i : {x.HighPassType, x.HighPassFreq, x.LowPassType, x.LowPassFreq})
            if (const ParamEntry* e = FindParam(SlotAddress(x.Module, i)))
                Params.DeviceImage[x.Module][i] = e->Start;
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
