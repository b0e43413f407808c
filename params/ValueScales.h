#pragma once
// Value scales: the text tables, the number patterns and the conversions
// between raw parameter values and the texts the controls show.
// Standard library only, locale independent ("." is always the separator).

#include <array>
#include <string>

enum ValueSource { UserChange = 0, DisplayOnly = 1 };

extern const std::array<const char*, 362> FreqTable;
extern const std::array<const char*, 110> QTable;
extern const std::array<const char*, 8> ReleaseMultipleTable;

// The top raw values of the scales: the frequency table (at its top, 24 kHz, a
// low pass is off), the Q table (peaking bands), the Q the other band types
// take, the gain table (+12 dB).
constexpr int FreqRawTop = static_cast<int>(std::tuple_size_v<decltype(FreqTable)>) - 1;
constexpr int QRawTop = static_cast<int>(std::tuple_size_v<decltype(QTable)>) - 1;
constexpr int ShelfQRawTop = 31;
constexpr int GainRawTop = 180;

// Numeric value of a table entry (raw held to the table's range).
double FreqValue(int raw);
double QValue(int raw);
// Gain in dB of a raw gain value: raw / 5 - 24.
double GainDb(int raw);

// Nearest integer, halves to the even neighbour.
double RoundHalfEven(double x);

// "#0" (decimals 0), "#0.0" (1), "#0.00" (2): rounded half to even, "-" for
// negatives, no sign for positives, no grouping, "." as separator.
std::string FormatFixed(double value, int decimals);

// The characters '-', '.' and '0'..'9' of text, in their order.
std::string StripToNumber(const std::string& text);

// A frequency written in thousands: a number followed by 'k' or 'K', optionally
// by "Hz" in any case, blanks allowed around ("1k", "2.2K", "1.5kHz").
bool HasKiloSuffix(const std::string& text);

// Reads a stripped number with '.' as separator. False for "", "-", ".",
// "1.2.3", "--1" and anything else that is not one number.
bool ReadNumber(const std::string& text, double& out);

// Typed number to raw value by kind: 2 frequency (nearest FreqTable entry,
// ties low, top entry for everything above 20200), 3 gain in dB, 4 Q (next
// entry upward, 110 above 128); any other kind returns x.
double TextToRaw(int kind, double x);

struct KindText {
    double x = 0;      // the value after the kind's clamping
    std::string text;  // what the control shows
    bool hasText = false;
};

// The clamping and text rule of a parameter kind (dispatcher table).
// limit: for kind 4 the Q limit (109 or 31) used with UserChange; for kind 35
// the raw value of the same equaliser's cut-off level; ignored otherwise.
// Kinds not in the table (and 0, 1) are not clamped and have no text.
KindText ApplyKind(int kind, double x, ValueSource source, int limit);
