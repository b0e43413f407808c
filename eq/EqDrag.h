#pragma once
// Dragging the equaliser handles: mouse, wheel and the drag half of the main
// window's tick.

#include <Qt>

class QObject;

struct EqDragState {
    int ActiveHandle = 0;
    int DownX = 0;
    int DownY = 0;
    bool HandleDragging = false;
    bool QStepping = false;
    int DragSlot = 0;
    float DragFreq = 0;
    float DragGain = 0;
    float PendingFreqRaw = 0;
    float PendingGainRaw = 0;
    float SentFreqRaw = 0;
    float SentGainRaw = 0;
};

// The drag half of the main window's 10 ms tick.
void EqCommitDrag();
// A drag is held, or a commit or a redraw waits: the tick has to run.
bool EqTickHasWork();

// A drag or Q step in progress ends now: what the tick committed stays, the
// rest is dropped (the parameters are held).
void EqDropDrag();

// Main window's wheel; true when handled.
bool FormMouseWheel(int wheelDelta);

// Mouse handlers of the handles, the graph and the panel; X, Y in the
// sender's coordinates.
void EP1MouseDown(QObject* Sender, Qt::MouseButton Button, int X, int Y);
void EP1MouseMove(QObject* Sender, Qt::MouseButtons Shift, int X, int Y);
void EP1MouseUp(QObject* Sender, Qt::MouseButton Button, int X, int Y);
void Image1MouseMove(QObject* Sender, Qt::MouseButtons Shift, int X, int Y);
void Image1MouseUp(QObject* Sender, Qt::MouseButton Button, int X, int Y);
void EQAdvPanelMouseUp(QObject* Sender, Qt::MouseButton Button, int X, int Y);
void EQlabelMouseUp(QObject* Sender, Qt::MouseButton Button, int X, int Y);
