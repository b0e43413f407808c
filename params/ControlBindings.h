#pragma once
// The main window's controls as the parameter binding sees them: which control
// shows which slot, and the few others the dispatcher and the refresh act on.
// The window hands them down when it builds its parts; the images know none.

#include "params/Binding.h"

#include <span>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

struct ControlBindings {
    QWidget* ControlMap[MapRows][ImageSlots]{};
    QWidget* CompanionMap[MapRows][ImageSlots]{};
    QWidget* InputRadios[3]{};
    QWidget* Meters[2]{};
    QWidget* TabButtons[2]{};
};

extern ControlBindings Bindings;

// Back to no bindings (a new window, or its controls going).
void ResetControlBindings();

// One slot shown by one control, with its bypass box or value pane. The slot
// is named by its catalogue key ("delay.left", "aux.hp.freq").
struct SlotControl {
    const char* Key = "";
    QWidget* Control = nullptr;
    QWidget* Companion = nullptr;
};

// A band in the five-slot layout: type box (with its bypass box), frequency,
// gain, and the one Q edit for both Q slots. The band is named by the key its
// slots' keys begin with ("band3", "aux.band1", "default.band2").
struct BandControls {
    const char* Band = "";
    QComboBox* Type = nullptr;
    QCheckBox* Bypass = nullptr;
    QLineEdit* Freq = nullptr;
    QLineEdit* Gain = nullptr;
    QLineEdit* Q = nullptr;
};

// A two-state button: its Hint is its state, not a kind.
struct TwoStateControl {
    QWidget* Button = nullptr;
    BindingRole Role = NoRole;
};

// What BuildControlMap binds, taken by the main window from its layout.
struct ControlTable {
    QWidget* Filler = nullptr; // stands for "no control" in the modules' rows
    std::span<const SlotControl> Singles;
    std::span<const BandControls> Bands;
    std::span<const TwoStateControl> TwoState;
    QWidget* InputRadios[3]{};
    QWidget* Meters[2]{};
    QWidget* TabButtons[2]{};
    QLineEdit* FirstEdit = nullptr; // the edit the keys and the wheel act on at first
};

// The controls the dispatcher and the refresh use besides the bound ones;
// given by the main window when it is made, emptied when it goes.
struct ScreenControls {
    QLineEdit* Example = nullptr; // the hidden filler: "no control" / "no edit"
    QPushButton* FormTabBtn1 = nullptr;
    QPushButton* FormTabBtn2 = nullptr;
    QLabel* SysMusNormalVolPane = nullptr;
    QLabel* EQPassLabel = nullptr;
    QComboBox* InputBox = nullptr;
    QLabel* DeviceVersionLabel = nullptr;
    QPushButton* MusEQAllpassBtn = nullptr;
    QWidget* MainWindow = nullptr; // its caption names the unit's variant
};

extern ScreenControls MainControls;
