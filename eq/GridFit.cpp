#include "eq/GridFit.h"

#include "eq/CurveSlotsCore.h"
#include "eq/GridFitSearch.h"
#include "params/ParamImage.h"
#include "params/ValueScales.h"

#include <algorithm>
#include <cmath>
#include <limits>

// The fit's input on the graph's grid, its scores and its result; the search
// itself is in GridFitSearch.

namespace {

using Band = GridBand;
constexpr int GainZero = 120; // raw gain of 0 dB

RawParam ImageRaw(const FitInput& in) {
    return [&in](int, int index) -> int32_t {
        return index >= 0 && index < static_cast<int>(in.ModuleImage.size())
                   ? in.ModuleImage[static_cast<std::size_t>(index)]
                   : 0;
    };
}

int ModuleOf(const FitInput& in) {
    return in.Options.Module == 2 ? 2 : 1;
}

// The summed response of bands and crossovers at every pixel.
void SumWithBands(const FitInput& in, const std::vector<PeqBandRaw>* bands, bool withBands,
                  float* out) {
    const int m = ModuleOf(in);
    std::vector<int32_t> image = in.ModuleImage;
    image.resize(ImageSlots, 0);
    if (bands)
        for (int b = 0; b < BandCount[m] && b < static_cast<int>(bands->size()); ++b)
            for (int k = 0; k < 5; ++k)
                image[static_cast<std::size_t>(BandFirstSlot[m] + 5 * b + k)] =
                    (*bands)[static_cast<std::size_t>(b)].v[k];
    const RawParam raw = [&image](int, int i) -> int32_t {
        return i >= 0 && i < static_cast<int>(image.size()) ? image[static_cast<std::size_t>(i)] : 0;
    };
    CurveSlot slots[CurveSlotCount];
    const int last = CollectImageSlots(m, raw, in.HighPassItem, in.LowPassItem, slots);
    if (!withBands)
        for (int b = 0; b < BandCount[m]; ++b)
            slots[b] = CurveSlot{10, 0, 1000, 1};
    SumSlotResponses(slots, last, out);
}

std::vector<PeqBandRaw> BandsOf(const FitInput& in) {
    const int m = ModuleOf(in);
    std::vector<PeqBandRaw> bands(static_cast<std::size_t>(BandCount[m]));
    const RawParam raw = ImageRaw(in);
    for (int b = 0; b < BandCount[m]; ++b)
        for (int k = 0; k < 5; ++k)
            bands[static_cast<std::size_t>(b)].v[k] = raw(m, BandFirstSlot[m] + 5 * b + k);
    return bands;
}

struct Grid {
    int First = 0, Count = 0;
    double FromHz = 0, ToHz = 0;
    std::array<double, CurvePoints> Measured{}; // per pixel, NaN where not measured
    std::array<double, CurvePoints> Target{};
};

// The measurement per pixel: the mean of its points inside the pixel, or the
// interpolated level where the pixel holds none.
Grid MakeGrid(const FitInput& in) {
    Grid g;
    const Measurement& m = in.Measured;
    g.FromHz = std::max(in.Options.FromHz, m.Freq.front());
    g.ToHz = std::min(in.Options.ToHz, m.Freq.back());
    std::size_t p = 0;
    g.First = -1;
    for (int j = 0; j < CurvePoints; ++j) {
        const double f = PixelToFreq(j);
        const double lo = PixelToFreq(j - 0.5), hi = PixelToFreq(j + 0.5);
        g.Measured[static_cast<std::size_t>(j)] = std::numeric_limits<double>::quiet_NaN();
        g.Target[static_cast<std::size_t>(j)] = TargetAt(in.Target, f);
        while (p < m.Freq.size() && m.Freq[p] < lo) ++p;
        if (f < m.Freq.front() || f > m.Freq.back()) continue;
        double sum = 0;
        int count = 0;
        for (std::size_t q = p; q < m.Freq.size() && m.Freq[q] < hi; ++q) {
            sum += m.Db[q];
            ++count;
        }
        g.Measured[static_cast<std::size_t>(j)] = count > 0 ? sum / count : MeasurementAt(m, f);
        if (f >= g.FromHz && f <= g.ToHz) {
            if (g.First < 0) g.First = j;
            g.Count = j - g.First + 1;
        }
    }
    return g;
}

FitScore Score(const Grid& g, const float* sum) {
    FitScore s;
    double s1 = 0, s2 = 0;
    for (int j = g.First; j < g.First + g.Count; ++j) {
        const double r = g.Measured[static_cast<std::size_t>(j)] + sum[j] -
                         g.Target[static_cast<std::size_t>(j)];
        s1 += r;
        s2 += r * r;
    }
    s.Offset = s1 / g.Count;
    s.Rms = std::sqrt(std::max(0.0, s2 / g.Count - s.Offset * s.Offset));
    for (int j = g.First; j < g.First + g.Count; ++j) {
        const double d = std::fabs(g.Measured[static_cast<std::size_t>(j)] + sum[j] -
                                   g.Target[static_cast<std::size_t>(j)] - s.Offset);
        if (d > s.Worst) {
            s.Worst = d;
            s.WorstHz = PixelToFreq(j);
        }
    }
    s.Boost = *std::max_element(sum, sum + CurvePoints);
    return s;
}

// Fitted bands into the module's slots: lowest frequency first, the unused
// bands flat and bypassed; the Q field a type does not use keeps its value.
std::vector<PeqBandRaw> ToRaw(const std::vector<Band>& fit, const std::vector<PeqBandRaw>& before) {
    std::vector<Band> used;
    for (const Band& b : fit)
        if (b.Type >= 0) used.push_back(b);
    std::stable_sort(used.begin(), used.end(),
                     [](const Band& a, const Band& b) { return a.K < b.K; });
    std::vector<PeqBandRaw> out = before;
    for (std::size_t i = 0; i < out.size(); ++i) {
        PeqBandRaw& r = out[i];
        if (i < used.size()) {
            const Band& b = used[i];
            r.v[0] = b.Type;
            r.v[1] = b.K;
            r.v[2] = b.G;
            r.v[b.Type == 0 ? 3 : 4] = b.Q;
        } else {
            r.v[0] = 10; // bypassed peaking at 0 dB: flat, and flat when switched on
            r.v[2] = GainZero;
        }
    }
    return out;
}

} // namespace

std::string CheckFitOptions(const FitOptions& o, bool zh) {
    if (!(o.FromHz >= 10) || !(o.ToHz <= 24000) || !(o.ToHz >= 2 * o.FromHz))
        return zh ? "频率范围须在 10 Hz 至 24 kHz 之内，且至少一个倍频程"
                  : "the range lies within 10 Hz to 24 kHz and spans at least an octave";
    if (!(o.MaxBoostDb >= 0 && o.MaxBoostDb <= 12))
        return zh ? "最大提升须在 0 至 12 dB 之间" : "the largest boost is 0 to 12 dB";
    if (o.Bands < 0) return zh ? "频段数不能为负" : "the number of bands cannot be negative";
    return {};
}

std::vector<double> FitBaseline(const FitInput& in, int& first) {
    std::vector<double> base;
    if (!in.Measured.Ok || !CheckFitOptions(in.Options, false).empty()) return base;
    const Grid g = MakeGrid(in);
    float fixed[CurvePoints];
    SumWithBands(in, nullptr, false, fixed);
    first = g.First;
    for (int j = g.First; j < g.First + g.Count; ++j) {
        const auto u = static_cast<std::size_t>(j);
        base.push_back(g.Measured[u] + fixed[u] - g.Target[u]);
    }
    return base;
}

FitScore ScoreBands(const FitInput& in, const std::vector<PeqBandRaw>& bands) {
    const Grid g = MakeGrid(in);
    float sum[CurvePoints];
    SumWithBands(in, &bands, true, sum);
    return g.Count > 0 ? Score(g, sum) : FitScore{};
}

FitResult FitToMeasurement(const FitInput& in, const FitProgress& progress) {
    FitResult r;
    r.Module = ModuleOf(in);
    const std::string wrongZh = CheckFitOptions(in.Options, true);
    if (!wrongZh.empty() || !in.Measured.Ok) {
        r.Error = in.Measured.Ok ? PeqMessage{wrongZh, CheckFitOptions(in.Options, false)}
                                 : in.Measured.Error;
        return r;
    }
    const Grid g = MakeGrid(in);
    if (g.Count < 10) {
        r.Error = {"测量在所选范围内的点太少", "the measurement covers too little of the range"};
        return r;
    }
    r.FromHz = g.FromHz;
    r.ToHz = g.ToHz;
    r.GridPoints = g.Count;
    r.Before = BandsOf(in);

    int first = 0;
    std::vector<double> base = FitBaseline(in, first);
    const int m = r.Module;
    const int count = in.Options.Bands > 0 ? std::min(in.Options.Bands, BandCount[m]) : BandCount[m];
    std::vector<Band> bands;
    try {
        bands = SearchGridBands(std::move(base), g.First, in.Options, progress, count, r.Moves);
    } catch (const FitCancelled&) {
        r.Cancelled = true;
        return r;
    }
    r.After = ToRaw(bands, r.Before);
    float sum[CurvePoints];
    SumWithBands(in, &r.Before, true, sum);
    r.ScoreBefore = Score(g, sum);
    SumWithBands(in, &r.After, true, sum);
    r.ScoreAfter = Score(g, sum);
    std::copy(sum, sum + CurvePoints, r.AfterSum.begin());
    for (int j = 0; j < CurvePoints; ++j) {
        const auto u = static_cast<std::size_t>(j);
        const bool shown = !std::isnan(g.Measured[u]);
        r.MeasuredPx[u] = shown ? static_cast<float>(g.Measured[u] - r.ScoreAfter.Offset)
                                : std::numeric_limits<float>::quiet_NaN();
        r.TargetPx[u] = shown ? static_cast<float>(g.Target[u]) : std::numeric_limits<float>::quiet_NaN();
    }
    r.Ok = true;
    return r;
}
