#pragma once
// Equaliser response graph and handle dragging, as the main window calls them.

#include "eq/FilterMath.h"

#include <QImage>
#include <QPointer>
#include <Qt>

class QLabel;
class QObject;
class QWidget;
class TForm1;
class TImage;

// Creation steps 3 and 4: take the graph controls of the main window, give
// Image1 its bitmap, build the grid (SetupEqGraph(0)) and hook the handles.
void AttachEqGraph(TForm1* form);

// The main window is going away: the graph lets go of it.
void DetachEqGraph();

// 0 builds background, grid and labels; 2 wipes the curve.
void SetupEqGraph(int mode);

// Slot 0..19 recomputes that slot, 20 all slots.
void RedrawEqCurve(int slot, int module);

// The two halves of the main window's 10 ms tick.
void EqCommitDrag();
void EqRedrawCheck();
// A drag is held, or a commit or a redraw waits: the tick has to run.
bool EqTickHasWork();

// A drag or Q step in progress ends now: what the tick committed stays, the
// rest is dropped (the parameters are held).
void EqDropDrag();

// Main window's wheel; true when handled.
bool FormMouseWheel(int wheelDelta);

// Back to the program-start state.
void ResetEqState();

// Band table of the displayed module; returns the low-pass slot (10 or 3).
int CollectCurveSlots(int module);

// Graph mappings in image pixels (GraphScale and Image1's height).
double FreqToX(double f);
double XToFreq(double x);
double DbToY(double db);
double YToDb(double y);

// Mouse handlers of the handles, the graph and the panel; X, Y in the
// sender's coordinates.
void EP1MouseDown(QObject* Sender, Qt::MouseButton Button, int X, int Y);
void EP1MouseMove(QObject* Sender, Qt::MouseButtons Shift, int X, int Y);
void EP1MouseUp(QObject* Sender, Qt::MouseButton Button, int X, int Y);
void Image1MouseMove(QObject* Sender, Qt::MouseButtons Shift, int X, int Y);
void Image1MouseUp(QObject* Sender, Qt::MouseButton Button, int X, int Y);
void EQAdvPanelMouseUp(QObject* Sender, Qt::MouseButton Button, int X, int Y);
void EQlabelMouseUp(QObject* Sender, Qt::MouseButton Button, int X, int Y);

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

struct EqGraphState {
    QPointer<TForm1> Form;
    double GraphScale = 1.0;
    QImage GridBackground;
    CurveSlot CurveSlots[CurveSlotCount];
    ResponseArray SlotResponse[CurveSlotCount]{};
    QPointer<QLabel> DbLabels[7];
    QPointer<QLabel> FreqLabels[10];
    EqDragState Drag;
    // Module and slot whose band the readout (EQlabel) describes; 0 and -1 before any.
    int ReadoutModule = 0;
    int ReadoutSlot = -1;
    // Points of the last drawn curve, in image pixels (CurveWidth of them).
    int CurveX[CurveWidth]{};
    int CurveY[CurveWidth]{};
};

extern EqGraphState EqGraph;

// Spline through the curve points of EqGraph into Image1's picture; used by
// the redraw and by the benchmark's floor.
void DrawCurveSpline();
