// The report of a fit, for nddt and the console's review.
#include "eq/GridFit.h"

#include "params/ValueScales.h"

#include <cstdio>

namespace {

std::string Num(double v, int decimals) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    std::string s = buf;
    if (s == "-0.00" || s == "-0.0" || s == "-0") s.erase(0, 1);
    return s;
}

std::string Signed(double v, int decimals) {
    const std::string s = Num(v, decimals);
    return s[0] == '-' || s == Num(0, decimals) ? s : "+" + s;
}

std::string TargetText(const TargetCurve& t, bool zh) {
    switch (t.Kind) {
    case TargetCurve::House:
        return (zh ? "房间曲线 " : "house curve ") + Signed(t.Rise, 1) + " dB < " +
               Num(t.Corner, 0) + " Hz, " + Signed(t.Tilt, 1) + (zh ? " dB/十倍频" : " dB/decade");
    case TargetCurve::File:
        return zh ? "目标文件" : "target file";
    default:
        return zh ? "平直" : "flat";
    }
}

std::string Hz(double f) {
    return Num(f, f < 100 ? 1 : 0) + " Hz";
}

std::string ScoreText(const FitScore& s, bool zh) {
    return (zh ? "均方根误差 " : "RMS error ") + Num(s.Rms, 2) + " dB, " +
           (zh ? "最大偏差 " : "largest deviation ") + Num(s.Worst, 2) + " dB @ " + Hz(s.WorstHz);
}

} // namespace

std::string FitBandText(const PeqBandRaw& b, bool zh) {
    static const char* const en[5] = {"peaking", "low shelf", "high shelf", "high-pass",
                                      "low-pass"};
    const int type = b.v[0] % 10;
    if (b.v[0] >= 10 || type > 4) return zh ? "直通（平直）" : "bypassed (flat)";
    std::string s = (zh ? PeqTypeName(type) : std::string(en[type])) + " " +
                    PeqFreqText(b.v[1]) + " Hz";
    if (type <= 2) s += " " + PeqGainText(b.v[2]) + " dB";
    s += (type == 0 ? " Q " : zh ? " 斜率 " : " slope ") + PeqQText(b.v[type == 0 ? 3 : 4]);
    return s;
}

std::vector<std::string> FitReport(const FitInput& in, const FitResult& r, bool zh) {
    std::vector<std::string> out;
    if (!r.Ok) {
        out.push_back(r.Cancelled ? (zh ? "拟合已取消" : "fit cancelled") : zh ? r.Error.Zh : r.Error.En);
        return out;
    }
    out.push_back((zh ? "模块 " : "module ") + std::to_string(r.Module) + (zh ? "，范围 " : ", range ") +
                  Hz(r.FromHz) + " – " + Hz(r.ToHz) + " (" + std::to_string(r.GridPoints) +
                  (zh ? " 点)，目标：" : " points), target: ") + TargetText(in.Target, zh));
    for (std::size_t b = 0; b < r.After.size(); ++b) {
        const std::string before = FitBandText(r.Before[b], zh);
        const std::string after = FitBandText(r.After[b], zh);
        out.push_back((zh ? "频段 " : "band ") + std::to_string(b + 1) + ": " + before +
                      (before == after ? (zh ? "（不变）" : " (unchanged)") : " -> " + after));
    }
    out.push_back((zh ? "拟合前：" : "before: ") + ScoreText(r.ScoreBefore, zh));
    out.push_back((zh ? "拟合后：" : "after: ") + ScoreText(r.ScoreAfter, zh));
    out.push_back((zh ? "电平偏移 " : "level offset ") + Signed(r.ScoreAfter.Offset, 2) +
                  (zh ? " dB（测量高出目标的量；本机没有前级增益，频段不用于补偿电平）"
                      : " dB (the measurement above the target; the unit has no preamp, so no "
                        "band is spent on level)"));
    out.push_back((zh ? "合成曲线最大提升 " : "largest boost of the summed curve ") +
                  Signed(r.ScoreAfter.Boost, 1) + (zh ? " dB（余量）" : " dB (headroom)"));
    return out;
}
