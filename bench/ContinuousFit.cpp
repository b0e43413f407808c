#include "bench/ContinuousFit.h"

#include "eq/CurveSlotsCore.h"
#include "params/ValueScales.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

struct FreeBand {
    int Type = -1; // 0 peaking, 1 low shelf, 2 high shelf
    double X = 0;  // pixel of the centre, fractional
    double Q = 1;
    double Gain = 0;
};

class FreeFit {
public:
    FreeFit(std::vector<double> base, int first, const FitOptions& o)
        : base_(std::move(base)), p0_(first), n_(static_cast<int>(base_.size())), o_(o),
          r_(base_) {}

    void Fill(const FreeBand& b, std::vector<double>& out) const {
        out.assign(static_cast<std::size_t>(n_), 0.0);
        if (b.Type < 0) return;
        float shape[CurvePoints];
        // A band at 490 Hz lands on pixel 231: the response is the shape.
        if (b.Type == 0)
            PeakResponse(shape, 490, static_cast<float>(b.Q), static_cast<float>(b.Gain));
        else
            ShelfResponse(shape, 490, b.Type == 2, static_cast<float>(b.Q),
                          static_cast<float>(b.Gain));
        for (int i = 0; i < n_; ++i) {
            const double at = std::clamp(CurveHalf + p0_ + i - b.X, 0.0, CurveWidth - 1.0);
            const int k = std::min(static_cast<int>(at), CurveWidth - 2);
            out[static_cast<std::size_t>(i)] = shape[k] + (at - k) * (shape[k + 1] - shape[k]);
        }
    }
    double Var(const std::vector<double>& rest, const std::vector<double>& c) const {
        double s1 = 0, s2 = 0;
        for (int i = 0; i < n_; ++i) {
            const double v = rest[static_cast<std::size_t>(i)] + c[static_cast<std::size_t>(i)];
            s1 += v;
            s2 += v * v;
        }
        return s2 / n_ - (s1 / n_) * (s1 / n_);
    }
    double Cost() const { return Var(r_, std::vector<double>(static_cast<std::size_t>(n_), 0.0)); }

    std::vector<FreeBand> Run(int count) {
        bands_.assign(static_cast<std::size_t>(count), FreeBand{});
        contrib_.assign(static_cast<std::size_t>(count), std::vector<double>(static_cast<std::size_t>(n_)));
        for (std::size_t i = 0; i < bands_.size(); ++i) {
            Set(i, SeedBand(i));
            Polish(i, 1e-3);
        }
        for (double tol : {1e-2, 1e-3, 1e-4})
            for (int pass = 0; pass < 30; ++pass) {
                const double before = Cost();
                for (std::size_t i = 0; i < bands_.size(); ++i)
                    Polish(i, tol);
                if (Cost() > before - 1e-9) break;
            }
        return bands_;
    }

private:
    std::vector<double> Rest(std::size_t i) const {
        std::vector<double> rest = r_;
        for (int j = 0; j < n_; ++j)
            rest[static_cast<std::size_t>(j)] -= contrib_[i][static_cast<std::size_t>(j)];
        return rest;
    }
    void Set(std::size_t i, const FreeBand& b) {
        for (int j = 0; j < n_; ++j)
            r_[static_cast<std::size_t>(j)] -= contrib_[i][static_cast<std::size_t>(j)];
        bands_[i] = b;
        Fill(b, contrib_[i]);
        for (int j = 0; j < n_; ++j)
            r_[static_cast<std::size_t>(j)] += contrib_[i][static_cast<std::size_t>(j)];
    }
    double QMax(int type) const { return type == 0 ? 20.0 : 1.4; }
    FreeBand Clamp(FreeBand b) const {
        b.Q = std::clamp(b.Q, 0.1, QMax(b.Type));
        b.Gain = std::clamp(b.Gain, -24.0, o_.MaxBoostDb);
        b.X = std::clamp(b.X, static_cast<double>(p0_), static_cast<double>(p0_ + n_ - 1));
        return b;
    }
    FreeBand SeedBand(std::size_t i) {
        const std::vector<double> rest = Rest(i);
        FreeBand best;
        double bestVar = Var(rest, std::vector<double>(static_cast<std::size_t>(n_), 0.0));
        std::vector<double> c;
        for (int type = 0; type <= (o_.Shelves ? 2 : 0); ++type)
            for (int x = p0_; x < p0_ + n_; x += 2)
                for (double q : {0.3, 0.5, 0.7, 1.0, 1.4, 2.0, 3.0, 4.5, 6.0, 9.0})
                    for (double g : {-12.0, -9.0, -6.0, -4.0, -2.0, -1.0, 1.0, 2.0, 4.0, 6.0}) {
                        const FreeBand b = Clamp({type, static_cast<double>(x), q, g});
                        if (b.Type != 0 && q > 1.4) continue;
                        Fill(b, c);
                        const double v = Var(rest, c);
                        if (v < bestVar) {
                            bestVar = v;
                            best = b;
                        }
                    }
        return best;
    }
    // Pattern search on one band: each value stepped both ways, steps halved
    // when nothing helps.
    void Polish(std::size_t i, double tol) {
        if (bands_[i].Type < 0) return;
        const std::vector<double> rest = Rest(i);
        std::vector<double> c;
        FreeBand b = bands_[i];
        Fill(b, c);
        double cur = Var(rest, c);
        double step[3] = {2.0, 0.2, 0.5}; // pixels, log Q, dB
        while (step[0] > tol * 20) {
            bool moved = false;
            for (int p = 0; p < 3; ++p)
                for (int s : {-1, 1}) {
                    FreeBand t = b;
                    if (p == 0) t.X += s * step[0];
                    if (p == 1) t.Q *= std::exp(s * step[1]);
                    if (p == 2) t.Gain += s * step[2];
                    t = Clamp(t);
                    Fill(t, c);
                    const double v = Var(rest, c);
                    if (v < cur - 1e-12) {
                        cur = v;
                        b = t;
                        moved = true;
                    }
                }
            if (!moved)
                for (double& st : step)
                    st /= 2;
        }
        Set(i, b);
    }

    std::vector<double> base_;
    int p0_, n_;
    FitOptions o_;
    std::vector<double> r_;
    std::vector<FreeBand> bands_;
    std::vector<std::vector<double>> contrib_;
};

} // namespace

ContinuousOutcome ContinuousFitThenSnap(const FitInput& in) {
    ContinuousOutcome out;
    int first = 0;
    std::vector<double> base = FitBaseline(in, first);
    FreeFit fit(std::move(base), first, in.Options);
    const std::vector<FreeBand> bands = fit.Run(9);
    out.FreeRms = std::sqrt(std::max(0.0, fit.Cost()));
    // Snapped as typed: nearest frequency, next Q up, nearest 0.2 dB.
    out.Snapped.assign(9, PeqBandRaw{});
    for (std::size_t b = 0; b < 9; ++b) {
        PeqBandRaw& r = out.Snapped[b];
        r.v[1] = DefaultBand(1, static_cast<int>(b)).v[1];
        const FreeBand& f = bands[b];
        if (f.Type < 0) {
            r.v[0] = 10;
            continue;
        }
        r.v[0] = f.Type;
        r.v[1] = static_cast<int32_t>(TextToRaw(2, PixelToFreq(f.X)));
        r.v[2] = std::clamp(static_cast<int32_t>(TextToRaw(3, f.Gain)), 0, 180);
        r.v[f.Type == 0 ? 3 : 4] =
            std::min(static_cast<int32_t>(TextToRaw(4, f.Q)), f.Type == 0 ? 109 : 31);
    }
    out.SnappedRms = ScoreBands(in, out.Snapped).Rms;
    return out;
}

double CurveDistance(const FitInput& in, const std::vector<PeqBandRaw>& a,
                     const std::vector<PeqBandRaw>& b) {
    int first = 0;
    const std::vector<double> base = FitBaseline(in, first);
    std::vector<float> ca(CurvePoints), cb(CurvePoints);
    auto sum = [&](const std::vector<PeqBandRaw>& bands, std::vector<float>& out) {
        std::vector<int32_t> image = in.ModuleImage;
        for (int s = 0; s < 9; ++s)
            for (int k = 0; k < 5; ++k)
                image[static_cast<std::size_t>(20 + 5 * s + k)] = bands[static_cast<std::size_t>(s)].v[k];
        const RawParam raw = [&](int, int i) { return image[static_cast<std::size_t>(i)]; };
        CurveSlot slots[CurveSlotCount];
        const int last = CollectImageSlots(1, raw, 0, 0, slots);
        SumSlotResponses(slots, last, out.data());
    };
    sum(a, ca);
    sum(b, cb);
    double s1 = 0, s2 = 0;
    const int n = static_cast<int>(base.size());
    for (int j = first; j < first + n; ++j) {
        const double d = ca[static_cast<std::size_t>(j)] - cb[static_cast<std::size_t>(j)];
        s1 += d;
        s2 += d * d;
    }
    return std::sqrt(std::max(0.0, s2 / n - (s1 / n) * (s1 / n)));
}
