#pragma once
// Synthetic room measurements with a known answer: a set of bands on the unit's
// grid whose inverse is the speaker's error, plus a room's comb ripple and
// measurement noise. Fixed seeds; the same case is the same file everywhere.

#include "eq/GridFit.h"

#include <string>
#include <vector>

struct SyntheticCase {
    std::string Name;
    std::vector<PeqBandRaw> Truth; // the module's bands that undo the speaker's error
    Measurement Measured;
    double RippleDb = 0; // the comb's depth
    double NoiseDb = 0;  // standard deviation
};

// Case number n (0 ..): 1000 points from 20 Hz to 20 kHz, level about 80 dB.
SyntheticCase MakeSyntheticCase(int n, int points = 1000);
int SyntheticCaseCount();

// A fit input for a case: module 1, crossovers off, flat target.
FitInput SyntheticInput(const SyntheticCase& c);

// The measurement as measurement software exports it.
std::string MeasurementText(const Measurement& m, const std::string& title);
