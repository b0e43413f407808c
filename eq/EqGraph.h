#pragma once
// Equaliser response graph and handle dragging, as the main window calls them.

class TForm1;

// Creation steps 3 and 4: take the graph controls of the main window, give
// Image1 its bitmap, build the grid (SetupEqGraph(0)) and hook the handles.
void AttachEqGraph(TForm1* form);

// 0 builds background, grid and labels; 2 wipes the curve.
void SetupEqGraph(int mode);

// Slot 0..19 recomputes that slot, 20 all slots.
void RedrawEqCurve(int slot, int module);

// The two halves of the main window's 10 ms tick.
void EqCommitDrag();
void EqRedrawCheck();

// Main window's wheel; true when handled.
bool FormMouseWheel(int wheelDelta);

// Back to the program-start state.
void ResetEqState();
