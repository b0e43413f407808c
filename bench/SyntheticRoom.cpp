#include "bench/SyntheticRoom.h"

#include "eq/CurveSlotsCore.h"
#include "params/ParamImage.h"

#include <cmath>
#include <cstdio>
#include <numbers>
#include <random>

namespace {

// Raw outputs of the engine only: its sequence is fixed by the standard, the
// library's distributions are not.
struct Rng {
    explicit Rng(unsigned seed) : e(seed) {}
    double Uniform() { return static_cast<double>(e() >> 5) * (1.0 / 134217728.0); } // [0, 1)
    int Int(int lo, int hi) { return lo + static_cast<int>(Uniform() * (hi - lo + 1)); }
    double Normal() {
        const double u = 1.0 - Uniform(), v = Uniform();
        return std::sqrt(-2 * std::log(u)) * std::cos(2 * std::numbers::pi * v);
    }
    std::mt19937 e;
};

struct RoomCase {
    const char* Name;
    int Bands;
    bool Shelf;
    double Ripple, Noise;
};
const RoomCase RoomCases[] = {
    {"9 peaks, light room", 9, false, 0.5, 0.2},
    {"8 peaks + low shelf", 9, true, 1.0, 0.3},
    {"9 peaks, strong room", 9, false, 2.0, 0.5},
    {"6 peaks, noisy", 6, false, 1.0, 0.8},
    {"7 peaks + shelf, dense", 8, true, 1.5, 0.4},
    {"9 narrow and wide", 9, false, 1.0, 0.3},
};

std::vector<PeqBandRaw> TruthBands(const RoomCase& s, Rng& rng, int n) {
    std::vector<PeqBandRaw> bands(9);
    for (int b = 0; b < 9; ++b) {
        PeqBandRaw& r = bands[static_cast<std::size_t>(b)];
        r.v[1] = DefaultBand(1, b).v[1];
        if (b >= s.Bands) {
            r.v[0] = 10;
            continue;
        }
        // Spread over the range: each band in its own stretch of the table.
        const int lo = 12 + b * 340 / s.Bands, hi = 12 + (b + 1) * 340 / s.Bands - 8;
        r.v[1] = rng.Int(lo, std::max(lo, hi));
        const bool narrow = n == 5 && b % 2 == 0;
        r.v[3] = narrow ? rng.Int(45, 60) : rng.Int(14, 44); // Q 0.53 .. 3.0, or 3.0 .. 6.0
        int g = rng.Int(70, 145);                             // -10 .. +5 dB
        if (std::abs(g - 120) < 10) g = g < 120 ? 108 : 132;
        r.v[2] = g;
        if (s.Shelf && b == 0) {
            r.v[0] = 1;
            r.v[1] = rng.Int(40, 80);
            r.v[4] = rng.Int(13, 31);
        }
    }
    return bands;
}

// The summed response of the bands at frequency f, between the graph's pixels.
double SumAt(const float* sum, double f) {
    const double x = std::clamp(FreqToPixel(f), 0.0, static_cast<double>(CurveWidth));
    const int i = std::min(static_cast<int>(x), CurveWidth - 1);
    return sum[i] + (x - i) * (sum[i + 1] - sum[i]);
}

} // namespace

int SyntheticCaseCount() {
    return static_cast<int>(std::size(RoomCases));
}

SyntheticCase MakeSyntheticCase(int n, int points) {
    const RoomCase& s = RoomCases[n];
    Rng rng(1000u + static_cast<unsigned>(n));
    SyntheticCase c;
    c.Name = s.Name;
    c.Truth = TruthBands(s, rng, n);
    c.RippleDb = s.Ripple;
    c.NoiseDb = s.Noise;
    std::vector<int32_t> image(ImageSlots, 0);
    for (int b = 0; b < 9; ++b)
        for (int k = 0; k < 5; ++k)
            image[static_cast<std::size_t>(BandFirstSlot[1] + 5 * b + k)] =
                c.Truth[static_cast<std::size_t>(b)].v[k];
    image[18] = 361;
    const RawParam raw = [&](int, int i) { return image[static_cast<std::size_t>(i)]; };
    CurveSlot slots[CurveSlotCount];
    const int last = CollectImageSlots(1, raw, 0, 0, slots);
    float sum[CurvePoints];
    SumSlotResponses(slots, last, sum);

    // A reflection of 1/4 to 1/2 the direct sound, 3 to 8 ms late, and a
    // second, weaker one: the comb of a room.
    const double d1 = 0.003 + 0.005 * rng.Uniform(), d2 = 0.011 + 0.007 * rng.Uniform();
    const double a = std::pow(10.0, s.Ripple / 20) - 1;
    c.Measured.Ok = true;
    for (int i = 0; i < points; ++i) {
        const double f = 20 * std::pow(1000.0, i / (points - 1.0));
        const double w = 2 * std::numbers::pi * f;
        const double re = 1 + a * std::cos(w * d1) + 0.5 * a * std::cos(w * d2);
        const double im = -a * std::sin(w * d1) - 0.5 * a * std::sin(w * d2);
        const double room = 10 * std::log10(re * re + im * im);
        c.Measured.Freq.push_back(f);
        c.Measured.Db.push_back(80 - SumAt(sum, f) + room + s.Noise * rng.Normal());
    }
    return c;
}

FitInput SyntheticInput(const SyntheticCase& c) {
    FitInput in;
    in.Measured = c.Measured;
    in.ModuleImage.assign(ImageSlots, 0);
    for (int b = 0; b < 9; ++b) {
        const PeqBandRaw d = DefaultBand(1, b);
        for (int k = 0; k < 5; ++k)
            in.ModuleImage[static_cast<std::size_t>(BandFirstSlot[1] + 5 * b + k)] = d.v[k];
    }
    in.ModuleImage[18] = 361;
    return in;
}

std::string MeasurementText(const Measurement& m, const std::string& title) {
    std::string s = "* " + title + "\n* Freq(Hz) SPL(dB) Phase(degrees)\n";
    char line[64];
    for (std::size_t i = 0; i < m.Freq.size(); ++i) {
        std::snprintf(line, sizeof line, "%.3f %.3f 0.0\n", m.Freq[i], m.Db[i]);
        s += line;
    }
    return s;
}
