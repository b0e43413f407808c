#pragma once
// Equaliser response graph, as the main window calls it; dragging is in EqDrag.h.

#include "eq/EqDrag.h"
#include "eq/FilterMath.h"

#include <QImage>
#include <QPointer>

class QComboBox;
class QLabel;
class QLineEdit;
class QObject;
class QWidget;
class TImage;

// Modes of SetupEqGraph: build background, grid and labels; wipe the curve.
constexpr int GraphBuild = 0;
constexpr int GraphWipe = 2;

// Slot of RedrawEqCurve that stands for all slots.
constexpr int AllSlots = 20;

// One module's crossover controls: the type boxes and the frequency edits.
struct CrossoverControls {
    QPointer<QComboBox> HighPassBox;
    QPointer<QComboBox> LowPassBox;
    QPointer<QLineEdit> HighPassFre;
    QPointer<QLineEdit> LowPassFre;
};

// The main window's controls the graph draws on, moves and reads.
struct EqGraphControls {
    QPointer<QObject> Owner; // owns the graph's connections and its panel filter
    QPointer<QWidget> EQAdvPanel;
    QPointer<QWidget> AdvPanel2;
    QPointer<TImage> Image1;
    QPointer<QLabel> EQlabel;     // readout of the band under the pointer
    QPointer<QLabel> EQPassLabel; // "EQ PASS"
    QPointer<QLabel> Label2;      // spare, kept under the handles
    QPointer<TImage> Bands[9];    // EP1..EP9
    QPointer<TImage> HPF;
    QPointer<TImage> LPF;
    CrossoverControls MusCrossover;
    CrossoverControls AuxCrossover;
    QPointer<QLineEdit> Example; // the filler edit: "no edit"
};

// Creation steps 3 and 4: take the graph controls of the main window, give
// Image1 its bitmap, build the grid (SetupEqGraph(GraphBuild)) and hook the handles.
void AttachEqGraph(const EqGraphControls& controls);

// The main window is going away: the graph lets go of its controls.
void DetachEqGraph();

// The crossover controls of a module as the graph reads them (the
// auxiliary channel's for any module but the main channel).
const CrossoverControls& GraphCrossover(int module);

void SetupEqGraph(int mode);

// Slot 0..19 recomputes that slot, AllSlots all of them.
void RedrawEqCurve(int slot, int module);

// The redraw half of the main window's 10 ms tick.
void EqRedrawCheck();

// Back to the program-start state.
void ResetEqState();

// Band table of the displayed module; returns the low-pass slot (10 or 3).
int CollectCurveSlots(int module);

// Graph mappings in image pixels (GraphScale and Image1's height).
double FreqToX(double f);
double XToFreq(double x);
double DbToY(double db);
double YToDb(double y);

struct EqGraphState {
    EqGraphControls Controls;
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
