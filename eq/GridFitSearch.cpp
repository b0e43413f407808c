#include "eq/GridFitSearch.h"

#include "eq/FilterMath.h"
#include "params/ValueScales.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>

// The search works on the logical pixels of the graph inside the range, where
// the console's band shapes are defined. A band's shape depends on type, Q and
// gain only and is slid to its frequency's pixel, so each shape is built once
// (with the graph's own BandResponse) and a candidate costs one pass over the
// grid. The error is the variance of measurement + crossovers + bands - target:
// the best level offset is always taken out, so no band is spent on level.
//
// 1. Seeding: one band at a time, every (type, frequency, Q) on a coarse lattice
//    is scored by the best gain of its shape against the residual (a projection),
//    the best is placed and polished.
// 2. Descent on the grid: per band, neighbouring frequency (up to 12) and Q (up
//    to 8) indexes, diagonals and type changes are screened with the gain
//    re-chosen, the best few scored exactly; the best move is taken until none
//    helps.
// 3. Escapes: each band, then each pair of neighbouring bands, is taken out and
//    placed again at the best, second or third best place the residual offers,
//    kept when the whole set ends better.
// 4. Bands that lower the RMS by less than 0.05 dB are left flat (bypassed).

namespace {

using Band = GridBand;
using Cancelled = FitCancelled;

constexpr int GainZero = 120; // raw gain of 0 dB
constexpr int GainTop = GainRawTop;
constexpr int PeakQs = QRawTop + 1;
constexpr int ShelfQs = ShelfQRawTop + 1; // non-parametric bands take Q indexes 0 .. 31
constexpr int GainRef = 150; // +6 dB: the shape a gain is estimated from
constexpr double GainRefDb = 6.0;
constexpr int RefHz = 490;   // a band here lands on pixel 231: its response is the shape
constexpr double KeepBandDb = 0.05;

int BandPixel(int freqRaw) {
    // As BandResponse snaps and slides a band of this frequency.
    const int hz = RoundEvenInt(static_cast<float>(FreqValue(freqRaw)));
    const int x = RoundEvenInt(FreqToPixel(hz));
    const int f = RoundEvenInt(PixelToFreq(x));
    const int k = RoundEvenInt((std::log10(std::max(f, 10)) - 1.0) / FreqDecades * CurveWidth);
    return std::clamp(k, 0, CurveWidth);
}


class ShapeCache {
public:
    ShapeCache() : shapes_(3 * PeakQs * (GainTop + 1)) {}
    const float* Get(int type, int q, int g) {
        auto& p = shapes_[static_cast<std::size_t>((type * PeakQs + q) * (GainTop + 1) + g)];
        if (!p) {
            p = std::make_unique<float[]>(CurvePoints);
            BandResponse(p.get(), RefHz, static_cast<uint8_t>(type),
                         static_cast<float>(QValue(q)), static_cast<float>(GainDb(g)));
        }
        return p.get();
    }

    // The +6 dB shape per dB, with running sums of it and its square, for
    // projections.
    struct Unit {
        std::vector<double> S, P1, P2; // S[0 .. W-1]; P[i] = sum of S[0 .. i-1]
    };
    const Unit& GetUnit(int type, int q) {
        auto& u = units_[static_cast<std::size_t>(type * PeakQs + q)];
        if (!u) {
            u = std::make_unique<Unit>();
            const float* shape = Get(type, q, GainRef);
            u->S.resize(CurveWidth);
            u->P1.assign(CurveWidth + 1, 0.0);
            u->P2.assign(CurveWidth + 1, 0.0);
            for (int i = 0; i < CurveWidth; ++i) {
                const double v = shape[i] / GainRefDb;
                u->S[static_cast<std::size_t>(i)] = v;
                u->P1[static_cast<std::size_t>(i) + 1] = u->P1[static_cast<std::size_t>(i)] + v;
                u->P2[static_cast<std::size_t>(i) + 1] = u->P2[static_cast<std::size_t>(i)] + v * v;
            }
        }
        return *u;
    }

private:
    std::vector<std::unique_ptr<float[]>> shapes_;
    std::vector<std::unique_ptr<Unit>> units_ = std::vector<std::unique_ptr<Unit>>(3 * PeakQs);
};


class Fitter {
public:
    Fitter(std::vector<double> base, int firstPixel, const FitOptions& o, const FitProgress& p)
        : base_(std::move(base)), p0_(firstPixel), n_(static_cast<int>(base_.size())),
          progress_(p), shelves_(o.Shelves),
          gainMax_(std::clamp(static_cast<int>(RoundHalfEven((o.MaxBoostDb + 24) * 5)), GainZero,
                              GainTop)) {
        for (int k = 0; k < 362; ++k)
            pixel_[static_cast<std::size_t>(k)] = BandPixel(k);
        r_ = base_;
        rest_.resize(static_cast<std::size_t>(n_));
        cand_.resize(static_cast<std::size_t>(n_));
        unit_.resize(static_cast<std::size_t>(n_));
    }

    std::vector<Band> Run(int count);
    int Moves() const { return moves_; }

private:
    void Report(int percent) {
        if (progress_ && !progress_(percent)) throw Cancelled{};
    }
    // The band's values on the grid.
    void Fill(const float* shape, int k, std::vector<double>& out) const {
        const int off = CurveHalf + p0_ - pixel_[static_cast<std::size_t>(k)];
        for (int i = 0; i < n_; ++i)
            out[static_cast<std::size_t>(i)] = shape[std::clamp(off + i, 0, CurveWidth - 1)];
    }
    void Contribution(const Band& b, std::vector<double>& out) {
        if (b.Type < 0)
            std::fill(out.begin(), out.end(), 0.0);
        else
            Fill(cache_.Get(b.Type, b.Q, b.G), b.K, out);
    }
    // Variance of a + c.
    double Var(const std::vector<double>& a, const std::vector<double>& c) {
        ++moves_;
        double s1 = 0, s2 = 0;
        for (int i = 0; i < n_; ++i) {
            const double v = a[static_cast<std::size_t>(i)] + c[static_cast<std::size_t>(i)];
            s1 += v;
            s2 += v * v;
        }
        const double m = s1 / n_;
        return std::max(0.0, s2 / n_ - m * m);
    }
    double Cost() {
        std::fill(cand_.begin(), cand_.end(), 0.0);
        return Var(r_, cand_);
    }
    void SetBand(std::size_t i, const Band& b);
    void Isolate(std::size_t i); // rest_ = residual without band i
    int QLimit(int type) const { return type == 0 ? PeakQs : ShelfQs; }
    double BestGain(Band& b);
    double Project(const Band& b, double& gainDb);
    Band Seed(int rank = 0);
    bool DescendBand(std::size_t i);
    void Descend(int percentFrom, int percentTo);
    bool Escape();
    void Prune();

    std::vector<double> base_, r_, rest_, cand_, unit_;
    std::vector<double> restRun_; // restRun_[i] = sum of rest_[0 .. i-1]
    double restSq_ = 0;
    std::vector<Band> bands_;
    std::vector<std::vector<double>> contrib_;
    int p0_, n_;
    FitProgress progress_;
    bool shelves_;
    int gainMax_;
    std::array<int, 362> pixel_{};
    ShapeCache cache_;
    int moves_ = 0;
};

void Fitter::SetBand(std::size_t i, const Band& b) {
    auto& c = contrib_[i];
    for (int j = 0; j < n_; ++j)
        r_[static_cast<std::size_t>(j)] -= c[static_cast<std::size_t>(j)];
    bands_[i] = b;
    Contribution(b, c);
    for (int j = 0; j < n_; ++j)
        r_[static_cast<std::size_t>(j)] += c[static_cast<std::size_t>(j)];
}

void Fitter::Isolate(std::size_t i) {
    restRun_.resize(static_cast<std::size_t>(n_) + 1);
    restRun_[0] = 0;
    restSq_ = 0;
    for (int j = 0; j < n_; ++j) {
        const auto u = static_cast<std::size_t>(j);
        rest_[u] = r_[u] - contrib_[i][u];
        restRun_[u + 1] = restRun_[u] + rest_[u];
        restSq_ += rest_[u] * rest_[u];
    }
}

// The gain of b's shape that best cancels rest_, by projection on the +6 dB
// shape; gainDb is held to the band's limits. Returns the variance it leaves
// (estimated, not scored exactly).
double Fitter::Project(const Band& b, double& gainDb) {
    // The shape sits at indexes off + i of the grid's points i; beyond its
    // ends it holds its end values, so the sums split into three runs.
    const ShapeCache::Unit& u = cache_.GetUnit(b.Type, b.Q);
    const int off = CurveHalf + p0_ - pixel_[static_cast<std::size_t>(b.K)];
    const int lo = std::clamp(-off, 0, n_);
    const int hi = std::clamp(CurveWidth - off, lo, n_);
    const double first = u.S.front(), last = u.S.back();
    const auto L = static_cast<std::size_t>(lo), H = static_cast<std::size_t>(hi);
    double su = lo * first + (n_ - hi) * last;
    double suu = lo * first * first + (n_ - hi) * last * last;
    double sru = first * restRun_[L] + last * (restRun_[static_cast<std::size_t>(n_)] - restRun_[H]);
    if (hi > lo) {
        const auto a = static_cast<std::size_t>(off + lo), z = static_cast<std::size_t>(off + hi);
        su += u.P1[z] - u.P1[a];
        suu += u.P2[z] - u.P2[a];
        const double* s = u.S.data() + off;
        const double* r = rest_.data();
        // Four running sums: independent chains run side by side.
        double d0 = 0, d1 = 0, d2 = 0, d3 = 0;
        int i = lo;
        for (; i + 3 < hi; i += 4) {
            d0 += r[i] * s[i];
            d1 += r[i + 1] * s[i + 1];
            d2 += r[i + 2] * s[i + 2];
            d3 += r[i + 3] * s[i + 3];
        }
        for (; i < hi; ++i)
            d0 += r[i] * s[i];
        sru += (d0 + d1) + (d2 + d3);
    }
    const double sr = restRun_[static_cast<std::size_t>(n_)];
    const double varU = suu / n_ - (su / n_) * (su / n_);
    const double cov = sru / n_ - (sr / n_) * (su / n_);
    const double varR = restSq_ / n_ - (sr / n_) * (sr / n_);
    if (varU <= 1e-12) {
        gainDb = 0;
        return varR;
    }
    gainDb = std::clamp(-cov / varU, -24.0, GainDb(gainMax_));
    return varR + 2 * gainDb * cov + gainDb * gainDb * varU;
}

// Chooses b.G exactly around the projected gain; returns the variance.
double Fitter::BestGain(Band& b) {
    double db = 0;
    Project(b, db);
    const int g0 = std::clamp(static_cast<int>(RoundHalfEven((db + 24) * 5)), 0, gainMax_);
    double best = std::numeric_limits<double>::infinity();
    int bestG = g0;
    for (int g = std::max(0, g0 - 1); g <= std::min(gainMax_, g0 + 1); ++g) {
        Fill(cache_.Get(b.Type, b.Q, g), b.K, cand_);
        const double v = Var(rest_, cand_);
        if (v < best) {
            best = v;
            bestG = g;
        }
    }
    b.G = bestG;
    return best;
}

// The band the residual (rest_) wants most: a coarse lattice of (type,
// frequency, Q) scored by projection, the best few searched again finely
// around, then the exact gain.
Band Fitter::Seed(int rank) {
    struct Scored {
        double Var;
        Band B;
    };
    std::vector<Scored> coarse;
    const int lo = p0_, hi = p0_ + n_ - 1;
    auto score = [&](const Band& b) {
        double db = 0;
        return Project(b, db);
    };
    for (int type = 0; type <= (shelves_ ? 2 : 0); ++type)
        for (int k = 1; k < 362; k += 3) {
            const int px = pixel_[static_cast<std::size_t>(k)];
            if (px < lo || px > hi) continue;
            for (int q = 1; q < QLimit(type); q += 3) {
                const Band b{type, k, q, GainZero};
                coarse.push_back({score(b), b});
            }
        }
    if (coarse.empty()) return Band{};
    const std::size_t top = std::min<std::size_t>(6, coarse.size());
    std::partial_sort(coarse.begin(), coarse.begin() + static_cast<std::ptrdiff_t>(top),
                      coarse.end(), [](const Scored& a, const Scored& b) { return a.Var < b.Var; });
    // Another rank: the rank-th best coarse point at least a third of an
    // octave away from the better ones.
    std::vector<Scored> distinct;
    for (std::size_t c = 0; c < coarse.size() && static_cast<int>(distinct.size()) <= rank; ++c) {
        if (c == top) {
            std::sort(coarse.begin() + static_cast<std::ptrdiff_t>(top), coarse.end(),
                      [](const Scored& a, const Scored& b) { return a.Var < b.Var; });
        }
        const bool far = std::all_of(distinct.begin(), distinct.end(), [&](const Scored& d) {
            return std::abs(d.B.K - coarse[c].B.K) >= 12;
        });
        if (far) distinct.push_back(coarse[c]);
    }
    if (rank > 0) {
        if (static_cast<int>(distinct.size()) <= rank) return Band{};
        coarse.assign(1, distinct.back());
    }
    const std::size_t tops = rank > 0 ? 1 : top;
    Scored best = coarse.front();
    for (std::size_t c = 0; c < tops; ++c)
        for (int dk = -2; dk <= 2; ++dk)
            for (int dq = -2; dq <= 2; ++dq) {
                Band b = coarse[c].B;
                b.K += dk;
                b.Q += dq;
                if (b.K < 0 || b.K > FreqRawTop || b.Q < 0 || b.Q >= QLimit(b.Type)) continue;
                const int px = pixel_[static_cast<std::size_t>(b.K)];
                if (px < lo || px > hi) continue;
                const double v = score(b);
                if (v < best.Var) best = {v, b};
            }
    BestGain(best.B);
    return best.B;
}

// The best move of band i among its neighbours; true when it moved. Every
// neighbour is screened by projection; the best few are scored exactly.
bool Fitter::DescendBand(std::size_t i) {
    Isolate(i);
    const Band now = bands_[i];
    if (now.Type < 0) return false;
    Fill(cache_.Get(now.Type, now.Q, now.G), now.K, cand_);
    double bestVar = Var(rest_, cand_);
    Band best = now;
    struct Screened {
        double Var;
        Band B;
    };
    std::vector<Screened> list;
    auto screen = [&](Band b) {
        if (b.K < 0 || b.K > FreqRawTop || b.Q < 0 || b.Q >= QLimit(b.Type)) return;
        const int px = pixel_[static_cast<std::size_t>(b.K)];
        if (b.Type == 0 && (px < p0_ || px >= p0_ + n_)) return;
        double db = 0;
        list.push_back({Project(b, db), b});
    };
    screen(now);
    for (int dk = -12; dk <= 12; ++dk)
        if (dk != 0) screen({now.Type, now.K + dk, now.Q, now.G});
    for (int dq = -8; dq <= 8; ++dq)
        if (dq != 0) screen({now.Type, now.K, now.Q + dq, now.G});
    for (int dk : {-2, -1, 1, 2})
        for (int dq : {-2, -1, 1, 2})
            screen({now.Type, now.K + dk, now.Q + dq, now.G});
    if (shelves_)
        for (int t = 0; t <= 2; ++t)
            if (t != now.Type)
                for (int dk = -4; dk <= 4; ++dk)
                    screen({t, now.K + dk, std::min(now.Q, ShelfQs - 1), now.G});
    const std::size_t top = std::min<std::size_t>(4, list.size());
    std::partial_sort(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(top), list.end(),
                      [](const Screened& a, const Screened& b) { return a.Var < b.Var; });
    for (std::size_t c = 0; c < top; ++c) {
        Band b = list[c].B;
        const double v = BestGain(b);
        if (v < bestVar - 1e-12) {
            bestVar = v;
            best = b;
        }
    }
    if (best.Type == now.Type && best.K == now.K && best.Q == now.Q && best.G == now.G)
        return false;
    SetBand(i, best);
    return true;
}

void Fitter::Descend(int percentFrom, int percentTo) {
    for (int pass = 0; pass < 200; ++pass) {
        Report(percentFrom + (percentTo - percentFrom) * std::min(pass, 20) / 20);
        bool moved = false;
        for (std::size_t i = 0; i < bands_.size(); ++i)
            while (DescendBand(i)) moved = true;
        if (!moved) return;
    }
}

// Each band, then each pair of neighbouring bands, placed again where the
// rest of the set leaves most to do; kept when the whole set ends better.
bool Fitter::Escape() {
    bool better = false;
    auto attempt = [&](std::size_t i, std::size_t j, int rank = 0) {
        const std::vector<Band> saved = bands_;
        const double before = Cost();
        SetBand(i, Band{});
        SetBand(j, Band{});
        for (std::size_t b : {i, j}) {
            Isolate(b);
            SetBand(b, Seed(b == i ? rank : 0));
        }
        Descend(80, 80);
        if (Cost() < before - 1e-9) {
            better = true;
            return;
        }
        for (std::size_t b = 0; b < bands_.size(); ++b)
            SetBand(b, saved[b]);
    };
    for (int rank = 0; rank < 3; ++rank)
        for (std::size_t i = 0; i < bands_.size(); ++i)
            attempt(i, i, rank);
    for (std::size_t i = 0; i < bands_.size(); ++i) {
        // The band next above in frequency.
        std::size_t next = i;
        for (std::size_t j = 0; j < bands_.size(); ++j)
            if (bands_[i].Type >= 0 && bands_[j].Type >= 0 && bands_[j].K >= bands_[i].K && j != i &&
                (next == i || bands_[j].K < bands_[next].K))
                next = j;
        if (next != i) attempt(i, next);
    }
    return better;
}

// Leaves flat, one at a time, the band whose loss costs least while that is
// under 0.05 dB of RMS.
void Fitter::Prune() {
    while (true) {
        const double rms = std::sqrt(Cost());
        std::size_t weakest = bands_.size();
        double least = KeepBandDb;
        for (std::size_t i = 0; i < bands_.size(); ++i) {
            if (bands_[i].Type < 0) continue;
            Isolate(i);
            std::fill(cand_.begin(), cand_.end(), 0.0);
            const double gain = std::sqrt(Var(rest_, cand_)) - rms;
            if (gain < least) {
                least = gain;
                weakest = i;
            }
        }
        if (weakest == bands_.size()) return;
        SetBand(weakest, Band{});
        Descend(95, 95);
    }
}

std::vector<Band> Fitter::Run(int count) {
    bands_.assign(static_cast<std::size_t>(count), Band{});
    contrib_.assign(static_cast<std::size_t>(count), std::vector<double>(static_cast<std::size_t>(n_)));
    for (std::size_t i = 0; i < bands_.size(); ++i) {
        Report(static_cast<int>(40 * i / bands_.size()));
        const double rms = std::sqrt(Cost());
        Isolate(i);
        SetBand(i, Seed());
        while (DescendBand(i)) {
        }
        if (rms - std::sqrt(Cost()) < KeepBandDb) {
            SetBand(i, Band{}); // nothing left worth a band
            break;
        }
    }
    Descend(40, 70);
    for (int round = 0; round < 3 && Escape(); ++round)
        Report(80 + 5 * round);
    Prune();
    Report(100);
    return bands_;
}

} // namespace

std::vector<GridBand> SearchGridBands(std::vector<double> base, int first, const FitOptions& o,
                                      const FitProgress& progress, int count, int& moves) {
    Fitter fitter(std::move(base), first, o, progress);
    std::vector<GridBand> bands = fitter.Run(count);
    moves = fitter.Moves();
    return bands;
}
