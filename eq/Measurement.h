#pragma once
// A measured response as room-measurement software exports it, and the target
// it is tuned towards, from the bytes of a file or from a file read through the
// shared bounded reader. Standard library only; the console and nddt share it.

#include "eq/PeqText.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Larger files are refused before they are read (about 100,000 rows of text).
constexpr std::size_t MaxMeasurementBytes = 4u << 20;
constexpr double MeasureLowHz = 10.0;
constexpr double MeasureHighHz = 24000.0;
constexpr int MinMeasurePoints = 20;

struct Measurement {
    bool Ok = false;
    int ErrorLine = 0; // 0 for a problem of the whole file
    PeqMessage Error;
    // Points between 10 Hz and 24 kHz, frequencies increasing; points outside
    // that range are passed over.
    std::vector<double> Freq;
    std::vector<double> Db;
};

// Reads the text export of measurement software ('*' comments, rows
// "Freq SPL [Phase]"), CSV with a header naming a frequency and a level column,
// or two columns with '#' comments. Blanks, tabs or commas separate columns.
Measurement ParseMeasurement(std::string_view bytes);

// Reads and parses a measurement or target file through the shared bounded
// reader: opened without blocking, a regular file of at most
// MaxMeasurementBytes, else refused with the reason.
Measurement ReadMeasurementFile(const std::string& path);

// Level of a measurement at f: linear in log frequency between its points,
// the end values beyond them.
double MeasurementAt(const Measurement& m, double f);

// The curve the fit aims at, in dB relative to an arbitrary level.
struct TargetCurve {
    enum Kind { Flat, House, File } Kind = Flat;
    // House: a bass rise of Rise dB below Corner Hz (full below a quarter of
    // Corner, half at half of it, raised-cosine between) and a treble tilt of
    // Tilt dB per decade above 1 kHz.
    double Rise = 0;
    double Corner = 100;
    double Tilt = 0;
    Measurement Points; // Kind File
};

double TargetAt(const TargetCurve& t, double f);

// "flat" or "house:R,F,T" (F from 20 to 1000 Hz, |R| and |T| at most 20 dB).
// False when the text is neither; a file target is read separately.
bool ParseTargetSpec(const std::string& text, TargetCurve& out, std::string& why);
