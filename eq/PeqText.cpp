#include "eq/PeqText.h"

#include "params/ParamImage.h"
#include "params/ValueScales.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double MinFreq = 10.0;
constexpr double MaxFreq = 22000.0;
constexpr double Butterworth = 0.70710678118654752;

PeqMessage Msg(std::string zh, std::string en) {
    return {std::move(zh), std::move(en)};
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string Num(double v, int decimals) {
    return FormatFixed(v, decimals);
}

// Plain text: valid UTF-8 without control characters other than blanks.
bool IsText(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            if (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f') return false;
            if (c == 0x7F) return false;
            ++i;
            continue;
        }
        int follow = c >= 0xF0 && c <= 0xF4 ? 3 : c >= 0xE0 ? 2 : c >= 0xC2 && c < 0xE0 ? 1 : -1;
        if (follow < 0 || c > 0xF4) return false;
        if (i + static_cast<std::size_t>(follow) >= s.size()) return false;
        for (int k = 1; k <= follow; ++k)
            if ((static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]) & 0xC0) != 0x80)
                return false;
        i += static_cast<std::size_t>(follow) + 1;
    }
    return true;
}

std::vector<std::string> Words(std::string_view s) {
    std::vector<std::string> out;
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\f' || s[i] == '\r'))
            ++i;
        std::size_t j = i;
        while (j < s.size() && s[j] != ' ' && s[j] != '\t' && s[j] != '\f' && s[j] != '\r')
            ++j;
        if (j > i) out.emplace_back(s.substr(i, j - i));
        i = j;
    }
    return out;
}

// A number with an optional unit stuck to it ("100Hz", "+2.5dB").
bool SplitNumber(const std::string& word, double& value, std::string& unit) {
    std::size_t k = 0;
    while (k < word.size() &&
           (std::string_view("+-.0123456789").find(word[k]) != std::string_view::npos))
        ++k;
    std::string number = word.substr(0, k);
    unit = Lower(word.substr(k));
    if (!number.empty() && number[0] == '+') number.erase(0, 1);
    return ReadNumber(number, value);
}

PeqKind KindOf(const std::string& upper) {
    if (upper == "PK" || upper == "PEQ") return PeqKind::Peak;
    if (upper == "LS" || upper == "LSC" || upper == "LSQ") return PeqKind::LowShelf;
    if (upper == "HS" || upper == "HSC" || upper == "HSQ") return PeqKind::HighShelf;
    if (upper == "HP" || upper == "HPQ") return PeqKind::HighPass;
    if (upper == "LP" || upper == "LPQ") return PeqKind::LowPass;
    return PeqKind::Other;
}

bool IsShelf(PeqKind k) {
    return k == PeqKind::LowShelf || k == PeqKind::HighShelf;
}
bool HasGainKind(PeqKind k) {
    return k == PeqKind::Peak || IsShelf(k);
}

// Reads the words after "Filter N:". Returns false with err set on a refusal;
// a filter of type None (an unused slot) leaves skip set.
bool ParseBody(const std::vector<std::string>& w, PeqFilter& f, PeqMessage& err, bool& skip) {
    std::size_t i = 0;
    skip = false;
    if (i < w.size() && (Lower(w[i]) == "on" || Lower(w[i]) == "off")) {
        f.On = Lower(w[i]) == "on";
        ++i;
    }
    if (i >= w.size()) {
        err = Msg("缺少滤波器类型", "no filter type");
        return false;
    }
    std::string upper = w[i++];
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    f.TypeText = upper;
    if (upper == "NONE") {
        skip = true;
        return true;
    }
    f.Kind = KindOf(upper);
    if (f.Kind == PeqKind::Other) return true; // named in the report, nothing more to read

    // "LS 6dB": a shelf by its slope.
    if (IsShelf(f.Kind) && i < w.size()) {
        double v = 0;
        std::string unit;
        if (SplitNumber(w[i], v, unit)) {
            if (unit.empty() && i + 1 < w.size() && Lower(w[i + 1]) == "db") {
                unit = "db";
                ++i;
            }
            if (unit != "db") {
                err = Msg("无法识别斜率 '" + w[i] + "'", "cannot read the slope '" + w[i] + "'");
                return false;
            }
            if (v <= 0) {
                err = Msg("斜率必须大于 0", "the slope must be above 0");
                return false;
            }
            f.Slope = v;
            ++i;
        }
    }

    bool hasFreq = false;
    std::string seen;
    while (i < w.size()) {
        const std::string key = Lower(w[i++]);
        if (key != "fc" && key != "gain" && key != "q") {
            err = Msg("无法识别 '" + w[i - 1] + "'", "unexpected '" + w[i - 1] + "'");
            return false;
        }
        if (seen.find(" " + key + " ") != std::string::npos) {
            err = Msg("'" + w[i - 1] + "' 出现两次", "'" + w[i - 1] + "' given twice");
            return false;
        }
        seen += " " + key + " ";
        double v = 0;
        std::string unit;
        if (i >= w.size() || !SplitNumber(w[i], v, unit)) {
            err = Msg("'" + w[i - 1] + "' 后缺少数值", "no number after '" + w[i - 1] + "'");
            return false;
        }
        ++i;
        // The unit may follow as a word of its own.
        if (unit.empty() && i < w.size()) {
            const std::string next = Lower(w[i]);
            if ((key == "fc" && (next == "hz" || next == "khz")) ||
                (key == "gain" && next == "db")) {
                unit = next;
                ++i;
            }
        }
        if (key == "fc") {
            if (unit != "" && unit != "hz" && unit != "khz") {
                err = Msg("频率单位 '" + unit + "' 无法识别",
                          "unknown frequency unit '" + unit + "'");
                return false;
            }
            f.Freq = unit == "khz" ? v * 1000.0 : v;
            hasFreq = true;
        } else if (key == "gain") {
            if (unit != "" && unit != "db") {
                err = Msg("增益单位 '" + unit + "' 无法识别", "unknown gain unit '" + unit + "'");
                return false;
            }
            f.Gain = v;
            f.HasGain = true;
        } else {
            if (!unit.empty()) {
                err = Msg("Q 值 '" + w[i - 1] + "' 无法识别", "cannot read Q '" + w[i - 1] + "'");
                return false;
            }
            f.Q = v;
            f.HasQ = true;
        }
    }
    if (!hasFreq) {
        err = Msg("缺少频率 Fc", "no frequency (Fc)");
        return false;
    }
    if (f.Freq < MinFreq || f.Freq > MaxFreq) {
        err = Msg("频率 " + Num(f.Freq, 1) + " Hz 超出 10 Hz–22 kHz",
                  "frequency " + Num(f.Freq, 1) + " Hz is outside 10 Hz to 22 kHz");
        return false;
    }
    if (HasGainKind(f.Kind) && !f.HasGain) {
        err = Msg("缺少增益 Gain", "no gain");
        return false;
    }
    if (f.Kind == PeqKind::Peak && !f.HasQ) {
        err = Msg("缺少 Q 值", "no Q");
        return false;
    }
    if (f.HasQ && f.Q <= 0) {
        err = Msg("Q 值必须大于 0", "Q must be above 0");
        return false;
    }
    return true;
}

} // namespace

PeqFile ParsePeqText(std::string_view bytes) {
    PeqFile file;
    auto fail = [&](int line, PeqMessage m) {
        file.ErrorLine = line;
        if (line > 0) {
            m.Zh = "第 " + std::to_string(line) + " 行：" + m.Zh;
            m.En = "line " + std::to_string(line) + ": " + m.En;
        }
        file.Error = std::move(m);
        file.Filters.clear();
        return file;
    };
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    if (!IsText(bytes)) return fail(0, Msg("不是文本文件", "not a text file"));

    int lineNo = 0;
    bool anyText = false;
    std::size_t pos = 0;
    while (pos <= bytes.size()) {
        // Lines end in LF, CR LF or a lone CR.
        std::size_t end = bytes.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view line = bytes.substr(pos, end - pos);
        pos =
            end + (end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n' ? 2 : 1);
        ++lineNo;
        if (const std::size_t hash = line.find('#'); hash != std::string_view::npos)
            line = line.substr(0, hash);
        const std::vector<std::string> w = Words(line);
        if (w.empty()) continue;
        anyText = true;
        const std::string lower = Lower(line);
        const std::size_t lead = lower.find_first_not_of(" \t\r\f");
        std::string_view rest = std::string_view(lower).substr(lead);

        if (rest.rfind("preamp", 0) == 0) {
            std::string_view after = line.substr(lead + 6);
            while (!after.empty() && (after.front() == ' ' || after.front() == '\t'))
                after.remove_prefix(1);
            if (!after.empty() && after.front() == ':') after.remove_prefix(1);
            const std::vector<std::string> pw = Words(after);
            double v = 0;
            std::string unit;
            const bool ok =
                !pw.empty() && SplitNumber(pw[0], v, unit) &&
                ((unit.empty() && (pw.size() == 1 || (pw.size() == 2 && Lower(pw[1]) == "db"))) ||
                 (unit == "db" && pw.size() == 1));
            if (!ok) return fail(lineNo, Msg("无法读取前级增益", "cannot read the preamp"));
            file.HasPreamp = true;
            file.Preamp = v;
            continue;
        }

        // "Filter 12:", "Filter:", or a bare body that starts with ON/OFF or names Fc.
        std::string_view body;
        bool isFilter = false;
        int number = 0;
        if (rest.rfind("filter", 0) == 0) {
            std::size_t k = 6;
            while (k < rest.size() && (rest[k] == ' ' || rest[k] == '\t'))
                ++k;
            std::size_t digits = k;
            while (k < rest.size() && rest[k] >= '0' && rest[k] <= '9')
                ++k;
            if (k - digits > 0 && k - digits < 6)
                number = std::stoi(std::string(rest.substr(digits, k - digits)));
            while (k < rest.size() && (rest[k] == ' ' || rest[k] == '\t'))
                ++k;
            if (k < rest.size() && rest[k] == ':') {
                isFilter = true;
                body = line.substr(lead + k + 1);
            }
        }
        bool namesFc = false;
        for (const std::string& word : w)
            namesFc = namesFc || Lower(word) == "fc";
        if (!isFilter) {
            const std::string first = Lower(w[0]);
            if (first == "on" || first == "off" || namesFc) {
                if (first != "on" && first != "off")
                    return fail(lineNo, Msg("无法识别的滤波器行", "cannot read this filter line"));
                isFilter = true;
                body = line.substr(lead);
            }
        }
        if (!isFilter) {
            ++file.NoteLines; // a header or a note, as measurement software writes them
            continue;
        }
        PeqFilter f;
        f.Line = lineNo;
        f.Number = number;
        PeqMessage err;
        bool skip = false;
        if (!ParseBody(Words(body), f, err, skip)) return fail(lineNo, err);
        if (!skip) file.Filters.push_back(f);
    }
    if (!anyText) return fail(0, Msg("文件是空的", "the file is empty"));
    if (file.Filters.empty()) return fail(0, Msg("文件中没有滤波器", "the file holds no filters"));
    std::string types;
    for (const PeqFilter& f : file.Filters) {
        if (f.Kind != PeqKind::Other) {
            types.clear();
            break;
        }
        types += (types.empty() ? "" : ", ") + f.TypeText + " (" + std::to_string(f.Line) + ")";
    }
    if (!types.empty()) // nothing to apply; the other bands must not be reset for it
        return fail(0, Msg("文件中没有本机能用的滤波器：" + types,
                           "the file holds no filter the unit has: " + types));
    file.Ok = true;
    return file;
}

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

std::string Where(const PeqFilter& f, bool zh) {
    std::string s = zh ? "第 " + std::to_string(f.Line) + " 行" : "line " + std::to_string(f.Line);
    if (f.Number > 0) s += " (Filter " + std::to_string(f.Number) + ")";
    return s;
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
    const int limit = r.Type == 0 ? 109 : 31;
    if (raw > limit)
        r.Notes.push_back(Msg(where[0] + "：Q " + Num(r.ReqQ, 2) + " 限制为 " + QTable[limit],
                              where[1] + ": Q " + Num(r.ReqQ, 2) + " held to " + QTable[limit]));
    if (r.Type == 0) {
        b.v[3] = std::min(raw, 109); // also when bypassed: the Q for when it is switched on
        // A bypassed band's field shows the second slot: the same Q, held to its range.
        if (!f.On) b.v[4] = std::min(raw, 31);
    } else {
        b.v[4] = std::min(raw, 31);
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
        return index == (m == 1 ? 18 : 32) ? 361 : 0; // crossovers drawn flat
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

std::string PeqFreqText(int raw) {
    return FreqTable[static_cast<std::size_t>(std::clamp(raw, 0, 361))];
}
std::string PeqGainText(int raw) {
    return Num(GainDb(raw), 1);
}
std::string PeqQText(int raw) {
    return QTable[static_cast<std::size_t>(std::clamp(raw, 0, 109))];
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
    const int hpType = m == 1 ? 13 : 29, hpFre = m == 1 ? 15 : 30;
    const int lpType = m == 1 ? 16 : 31, lpFre = m == 1 ? 18 : 32;
    // A high-pass at the lowest frequency or a low-pass at the highest is off.
    if (raw(m, hpFre) != 0)
        CrossoverLines(true, CrossoverItem(m, raw(m, hpType)), raw(m, hpFre), number, nl, out);
    if (raw(m, lpFre) != 361)
        CrossoverLines(false, CrossoverItem(m, raw(m, lpType)), raw(m, lpFre), number, nl, out);
    return out;
}
