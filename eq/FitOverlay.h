#pragma once
// Thin curves behind the response curve: a measurement, its target and the
// result predicted with the bands as drawn. The measurement stays, also while
// tuning by hand, until it is dismissed.

#include <QImage>
#include <array>
#include <vector>

class QToolButton;

struct FitOverlayCurves {
    int Module = 1;
    std::array<float, 463> Measured{}; // graph dB at each logical pixel; NaN: not shown
    std::array<float, 463> Target{};
};

// The button that dismisses the curves, shown while they are on the graph.
void AttachFitOverlay(QToolButton* closeButton);

// Shows the curves (redrawing the graph) and the button that dismisses them.
void ShowFitOverlay(const FitOverlayCurves& curves);
// While a fit is reviewed the prediction uses its bands' curve; null: the
// graph's own curve.
void SetFitOverlayPreview(const std::array<float, 463>* summed);
void DismissFitOverlay();
bool FitOverlayShown();

// Called by the graph's redraw with the module drawn and its summed curve
// (CurveWidth points), before the response curve is stroked.
void DrawFitOverlay(QImage& picture, int module, const std::vector<double>& sums);
