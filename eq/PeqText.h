#pragma once
// Parametric EQ text as measurement software and system equalisers write it
// ("Filter 1: ON PK Fc 100 Hz Gain -3.0 dB Q 1.41"): reading, snapping onto the
// unit's tables, the cost of the snapping, and writing a module's bands back.
// Standard library only; the console and nddt share it.

#include "eq/CurveSlotsCore.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A message in the console's two languages.
struct PeqMessage {
    std::string Zh;
    std::string En;
};

// The message with the line it is about in front ("第 3 行：" / "line 3: "); line 0: as it is.
PeqMessage AtLine(int line, PeqMessage msg);

enum class PeqKind { Peak, LowShelf, HighShelf, HighPass, LowPass, Other };

struct PeqFilter {
    int Line = 0;   // 1-based line of the file
    int Number = 0; // filter number as written; 0 when the line has none
    bool On = true;
    PeqKind Kind = PeqKind::Peak;
    std::string TypeText; // the type as written ("LSC", "NO")
    double Freq = 0;
    double Gain = 0;
    double Q = 0;     // as written; for shelves the filter's Q, not the unit's slope
    double Slope = 0; // shelves: 0 when the file gives Q (or nothing), else dB/octave
    bool HasGain = false;
    bool HasQ = false;
};

struct PeqFile {
    bool Ok = false;
    int ErrorLine = 0; // 0 for a problem of the whole file
    PeqMessage Error;
    std::vector<PeqFilter> Filters; // every filter line in file order, other types included
    bool HasPreamp = false;
    double Preamp = 0;
    int NoteLines = 0; // lines of free text (a header, notes) passed over
};

// Reads the bytes of a file. Refuses binary data, an empty file and any filter
// line it cannot read, naming the line.
PeqFile ParsePeqText(std::string_view bytes);

// The unit's value of a shelf's slope for a filter Q at a gain: the console
// draws shelves by slope, so a given Q is converted, not copied. And back.
double ShelfSlopeOfQ(double q, double gainDb);
double ShelfQOfSlope(double slope, double gainDb);

// One band of a module as raw values: type (+10 bypassed), frequency index,
// gain raw, Q for peaking, Q for the other types.
struct PeqBandRaw {
    int32_t v[5] = {0, 0, 120, 25, 19};
    bool operator==(const PeqBandRaw&) const = default;
};

// Band defaults of a module (the band reset's values).
PeqBandRaw DefaultBand(int module, int band);

struct PeqRow {
    PeqFilter Source;
    int Type = 0;                  // band type item 0..4
    double ReqQ = 0;               // the requested Q on the unit's scale (shelves: slope)
    PeqBandRaw Band;               // what the band will hold
    std::vector<PeqMessage> Notes; // values held at the unit's limits
};

struct PeqPlan {
    int Module = 1;
    int Bands = 9;
    std::vector<PeqRow> Rows;       // bands 0 .. Rows.size() - 1, in file order
    std::vector<PeqFilter> Dropped; // no band left for them
    std::vector<PeqFilter> Unsupported;
    std::vector<PeqBandRaw> Current; // the module's bands before the import
};

// Snaps the file's filters onto the module's bands with the typing rules.
// More active filters than bands: the smallest by gain magnitude go first (a
// filter without gain counts as 0 dB; a tie drops the later one); bypassed
// filters take the bands left over.
PeqPlan PlanPeqImport(const PeqFile& file, int module, const std::vector<PeqBandRaw>& current);

// The module's bands after the import; resetOthers gives the bands beyond the
// file's filters their defaults, else they stay as they are.
std::vector<PeqBandRaw> PlannedBands(const PeqPlan& plan, bool resetOthers);

struct PeqDeviation {
    double WorstDb = 0;
    double AtHz = 0;
};
// Worst difference over the graph's range between the file's active filters
// and the planned bands, summed and drawn with the graph's own maths.
PeqDeviation WorstDeviation(const PeqPlan& plan, bool resetOthers);

// The report of a plan: one line per band, then dropped and unsupported filters,
// held values, the preamp and the deviation.
std::vector<std::string> PeqReport(const PeqFile& file, const PeqPlan& plan, bool resetOthers,
                                   bool chinese);

// Dropped and unsupported filters, held values and the preamp, one per line.
std::vector<std::string> PeqNotes(const PeqFile& file, const PeqPlan& plan, bool chinese);

// The module's bands (and crossovers when on) as filter lines, joined by nl.
std::string WritePeqText(int module, const RawParam& raw, const std::string& nl);

// Texts of one band value the way the console shows them.
std::string PeqFreqText(int raw);
std::string PeqGainText(int raw);
std::string PeqQText(int raw);
std::string PeqTypeName(int type); // "参量均衡" ..
