#pragma once
// While the link moves a whole parameter set (connect read, read back, preset
// upload) or awaits a memory command, the user's changes would land in the
// images behind the transfer and never reach the unit: the controls that
// change parameters take no input until it ends. Offline editing (no unit, a
// lost link) is not held: the next connect reads the unit.

// Holds (true) or releases (false) every control of the main window that
// changes a parameter, writes the unit or a preset from the images: shown
// disabled, handles and the wheel still, undo and redo off; a drag or an edit
// in progress ends without its uncommitted part.
void HoldParameterInput(bool held);

// True while held.
bool ParameterInputHeld();
