#include "eq/EqGraph.h"

// Stand-ins until the graph lands.
void AttachEqGraph(TForm1*) {}
void SetupEqGraph(int) {}
void RedrawEqCurve(int, int) {}
void EqCommitDrag() {}
void EqRedrawCheck() {}
bool FormMouseWheel(int) { return false; }
void ResetEqState() {}
