#pragma once
// Bounds-checked access to the binding tables and the image by address, and
// the typed table of the bound controls.

#include "params/ParamImage.h"

class QObject;
class QWidget;

// Rows of the control map and the companion map; the modules' rows come first.
constexpr int MapRows = 12;

// The control of a map at an address; nullptr outside the tables.
QWidget* MapAt(QWidget* const (&map)[MapRows][ImageSlots], int address);
// ParamImage at an address; 0 outside the image.
int ImageAt(int address);
// The hidden filler edit that stands for "no control".
bool IsFiller(const QObject* control);

// What a two-state button stands for; its "0"/"1" state stays in its Hint.
enum BindingRole : uint8_t {
    NoRole = 0,
    PolarityButton = 1, // "+"/"-"
    PassButton = 2,     // a dynamic band's "Pass", refreshed with its slot
    EqPassButton = 4,   // the equaliser's own pass button, refreshed on its own
    TwoStateButton = PolarityButton | PassButton | EqPassButton,
};

// One bound control (or companion), taken once from the main window's table
// and the catalogue when the controls are mapped; Tag and Hint keep mirroring it.
struct ControlBinding {
    QWidget* Control = nullptr;
    int Address = 0;       // its last slot, as in its Tag
    int Kind = 0;          // ParamKind of its slot (the catalogue's); 0 without one
    bool HasKind = false;  // shows a value by its kind: not a bar, bypass box or two-state button
    QWidget* Companion = nullptr; // bypass box or value pane of that slot
    uint8_t Roles = NoRole;
};

// Gives every bound control its accessible name in the interface's language,
// from what its slot is. Again after a change of language.
void NameBoundControls();

// The binding of a control; nullptr for the filler and unbound controls.
const ControlBinding* BindingOf(const QObject* control);
// The bound kind; 0 for the filler and unbound controls.
int KindOf(const QObject* control);
// The address of a bound control; otherwise its Tag.
int AddressOf(const QObject* control);
