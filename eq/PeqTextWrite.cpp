// Band texts, the import report and a module's bands written as filter text.
#include "eq/PeqText.h"
#include "eq/PeqTextParts.h"

#include "params/ParamCatalog.h"
#include "params/ParamImage.h"
#include "params/ValueScales.h"

#include <algorithm>
#include <cmath>

using namespace peqtext;

std::string PeqFreqText(int raw) {
    return FreqTable[static_cast<std::size_t>(std::clamp(raw, 0, FreqRawTop))];
}
std::string PeqGainText(int raw) {
    return Num(GainDb(raw), 1);
}
std::string PeqQText(int raw) {
    return QTable[static_cast<std::size_t>(std::clamp(raw, 0, QRawTop))];
}
std::string PeqTypeName(int type) {
    static const char* const names[5] = {"参量均衡", "低棚架", "高棚架", "VariQ高通", "VariQ低通"};
    return type >= 0 && type < 5 ? names[type] : "?";
}

std::vector<std::string> PeqNotes(const PeqFile& file, const PeqPlan& plan, bool zh) {
    std::vector<std::string> out;
    auto pick = [zh](const PeqMessage& m) { return zh ? m.Zh : m.En; };
    for (const PeqFilter& f : plan.Dropped) {
        const std::string what = " " + f.TypeText + " " + Num(f.Freq, 1) + " Hz" +
                                 (HasGainKind(f.Kind) ? " " + Num(f.Gain, 1) + " dB" : "");
        if (f.On)
            out.push_back(zh ? "已舍弃：" + Where(f, true) + what +
                                   "（有效滤波器多于频段，增益最小）"
                             : "dropped: " + Where(f, false) + what +
                                   " (more active filters than bands; smallest gain)");
        else
            out.push_back(zh ? "已舍弃：" + Where(f, true) + " OFF" + what + "（没有空余频段）"
                             : "dropped: " + Where(f, false) + " OFF" + what + " (no band left)");
    }
    for (const PeqFilter& f : plan.Unsupported)
        out.push_back(zh ? "未应用：" + Where(f, true) + " 类型 " + f.TypeText + " 本机没有"
                         : "not applied: " + Where(f, false) + " type " + f.TypeText +
                               " is not a filter of the unit");
    for (const PeqRow& r : plan.Rows)
        for (const PeqMessage& n : r.Notes)
            out.push_back(pick(n));
    if (file.HasPreamp)
        out.push_back(zh ? "前级增益 " + Num(file.Preamp, 1) +
                               " dB 未应用（本机均衡器没有前级增益）"
                         : "preamp " + Num(file.Preamp, 1) +
                               " dB not applied (the unit's equaliser has no preamp)");
    return out;
}

std::vector<std::string> PeqReport(const PeqFile& file, const PeqPlan& plan, bool resetOthers,
                                   bool zh) {
    std::vector<std::string> out;
    out.push_back(zh ? "模块 " + std::to_string(plan.Module) + "，" + std::to_string(plan.Bands) +
                           " 个频段"
                     : "module " + std::to_string(plan.Module) + ", " + std::to_string(plan.Bands) +
                           " bands");
    for (std::size_t b = 0; b < plan.Rows.size(); ++b) {
        const PeqRow& r = plan.Rows[b];
        const PeqFilter& f = r.Source;
        const int qSlot = r.Type == 0 ? 3 : 4;
        std::string s = (zh ? "频段 " : "band ") + std::to_string(b + 1) + " <- " + Where(f, zh) +
                        " " + (f.On ? "ON " : "OFF ") + f.TypeText + ": " + Num(f.Freq, 1) +
                        " -> " + PeqFreqText(r.Band.v[1]) + " Hz";
        if (HasGainKind(f.Kind))
            s += ", " + Num(f.Gain, 1) + " -> " + PeqGainText(r.Band.v[2]) + " dB";
        s += ", Q " + Num(r.ReqQ, 2) + " -> " + PeqQText(r.Band.v[qSlot]);
        out.push_back(s);
    }
    for (std::string& n : PeqNotes(file, plan, zh))
        out.push_back(std::move(n));
    if (static_cast<int>(plan.Rows.size()) < plan.Bands)
        out.push_back(resetOthers
                          ? (zh ? "其余频段恢复默认值" : "other bands reset to their defaults")
                          : (zh ? "其余频段保持不变" : "other bands left as they are"));
    const PeqDeviation d = WorstDeviation(plan, resetOthers);
    out.push_back((zh ? "最大偏差 " : "worst deviation ") + Num(d.WorstDb, 2) + " dB" +
                  (d.WorstDb > 0 ? (zh ? "，在 " : " at ") + Num(d.AtHz, 0) + " Hz" : ""));
    return out;
}

namespace {

// One crossover as filter lines: the console's section Qs of its type item.
void CrossoverLines(bool high, int item, int freqRaw, int& number, const std::string& nl,
                    std::string& out) {
    std::vector<double> qs;
    switch (item) {
    case 1:
        qs = {0.5774};
        break;
    case 2:
        qs = {0.7071};
        break;
    case 3:
        qs = {0.5}; // two first-order sections
        break;
    case 4:
        qs = {0.5774, 0.5774};
        break;
    case 5:
        qs = {1.3066, 0.5412};
        break;
    case 6:
        qs = {0.7071, 0.7071};
        break;
    default:
        return;
    }
    for (const double q : qs)
        out += "Filter " + std::to_string(++number) + ": ON " + (high ? "HPQ" : "LPQ") + " Fc " +
               PeqFreqText(freqRaw) + " Hz Q " + Num(q, 4) + nl;
}

} // namespace

std::string WritePeqText(int module, const RawParam& raw, const std::string& nl) {
    const int m = module == 2 ? 2 : 1;
    const int first = BandFirstSlot[m];
    std::string out;
    int number = 0;
    for (int b = 0; b < BandCount[m]; ++b) {
        const int p = first + 5 * b;
        const int32_t tv = raw(m, p);
        const int type = tv % 10;
        ++number;
        if (tv < 0 || tv > 14 || type > 4) continue; // no band type the console knows
        const std::string head =
            "Filter " + std::to_string(number) + ": " + (tv >= 10 ? "OFF " : "ON ");
        const std::string fc = " Fc " + PeqFreqText(raw(m, p + 1)) + " Hz";
        const double gain = GainDb(raw(m, p + 2));
        const std::string g = " Gain " + Num(gain, 1) + " dB";
        switch (type) {
        case 0:
            out += head + "PK" + fc + g + " Q " + PeqQText(raw(m, p + 3)) + nl;
            break;
        case 1:
        case 2:
            out += head + (type == 1 ? "LSC" : "HSC") + fc + g + " Q " +
                   Num(ShelfQOfSlope(QValue(raw(m, p + 4)), gain), 4) + nl;
            break;
        default:
            out += head + (type == 3 ? "HPQ" : "LPQ") + fc + " Q " + PeqQText(raw(m, p + 4)) + nl;
            break;
        }
    }
    const CrossoverSlots& x = CrossoverOf(m);
    const int hpType = x.HighPassType, hpFre = x.HighPassFreq;
    const int lpType = x.LowPassType, lpFre = x.LowPassFreq;
    // A high-pass at the lowest frequency or a low-pass at the highest is off.
    if (raw(m, hpFre) != 0)
        CrossoverLines(true, CrossoverItem(m, raw(m, hpType)), raw(m, hpFre), number, nl, out);
    if (raw(m, lpFre) != FreqRawTop)
        CrossoverLines(false, CrossoverItem(m, raw(m, lpType)), raw(m, lpFre), number, nl, out);
    return out;
}
