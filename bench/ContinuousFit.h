#pragma once
// The usual approach, for comparison: bands with free frequency, Q and gain
// fitted in the console's own band shapes (the frequency slid by fractions of a
// pixel), then snapped onto the unit's tables as typed values are.

#include "eq/GridFit.h"

struct ContinuousOutcome {
    double FreeRms = 0;    // before snapping
    double SnappedRms = 0; // the snapped bands, scored like the grid fit
    std::vector<PeqBandRaw> Snapped;
};

ContinuousOutcome ContinuousFitThenSnap(const FitInput& in);

// RMS difference of two band sets' summed curves over the fit's grid, level
// difference taken out.
double CurveDistance(const FitInput& in, const std::vector<PeqBandRaw>& a,
                     const std::vector<PeqBandRaw>& b);
