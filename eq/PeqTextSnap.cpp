// Snapping filters onto the unit's bands and the cost of it.
#include "eq/PeqText.h"
#include "eq/PeqTextParts.h"

#include "params/ParamCatalog.h"
#include "params/ParamImage.h"
#include "params/ValueScales.h"

#include <algorithm>
#include <cmath>

using namespace peqtext;

double ShelfSlopeOfQ(double q, double gainDb) {
    // The console's shelf takes 1/Q^2 = (A + 1/A)(1/S - 1) + 2.
    const double a = std::pow(10.0, gainDb / 40.0);
    const double inv = (1.0 / (q * q) - 2.0) / (a + 1.0 / a) + 1.0;
    return inv > 0 ? 1.0 / inv : 4.0;
}

double ShelfQOfSlope(double slope, double gainDb) {
    const double a = std::pow(10.0, gainDb / 40.0);
    const double v = std::fabs((a + 1.0 / a) * (1.0 / slope - 1.0) + 2.0);
    return 1.0 / std::sqrt(v);
}

PeqBandRaw DefaultBand(int module, int band) {
    PeqBandRaw b;
    const int count = module >= 0 && module < ModuleCount ? BandCount[module] : 0;
    if (count > 0) b.v[1] = static_cast<int32_t>(RoundHalfEven(360.0 / count * band)) + 5;
    return b;
}

namespace {

constexpr double Butterworth = 0.70710678118654752;

int TypeOf(PeqKind k) {
    switch (k) {
    case PeqKind::Peak:
        return 0;
    case PeqKind::LowShelf:
        return 1;
    case PeqKind::HighShelf:
        return 2;
    case PeqKind::HighPass:
        return 3;
    case PeqKind::LowPass:
        return 4;
    default:
        return -1;
    }
}

// The requested Q on the unit's scale: shelves by slope.
double RequestedQ(const PeqFilter& f) {
    if (IsShelf(f.Kind)) {
        if (f.HasQ) return ShelfSlopeOfQ(f.Q, f.Gain);
        return f.Slope > 0 ? f.Slope / 12.0 : 1.0;
    }
    if (f.Kind == PeqKind::Peak) return f.Q;
    return f.HasQ ? f.Q : Butterworth;
}

PeqRow MakeRow(const PeqFilter& f, const PeqBandRaw& current) {
    PeqRow r;
    r.Source = f;
    r.Type = TypeOf(f.Kind);
    r.ReqQ = RequestedQ(f);
    PeqBandRaw& b = r.Band;
    b = current;
    b.v[0] = r.Type + (f.On ? 0 : 10);
    b.v[1] = static_cast<int32_t>(TextToRaw(2, f.Freq));

    const std::string where[2] = {Where(f, true), Where(f, false)};
    if (HasGainKind(f.Kind)) {
        const double g = TextToRaw(3, f.Gain);
        const double held = std::clamp(g, 0.0, 180.0);
        if (held != g)
            r.Notes.push_back(Msg(where[0] + "：增益 " + Num(f.Gain, 1) + " dB 限制为 " +
                                      Num(GainDb(static_cast<int>(held)), 1) + " dB",
                                  where[1] + ": gain " + Num(f.Gain, 1) + " dB held to " +
                                      Num(GainDb(static_cast<int>(held)), 1) + " dB"));
        b.v[2] = static_cast<int32_t>(held);
    } else {
        b.v[2] = 120;
    }

    // Converted shelf slopes are snapped as if typed with two decimals.
    const double q = f.HasQ && IsShelf(f.Kind) ? RoundHalfEven(r.ReqQ * 100.0) / 100.0 : r.ReqQ;
    const int raw = static_cast<int>(TextToRaw(4, q));
    const int limit = r.Type == 0 ? QRawTop : ShelfQRawTop;
    if (raw > limit)
        r.Notes.push_back(Msg(where[0] + "：Q " + Num(r.ReqQ, 2) + " 限制为 " + QTable[limit],
                              where[1] + ": Q " + Num(r.ReqQ, 2) + " held to " + QTable[limit]));
    if (r.Type == 0) {
        b.v[3] = std::min(raw, QRawTop); // also when bypassed: the Q for when it is switched on
        // A bypassed band's field shows the second slot: the same Q, held to its range.
        if (!f.On) b.v[4] = std::min(raw, ShelfQRawTop);
    } else {
        b.v[4] = std::min(raw, ShelfQRawTop);
    }
    return r;
}

double GainOf(const PeqFilter& f) {
    return HasGainKind(f.Kind) ? std::fabs(f.Gain) : 0.0;
}

} // namespace

PeqPlan PlanPeqImport(const PeqFile& file, int module, const std::vector<PeqBandRaw>& current) {
    PeqPlan plan;
    plan.Module = module == 2 ? 2 : 1;
    plan.Bands = BandCount[plan.Module];
    plan.Current = current;
    for (int b = static_cast<int>(plan.Current.size()); b < plan.Bands; ++b)
        plan.Current.push_back(DefaultBand(plan.Module, b));
    plan.Current.resize(static_cast<std::size_t>(plan.Bands));

    std::vector<const PeqFilter*> usable;
    for (const PeqFilter& f : file.Filters) {
        if (f.Kind == PeqKind::Other)
            plan.Unsupported.push_back(f);
        else
            usable.push_back(&f);
    }
    std::vector<const PeqFilter*> active;
    for (const PeqFilter* f : usable)
        if (f->On) active.push_back(f);
    std::vector<const PeqFilter*> drop;
    if (static_cast<int>(active.size()) > plan.Bands) {
        std::vector<const PeqFilter*> order = active;
        std::stable_sort(order.begin(), order.end(), [](const PeqFilter* a, const PeqFilter* b) {
            if (GainOf(*a) != GainOf(*b)) return GainOf(*a) < GainOf(*b);
            return a->Line > b->Line;
        });
        drop.assign(order.begin(), order.begin() + (static_cast<long>(active.size()) - plan.Bands));
    }
    const int keptActive = static_cast<int>(active.size() - drop.size());
    int room = plan.Bands - keptActive;
    for (const PeqFilter* f : usable) {
        const bool dropped = std::find(drop.begin(), drop.end(), f) != drop.end();
        if (!dropped && !f->On) {
            if (room > 0)
                --room;
            else {
                plan.Dropped.push_back(*f);
                continue;
            }
        }
        if (dropped) {
            plan.Dropped.push_back(*f);
            continue;
        }
        const std::size_t band = plan.Rows.size();
        plan.Rows.push_back(MakeRow(*f, plan.Current[band]));
    }
    return plan;
}

std::vector<PeqBandRaw> PlannedBands(const PeqPlan& plan, bool resetOthers) {
    std::vector<PeqBandRaw> out = plan.Current;
    for (std::size_t b = 0; b < out.size(); ++b) {
        if (b < plan.Rows.size())
            out[b] = plan.Rows[b].Band;
        else if (resetOthers)
            out[b] = DefaultBand(plan.Module, static_cast<int>(b));
    }
    return out;
}

PeqDeviation WorstDeviation(const PeqPlan& plan, bool resetOthers) {
    float wanted[CurvePoints]{};
    float shape[CurvePoints];
    auto add = [&](const PeqFilter& f) {
        if (!f.On || f.Kind == PeqKind::Other) return;
        BandResponse(
            shape, RoundEvenInt(f.Freq), static_cast<uint8_t>(TypeOf(f.Kind)),
            static_cast<float>(RequestedQ(f)),
            // Held where the single-precision shapes still hold: far beyond any unit.
            static_cast<float>(HasGainKind(f.Kind) ? std::clamp(f.Gain, -96.0, 96.0) : 0.0));
        for (int j = 0; j < CurvePoints; ++j)
            wanted[j] += shape[j];
    };
    for (const PeqRow& r : plan.Rows)
        add(r.Source);
    for (const PeqFilter& f : plan.Dropped)
        add(f);

    // The bands as the graph draws them, crossovers left out.
    const std::vector<PeqBandRaw> bands = PlannedBands(plan, resetOthers);
    const int m = plan.Module;
    const int first = BandFirstSlot[m];
    const RawParam raw = [&](int, int index) -> int32_t {
        const int k = index - first;
        if (k >= 0 && k < 5 * plan.Bands) return bands[static_cast<std::size_t>(k / 5)].v[k % 5];
        return index == CrossoverOf(m).LowPassFreq ? FreqRawTop : 0; // crossovers drawn flat
    };
    CurveSlot slots[CurveSlotCount];
    const int last = CollectImageSlots(m, raw, 0, 0, slots);
    float unit[CurvePoints];
    SumSlotResponses(slots, last, unit);

    PeqDeviation d;
    for (int j = 0; j < CurvePoints; ++j) {
        const double diff = std::fabs(static_cast<double>(wanted[j]) - unit[j]);
        if (diff > d.WorstDb) {
            d.WorstDb = diff;
            d.AtHz = PixelToFreq(j);
        }
    }
    return d;
}
