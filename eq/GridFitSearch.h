#pragma once
// The search behind FitToMeasurement: bands on the unit's grid for a residual.
// Internal to the fit; standard library only.

#include "eq/GridFit.h"

#include <vector>

struct GridBand {
    int Type = -1; // 0 peaking, 1 low shelf, 2 high shelf; -1 flat
    int K = 0;     // frequency index
    int Q = 25;
    int G = 120; // raw gain; 120 is 0 dB
};

// Thrown out of the search when the progress callback asks to stop.
struct FitCancelled {};

// count bands that best cancel base (measurement + crossovers - target at the
// graph's pixels first .. first + base.size() - 1); moves counts the
// candidates scored.
std::vector<GridBand> SearchGridBands(std::vector<double> base, int first, const FitOptions& o,
                                      const FitProgress& progress, int count, int& moves);
