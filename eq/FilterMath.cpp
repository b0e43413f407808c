#include "eq/FilterMath.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

double RoundEven(double x) {
    return std::nearbyint(x);
} // default mode: ties to even

int RoundEvenInt(double x) {
    // A response built from wild device values can be infinite or not a number;
    // its pixel lies far off the image, so saturate rather than overflow.
    constexpr double lo = std::numeric_limits<int>::min() / 2;
    constexpr double hi = std::numeric_limits<int>::max() / 2;
    if (std::isnan(x)) return 0;
    return static_cast<int>(RoundEven(std::clamp(x, lo, hi)));
}

double FreqToPixel(double f) {
    return (std::log10(std::max(f, 1.0)) - 1.0) / FreqDecades * CurveWidth;
}

double PixelToFreq(double x) {
    return std::pow(10.0, x * FreqDecades / CurveWidth + 1.0);
}

namespace {

constexpr double Pi = std::numbers::pi;

struct Biquad {
    float a0 = 1, a1 = 0, a2 = 0, b0 = 1, b1 = 0, b2 = 0;
};

// The prototype's corner: the single nearest to pi/2, so cos is a tiny
// negative number rather than 0.
struct Prototype {
    float w0 = static_cast<float>(Pi / 2);
    float c = static_cast<float>(std::cos(static_cast<double>(w0)));
    float s = static_cast<float>(std::sin(static_cast<double>(w0)));
};
const Prototype Proto;

enum class Sweep { Linear, Shelf, Cross };

// P = (2 sin(w/2))^2 along each sweep; the sweeps never change.
struct SweepTables {
    std::array<double, CurvePoints> P[3];
    SweepTables() {
        constexpr double W = CurveWidth;
        const int gShelf = RoundEvenInt(W * 120.0 / 512.0);
        const int gCross = RoundEvenInt(W * 140.0 / 512.0);
        for (int i = 0; i <= CurveWidth; ++i) {
            const double lin = i * Pi / W;
            P[0][i] = sq(2.0 * std::sin(lin / 2.0));
            P[1][i] = sq(2.0 * std::sin(warped(i, gShelf, true) / 2.0));
            P[2][i] = sq(2.0 * std::sin(warped(i, gCross, false) / 2.0));
        }
    }
    static double sq(double v) { return v * v; }
    // Pixels G .. W - G carry the whole 0 .. pi range; the margins are flat.
    static double warped(int i, int g, bool inclusive) {
        constexpr double W = CurveWidth;
        constexpr double H = CurveHalf;
        const double G = g;
        if (i <= CurveHalf) {
            const bool beyond = inclusive ? i >= g : i > g;
            return beyond ? H * (i - G) / (H - G) * Pi / W : Pi / W;
        }
        if (i <= CurveWidth - g) return (H + H * (i - H) / (H - G)) * Pi / W;
        return (W - 1) * Pi / W;
    }
};

const SweepTables& Sweeps() {
    static const SweepTables tables;
    return tables;
}

// Closed-form magnitude of the biquad along a sweep, then slid so that the
// shape's corner lands on the band's pixel.
void Evaluate(float* out, int freqHz, const Biquad& q, Sweep sweep, bool lowPassGuard) {
    const auto& P = Sweeps().P[static_cast<int>(sweep)];
    const double b0 = q.b0, b1 = q.b1, b2 = q.b2, a0 = q.a0, a1 = q.a1, a2 = q.a2;
    const double Bs = (b0 + b1 + b2) * (b0 + b1 + b2);
    const double Bx = b1 * (b0 + b2) + 4.0 * b0 * b2;
    const double As = (a0 + a1 + a2) * (a0 + a1 + a2);
    const double Ax = a1 * (a0 + a2) + 4.0 * a0 * a2;
    const double b02 = b0 * b2;
    const double a02 = a0 * a2;

    float shape[CurvePoints];
    for (int i = 0; i <= CurveWidth; ++i) {
        const double p = P[i];
        const double num = p * (b02 * p - Bx) + Bs;
        const double den = p * (a02 * p - Ax) + As;
        // The low-pass zero at w = pi: repeat the previous point.
        if (lowPassGuard && (static_cast<float>(num) == 0.0f || static_cast<float>(den) == 0.0f)) {
            shape[i] = i > 0 ? shape[i - 1] : 0.0f;
            continue;
        }
        shape[i] = static_cast<float>(10.0 * std::log10(num) - 10.0 * std::log10(den));
    }

    const double f = std::max(freqHz, 10);
    int K = RoundEvenInt((std::log10(f) - 1.0) / FreqDecades * CurveWidth);
    K = std::clamp(K, 0, CurveWidth);
    for (int t = 0; t <= K; ++t)
        out[K - t] = CurveHalf - t >= 0 ? shape[CurveHalf - t] : shape[0];
    for (int t = 1; K + t <= CurveWidth; ++t)
        out[K + t] = CurveHalf + t < CurveWidth ? shape[CurveHalf + t] : shape[CurveWidth - 1];
}

float Gain40(float gain) {
    return static_cast<float>(std::pow(10.0, gain / 40.0));
}

float VariQ(float q) {
    return std::min(q, 4.0f) + 0.001f;
}

float ModeQ(PassMode mode, float q, int order, int section) {
    switch (mode) {
    case PassMode::Bessel:
        return static_cast<float>(1.0 / std::sqrt(3.0));
    case PassMode::Butterworth:
        return static_cast<float>(1.0 / std::sqrt(2.0));
    case PassMode::VariQ:
        return VariQ(q);
    case PassMode::ButterworthSection:
        return static_cast<float>(1.0 / (2.0 * std::sin(Pi / order * (section + 0.5))));
    default:
        return 1.0f;
    }
}

Biquad PassBiquad(bool high, PassMode mode, float q, int order, int section) {
    const double c = Proto.c, s = Proto.s;
    Biquad bq;
    if (mode == PassMode::Off) return bq;
    if (mode == PassMode::FirstOrder) {
        bq.a0 = static_cast<float>(1 + c + s);
        bq.a1 = static_cast<float>(s - c - 1);
        bq.a2 = 0;
        if (high) {
            bq.b0 = static_cast<float>(1 + c);
            bq.b1 = static_cast<float>(-(1 + c));
        } else {
            bq.b0 = static_cast<float>(s);
            bq.b1 = static_cast<float>(s);
        }
        bq.b2 = 0;
        return bq;
    }
    const double Q = ModeQ(mode, q, order, section);
    const double alpha = static_cast<float>(s / (2.0 * Q));
    bq.a0 = static_cast<float>(1 + alpha);
    bq.a1 = static_cast<float>(-2 * c);
    bq.a2 = static_cast<float>(1 - alpha);
    if (high) {
        bq.b0 = static_cast<float>((1 + c) / 2);
        bq.b1 = static_cast<float>(-(1 + c));
        bq.b2 = static_cast<float>((1 + c) / 2);
    } else {
        bq.b0 = static_cast<float>((1 - c) / 2);
        bq.b1 = static_cast<float>(1 - c);
        bq.b2 = static_cast<float>((1 - c) / 2);
    }
    return bq;
}

} // namespace

void PeakResponse(float* out, int freqHz, float q, float gain) {
    const double c = Proto.c, s = Proto.s;
    const double A = Gain40(gain);
    // Widened so that the drawn bell matches the device's idea of Q.
    const float qw = static_cast<float>((q + 0.01) / (5.0 / 14.0));
    const double alpha = static_cast<float>(s / (2.0 * qw));
    Biquad bq;
    bq.a0 = static_cast<float>(1 + alpha / A);
    bq.a1 = static_cast<float>(-2 * c);
    bq.a2 = static_cast<float>(1 - alpha / A);
    bq.b0 = static_cast<float>(1 + alpha * A);
    bq.b1 = static_cast<float>(-2 * c);
    bq.b2 = static_cast<float>(1 - alpha * A);
    Evaluate(out, freqHz, bq, Sweep::Linear, false);
}

void ShelfResponse(float* out, int freqHz, bool high, float q, float gain) {
    const double c = Proto.c, s = Proto.s;
    const double A = Gain40(gain);
    const double S = std::min(q, 4.0f) + 0.001f;
    // The absolute value keeps the root real when a steep slope meets a large gain.
    const double alpha =
        static_cast<float>((s / 2.0) * std::sqrt(std::fabs((A + 1.0 / A) * (1.0 / S - 1.0) + 2.0)));
    const double ra = 2.0 * std::sqrt(A) * alpha;
    Biquad bq;
    if (!high) {
        bq.a0 = static_cast<float>((A + 1) + (A - 1) * c + ra);
        bq.a1 = static_cast<float>(-2 * ((A - 1) + (A + 1) * c));
        bq.a2 = static_cast<float>((A + 1) + (A - 1) * c - ra);
        bq.b0 = static_cast<float>(A * ((A + 1) - (A - 1) * c + ra));
        bq.b1 = static_cast<float>(2 * A * ((A - 1) - (A + 1) * c));
        bq.b2 = static_cast<float>(A * ((A + 1) - (A - 1) * c - ra));
    } else {
        bq.a0 = static_cast<float>((A + 1) - (A - 1) * c + ra);
        bq.a1 = static_cast<float>(2 * ((A - 1) - (A + 1) * c));
        bq.a2 = static_cast<float>((A + 1) - (A - 1) * c - ra);
        bq.b0 = static_cast<float>(A * ((A + 1) + (A - 1) * c + ra));
        bq.b1 = static_cast<float>(-2 * A * ((A - 1) + (A + 1) * c));
        bq.b2 = static_cast<float>(A * ((A + 1) + (A - 1) * c - ra));
    }
    Evaluate(out, freqHz, bq, Sweep::Shelf, false);
}

void HighPassResponse(float* out, int freqHz, PassMode mode, float q, int order, int section) {
    Evaluate(out, freqHz, PassBiquad(true, mode, q, order, section), Sweep::Cross, false);
}

void LowPassResponse(float* out, int freqHz, PassMode mode, float q, int order, int section) {
    Evaluate(out, freqHz, PassBiquad(false, mode, q, order, section), Sweep::Cross, true);
}

float RemapQ(float q) {
    if (q == 102.0f) return 98.0f;
    if (q == 108.0f) return 100.0f;
    if (q == 114.0f) return 101.0f;
    if (q == 121.0f) return 102.0f;
    if (q == 128.0f) return 103.0f;
    return q;
}

void BandResponse(float* out, int freqHz, uint8_t type, float q, float gain) {
    const int x = RoundEvenInt(FreqToPixel(freqHz));
    const int f = RoundEvenInt(PixelToFreq(x));
    q = RemapQ(q);

    auto pass = [&](bool high, PassMode mode, int order = 4, int section = 0) {
        if (high)
            HighPassResponse(out, f, mode, q, order, section);
        else
            LowPassResponse(out, f, mode, q, order, section);
    };
    // Cascaded sections add in dB.
    auto twoSections = [&](bool high, PassMode mode, int s1, int s2) {
        float first[CurvePoints];
        float second[CurvePoints];
        if (high) {
            HighPassResponse(first, f, mode, q, 4, s1);
            HighPassResponse(second, f, mode, q, 4, s2);
        } else {
            LowPassResponse(first, f, mode, q, 4, s1);
            LowPassResponse(second, f, mode, q, 4, s2);
        }
        for (int i = 0; i <= CurveWidth; ++i)
            out[i] = first[i] + second[i];
    };

    switch (type) {
    case 0:
        PeakResponse(out, f, q, gain);
        return;
    case 1:
        ShelfResponse(out, f, false, q, gain);
        return;
    case 2:
        ShelfResponse(out, f, true, q, gain);
        return;
    case 3:
        pass(true, PassMode::VariQ);
        return;
    case 4:
        pass(false, PassMode::VariQ);
        return;
    default:
        break;
    }
    if (type < 100) {
        PeakResponse(out, f, q, 0.0f); // bypassed: flat
        return;
    }
    const bool high = type < 200;
    switch (type % 100) {
    case 1:
        pass(high, PassMode::Bessel);
        return;
    case 2:
        pass(high, PassMode::Butterworth);
        return;
    case 3:
        twoSections(high, PassMode::FirstOrder, 0, 0);
        return;
    case 4:
        twoSections(high, PassMode::Bessel, 0, 0);
        return;
    case 5:
        twoSections(high, PassMode::ButterworthSection, 0, 1);
        return;
    case 6:
        twoSections(high, PassMode::Butterworth, 0, 0);
        return;
    default:
        pass(high, PassMode::Off); // "OFF" and codes no box produces
        return;
    }
}
