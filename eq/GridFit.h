#pragma once
// Fitting a module's bands to a measurement on the unit's own grid: every
// frequency an entry of the frequency table, every Q an entry of the Q table
// (shelves by slope), every gain a 0.2 dB step, each band drawn with the
// graph's own maths and the module's crossovers as set. Standard library only;
// the console and nddt share it, so both give the same bands.

#include "eq/Measurement.h"
#include "eq/PeqText.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct FitOptions {
    int Module = 1;
    double FromHz = 20;
    double ToHz = 20000;
    double MaxBoostDb = 6; // the most one band may lift, 0 .. 12 dB
    bool Shelves = true;
    int Bands = 0; // bands to use; 0 or more than the module has: all of them
};

struct FitInput {
    Measurement Measured;
    TargetCurve Target;
    FitOptions Options;
    // The module's raw values by index (bands and crossovers are read from it)
    // and the items its crossover type boxes show.
    std::vector<int32_t> ModuleImage;
    int HighPassItem = 0;
    int LowPassItem = 0;
};

// What an option or the range is wrong with, or empty.
std::string CheckFitOptions(const FitOptions& o, bool chinese);

struct FitScore {
    double Rms = 0;     // RMS of measurement + unit - target - offset over the grid, dB
    double Worst = 0;   // largest deviation, dB (absolute)
    double WorstHz = 0;
    double Offset = 0;  // the level offset that minimises the RMS, dB
    double Boost = 0;   // largest lift of the summed curve over the graph (headroom), dB
};

struct FitResult {
    bool Ok = false;
    bool Cancelled = false;
    PeqMessage Error;
    int Module = 1;
    double FromHz = 0, ToHz = 0; // the range used (the measurement may cover less)
    int GridPoints = 0;
    std::vector<PeqBandRaw> Before, After; // the module's bands
    FitScore ScoreBefore, ScoreAfter;
    int Moves = 0; // candidate positions scored, for the benchmarks
    // At every logical pixel of the graph: the measurement and the target in
    // the graph's dB (the after offset taken out of the measurement); pixels
    // outside the range hold NaN.
    std::array<float, 463> MeasuredPx{}, TargetPx{};
    std::array<float, 463> AfterSum{}; // the summed curve with the fitted bands
};

// Called now and then with 0 .. 100; returning false cancels the fit.
using FitProgress = std::function<bool(int percent)>;

FitResult FitToMeasurement(const FitInput& in, const FitProgress& progress = {});

// The score of given bands for the same input (for "before", and to compare
// other ways of choosing bands).
FitScore ScoreBands(const FitInput& in, const std::vector<PeqBandRaw>& bands);

// Measurement + crossovers - target at the graph's pixels first .. first +
// size - 1 (the grid the fit scores on); empty when the input cannot be fitted.
std::vector<double> FitBaseline(const FitInput& in, int& first);

// One band as the report shows it ("参量均衡 1000.0 Hz 3.0dB Q 2.00").
std::string FitBandText(const PeqBandRaw& band, bool chinese);

// The report: range and target, each band before and after, RMS, largest
// deviation, offset and headroom, one line each.
std::vector<std::string> FitReport(const FitInput& in, const FitResult& r, bool chinese);
