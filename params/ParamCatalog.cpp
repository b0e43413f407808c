#include "params/ParamCatalog.h"

#include "eq/CompressorMath.h"
#include "params/ValueScales.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace {

using Items = std::vector<std::string>;

const Items BandTypesZh = {"参量均衡", "低棚架", "高棚架", "VariQ高通", "VariQ低通"};
const Items BandTypesEn = {"Peaking", "Low shelf", "High shelf", "VariQ HPF", "VariQ LPF"};
const Items Crossover4 = {"OFF", "12dB Bessel", "12dB Butterworth", "12dB Linkwitz-Riley"};
const Items Crossover7 = {
    "OFF",         "12dB Bessel",      "12dB Butterworth",   "12dB Linkwitz-Riley",
    "24dB Bessel", "24dB Butterworth", "24dB Linkwitz-Riley"};
const Items OffOnZh = {"关闭", "打开"};
const Items OffOnEn = {"Off", "On"};
const Items Polarity = {"+", "-"};


constexpr int FreqTop = FreqRawTop;
constexpr int QTop = QRawTop;
constexpr int ShelfQTop = ShelfQRawTop;
constexpr int GainTop = GainRawTop;

int32_t Pack(int in, int out) {
    return PackCurvePoint(in, out);
}

// Slots a bulk transfer carries: ten a packet, count / 10 + 1 packets.
int BulkSlots(int m) {
    return (ModuleParamCount[m] / 10 + 1) * 10;
}

std::string Num(int n) {
    return std::to_string(n);
}

std::string Hex3(int address) {
    char s[16];
    std::snprintf(s, sizeof s, "%03x", static_cast<unsigned>(address));
    return s;
}

struct Pair {
    const char* zh;
    const char* en;
};

class Builder {
public:
    std::vector<ParamEntry> entries;
    std::array<std::array<int, 256>, ModuleCount> at{};

    Builder() {
        for (auto& row : at)
            row.fill(-1);
        for (int m = 0; m < ModuleCount; ++m)
            for (int i = 0; i < BulkSlots(m); ++i) {
                at[m][i] = static_cast<int>(entries.size());
                ParamEntry e;
                e.Module = m;
                e.Index = i;
                e.Key = "m" + Num(m) + "." + Num(i);
                e.NameZh = "模块 " + Num(m) + " 参数 " + Num(i);
                e.NameEn = "Module " + Num(m) + " slot " + Num(i);
                e.Group = ParamGroup::Device;
                e.Bulk = true;
                e.Preset = m >= 1 && i <= ModuleParamCount[m];
                e.Start = i < ModuleParamCount[m] ? 2 : 0;
                entries.push_back(std::move(e));
            }
    }

    ParamEntry& E(int m, int i) { return entries[static_cast<std::size_t>(at[m][i])]; }

    ParamEntry& Set(int m, int i, std::string key, std::string zh, std::string en, int kind,
                    ParamScale scale, int32_t min, int32_t max, ParamGroup group) {
        ParamEntry& e = E(m, i);
        e.Key = std::move(key);
        e.NameZh = std::move(zh);
        e.NameEn = std::move(en);
        e.Kind = kind;
        e.Scale = scale;
        e.Min = min;
        e.Max = max;
        e.Group = group;
        e.Control = true;
        return e;
    }

    ParamEntry& List(int m, int i, std::string key, Pair name, int kind, const Items& zh,
                     const Items& en, ParamGroup group) {
        ParamEntry& e = Set(m, i, std::move(key), name.zh, name.en, kind, ParamScale::List, 0,
                            static_cast<int32_t>(zh.size()) - 1, group);
        e.ItemsZh = zh;
        e.ItemsEn = en;
        return e;
    }

    // A band row in the five-slot layout. Prefixes name the group: "" for
    // the main channel, "aux." / "辅助 " / "Aux " for the auxiliary bands ...
    void Band(int m, int first, int number, ParamGroup group, const std::string& key,
              const std::string& zh, const std::string& en) {
        const std::string k = key + "band" + Num(number) + ".";
        const std::string z = zh + "频段 " + Num(number) + " ";
        const std::string n = en + (en.empty() ? "Band " : "band ") + Num(number) + " ";
        struct Field {
            const char* key;
            const char* zh;
            const char* en;
            int kind;
            ParamScale scale;
            int max;
            BandField field;
        };
        const Field fields[5] = {
            {"type", "类型", "type", 1, ParamScale::BandType, 14, BandField::Type},
            {"freq", "频率", "frequency", 2, ParamScale::Frequency, FreqTop, BandField::Freq},
            {"gain", "增益", "gain", 3, ParamScale::Gain, GainTop, BandField::Gain},
            {"q", "Q值", "Q", 4, ParamScale::Q, QTop, BandField::Q},
            {"qshelf", "Q值 (非参量)", "Q (other types)", 4, ParamScale::Q, ShelfQTop,
             BandField::QShelf}};
        for (int f = 0; f < 5; ++f) {
            ParamEntry& e = Set(m, first + f, k + fields[f].key, z + fields[f].zh, n + fields[f].en,
                                fields[f].kind, fields[f].scale, 0, fields[f].max, group);
            e.Band = number;
            e.Field = fields[f].field;
        }
        E(m, first).ItemsZh = BandTypesZh;
        E(m, first).ItemsEn = BandTypesEn;
    }

    void Crossovers(int m, const CrossoverSlots& slots, ParamGroup group, const std::string& key,
                    const std::string& zh, const std::string& en, const Items& types) {
        const int hpType = slots.HighPassType, hpFreq = slots.HighPassFreq;
        const int lpType = slots.LowPassType, lpFreq = slots.LowPassFreq;
        const auto cap = [&](const char* word) {
            return en.empty() ? std::string(word) : en + Lower(word);
        };
        List(m, hpType, key + "hp.type", {"", ""}, 1, types, types, group);
        E(m, hpType).NameZh = zh + "高通类型";
        E(m, hpType).NameEn = cap("High-pass type");
        Set(m, hpFreq, key + "hp.freq", zh + "高通频率", cap("High-pass frequency"), 2,
            ParamScale::Frequency, 0, FreqTop, group);
        List(m, lpType, key + "lp.type", {"", ""}, 1, types, types, group);
        E(m, lpType).NameZh = zh + "低通类型";
        E(m, lpType).NameEn = cap("Low-pass type");
        Set(m, lpFreq, key + "lp.freq", zh + "低通频率", cap("Low-pass frequency"), 2,
            ParamScale::Frequency, 0, FreqTop, group);
    }

    void Deq(int n) {
        const DeqSlots& d = n == 1 ? Deq1Slots : Deq2Slots;
        const ParamGroup g = n == 1 ? ParamGroup::DynamicEq1 : ParamGroup::DynamicEq2;
        const std::string k = "deq" + Num(n) + ".";
        const std::string z = "动态EQ " + Num(n) + " ";
        const std::string en = "Dynamic EQ " + Num(n) + " ";
        List(m2, d.Pass, k + "pass", {"", ""}, 0, OffOnZh, OffOnEn, g);
        E(m2, d.Pass).NameZh = z + "直通";
        E(m2, d.Pass).NameEn = en + "pass";
        List(m2, d.Type, k + "type", {"", ""}, 1, {"PEQ", "LSEQ", "HSEQ"},
             {"PEQ", "LSEQ", "HSEQ"}, g);
        E(m2, d.Type).NameZh = z + "类型";
        E(m2, d.Type).NameEn = en + "type";
        E(m2, d.Type).Field = BandField::Type;
        Set(m2, d.Freq, k + "freq", z + "频率", en + "frequency", 2, ParamScale::Frequency, 0,
            FreqTop, g)
            .Field = BandField::Freq;
        Set(m2, d.Gain, k + "gain", z + "增益", en + "gain", 3, ParamScale::Gain, 0, GainTop, g)
            .Field = BandField::Gain;
        Set(m2, d.Q, k + "q", z + "Q值", en + "Q", 4, ParamScale::Q, 0, QTop, g).Field =
            BandField::Q;
        // Hidden box whose Hint carries 3; shown by the refresh only.
        List(m2, d.Trigger, k + "trigger", {"", ""}, 3, {"低启动", "高启动"}, {"Low", "High"}, g)
            .Control = false;
        E(m2, d.Trigger).NameZh = z + "启动方式";
        E(m2, d.Trigger).NameEn = en + "trigger";
        Set(m2, d.Start, k + "start", z + "启动电平", en + "start level", 35, ParamScale::DeqStart,
            0, 48, g);
        Set(m2, d.Cutoff, k + "cutoff", z + "截止电平", en + "full level", 36,
            ParamScale::DeqCutoff, 0, 48, g);
        // The second dynamic EQ's controls stay hidden and disabled.
        if (n == 2)
            for (int i = d.Pass; i <= d.Cutoff; ++i)
                E(m2, i).Control = false;
    }

    static std::string Lower(const char* word) {
        std::string s = word;
        if (!s.empty() && s[0] >= 'A' && s[0] <= 'Z') s[0] = static_cast<char>(s[0] - 'A' + 'a');
        return s;
    }

    static constexpr int m2 = 2;
};

void NameSlots(Builder& b) {
    // Module 0: system.
    b.E(0, VariantSlot).NameZh = "设备版本与型号";
    b.E(0, VariantSlot).NameEn = "Device version and variant";
    b.E(0, VersionSecondSlot).NameZh = "设备版本 第二位";
    b.E(0, VersionSecondSlot).NameEn = "Device version, second number";
    b.E(0, VersionThirdSlot).NameZh = "设备版本 第三位";
    b.E(0, VersionThirdSlot).NameEn = "Device version, third number";
    b.List(0, 10, "input", {"输入选择", "Input source"}, 1, {"RCA", "蓝牙", "自动"},
           {"RCA", "Bluetooth", "Auto"}, ParamGroup::System);
    b.List(0, 11, "port.level", {"端口电平", "Port level"}, 1, {"0dB", "6dB"}, {"0dB", "6dB"},
           ParamGroup::System);
    b.Set(0, 12, "mem.recall", "调用存储参数", "Memory recall", 0, ParamScale::Memory,
          MemoryRecallValue, MemoryFactoryValue, ParamGroup::System);
    b.Set(0, 13, "mem.save", "保存当前参数", "Memory save", 0, ParamScale::Memory, MemorySaveValue,
          MemorySaveValue, ParamGroup::System);

    // Module 1: main channel.
    const ParamGroup main = ParamGroup::Main;
    b.Set(1, 0, "delay.left", "左声道延时", "Left output delay", 18, ParamScale::Delay, 0, 150,
          main);
    b.Set(1, 1, "volume", "音量", "Volume", 12, ParamScale::Volume, 0, 1000, main).Control =
        false; // the unit's level reports move it; never written alone
    b.Set(1, 2, "delay.right", "右声道延时", "Right output delay", 18, ParamScale::Delay, 0, 150,
          main);
    b.List(1, 3, "phase.left", {"左声道相位", "Left output polarity"}, 0, Polarity, Polarity, main);
    b.List(1, 4, "comp.on", {"动态压缩开关", "Compressor on/off"}, 1, OffOnZh, OffOnEn, main);
    b.Set(1, 5, "comp.attack", "压缩启动时间", "Compressor attack", 17, ParamScale::Attack, 1, 100,
          main);
    b.Set(1, 6, "comp.release", "压缩释放时间", "Compressor release", 16, ParamScale::Release, 0,
          static_cast<int32_t>(ReleaseMultipleTable.size()) - 1, main);
    b.List(1, 7, "phase.right", {"右声道相位", "Right output polarity"}, 0, Polarity, Polarity,
           main);
    for (int p = 0; p < 5; ++p) {
        const int inLo = p == 0 ? PointInMin : p == 4 ? PointInMax : PointInMin;
        const int inHi = p == 0 ? PointInMin : PointInMax;
        ParamEntry& e = b.Set(1, CurveFirstSlot + p, "comp.point" + Num(p), "压缩点 " + Num(p),
                              "Compressor point " + Num(p), 0, ParamScale::CompressorPoint,
                              Pack(inLo, PointOutMin),
                              Pack(inHi, std::min(PointOutMax, inHi + PointLift)), main);
        e.Start = Pack(StartCurve[p], StartCurve[p]);
    }
    b.Crossovers(1, MainCrossover, main, "", "", "", Crossover4);
    b.List(1, 19, "eq.pass", {"EQ直通", "EQ bypass"}, 0, OffOnZh, OffOnEn, main);
    for (int n = 1; n <= BandCount[1]; ++n)
        b.Band(1, BandFirstSlot[1] + 5 * (n - 1), n, main, "", "", "");

    // Module 2: auxiliary channel and the factory page.
    b.Deq(1);
    b.Deq(2);
    const ParamGroup aux = ParamGroup::Aux;
    b.Set(2, 25, "aux.gain", "辅助输出增益", "Aux output gain", 20, ParamScale::AuxGain, 0, 6, aux);
    b.List(2, 26, "aux.mode", {"辅助输出模式", "Aux output mode"}, 1, {"单声道", "立体声"},
           {"Mono", "Stereo"}, aux);
    b.List(2, 27, "aux.phase.left", {"辅助左声道相位", "Aux left polarity"}, 0, Polarity, Polarity,
           aux);
    b.List(2, 28, "aux.phase.right", {"辅助右声道相位", "Aux right polarity"}, 0, Polarity,
           Polarity, aux);
    b.Crossovers(2, AuxCrossover, aux, "aux.", "辅助 ", "Aux ", Crossover7);
    for (int n = 1; n <= BandCount[2]; ++n)
        b.Band(2, BandFirstSlot[2] + 5 * (n - 1), n, aux, "aux.", "辅助 ", "Aux ");
    for (int n = 1; n <= 4; ++n)
        b.Band(2, 43 + 5 * (n - 1), n, ParamGroup::DefaultEq, "default.", "默认EQ ", "Default EQ ");
    b.Crossovers(2, DefaultEqCrossover, ParamGroup::DefaultEq, "default.", "默认EQ ", "Default EQ ",
                 Crossover4);
}

// The console's start values: every slot it binds starts at 2, the crossover
// types at OFF with the low-pass frequencies at the top, the graph bands as
// the band reset leaves them, the compressor on its start-up curve.
void StartValues(Builder& b) {
    b.E(1, MainCrossover.HighPassType).Start = 0;
    b.E(1, MainCrossover.HighPassFreq).Start = 0;
    b.E(1, MainCrossover.LowPassType).Start = 0;
    b.E(1, MainCrossover.LowPassFreq).Start = FreqTop;
    b.E(2, AuxCrossover.LowPassType).Start = 0;
    b.E(2, AuxCrossover.LowPassFreq).Start = FreqTop;
    b.E(2, DefaultEqCrossover.HighPassType).Start = 0;
    b.E(2, DefaultEqCrossover.LowPassType).Start = 0;
    constexpr int bandStart[5] = {0, 0, 120, 25, 19};
    for (int m = 0; m < ModuleCount; ++m)
        for (int n = 0; n < BandCount[m]; ++n)
            for (int k = 0; k < 5; ++k)
                b.E(m, BandFirstSlot[m] + 5 * n + k).Start =
                    k == 1 ? static_cast<int32_t>(RoundHalfEven(360.0 / BandCount[m] * n)) + 5
                           : bandStart[k];
}

// The undo texts' names: "增益 3", "辅助 高通类型", "DEQ1 启动电平" ...
std::string UndoName(int m, int i, bool en) {
    const auto w = [en](Pair p) { return std::string(en ? p.en : p.zh); };
    const Pair bandFields[5] = {
        {"EQ类型", "EQ type"}, {"频率", "Frequency"}, {"增益", "Gain"}, {"Q值", "Q"}, {"Q值", "Q"}};
    const Pair crossovers[4] = {{"高通类型", "High-pass type"},
                                {"高通频率", "High-pass frequency"},
                                {"低通类型", "Low-pass type"},
                                {"低通频率", "Low-pass frequency"}};
    const std::string aux = w({"辅助", "Aux"}) + " ";
    const std::string hint = w({"默认EQ", "Default EQ"}) + " ";
    const auto band = [&](const std::string& prefix, int first) {
        return prefix + w(bandFields[(i - first) % 5]) + " " + Num((i - first) / 5 + 1);
    };
    if (m == 0) {
        if (i == 10) return w({"输入选择", "Input"});
        if (i == 11) return w({"端口电平", "Port level"});
    } else if (m == 1) {
        static const Pair fixed[20] = {{"左延时", "Left delay"},
                                       {nullptr, nullptr},
                                       {"右延时", "Right delay"},
                                       {"左通道相位", "Left polarity"},
                                       {"动态压缩", "Compressor"},
                                       {"压缩启动时间", "Attack time"},
                                       {"压缩释放时间", "Release time"},
                                       {"右通道相位", "Right polarity"},
                                       {},
                                       {},
                                       {},
                                       {},
                                       {},
                                       {"高通类型", "High-pass type"},
                                       {nullptr, nullptr},
                                       {"高通频率", "High-pass frequency"},
                                       {"低通类型", "Low-pass type"},
                                       {nullptr, nullptr},
                                       {"低通频率", "Low-pass frequency"},
                                       {"EQ直通", "EQ bypass"}};
        if (i >= 8 && i <= 12) return w({"压缩曲线 点", "Compressor point "}) + Num(i - 8);
        if (i < 20 && fixed[i].zh) return w(fixed[i]);
        if (i >= 20 && i < 65) return band("", 20);
    } else if (m == 2) {
        static const Pair deq[10] = {{},
                                     {"Pass", "Pass"},
                                     {"类型", "Type"},
                                     {"频率", "Frequency"},
                                     {"增益", "Gain"},
                                     {"Q值", "Q"},
                                     {},
                                     {"启动方式", "Trigger"},
                                     {"启动电平", "Start level"},
                                     {"截止电平", "Full level"}};
        const int field = i < 13 ? i : i - 12;
        if (i >= 1 && i <= 21 && field <= 9 && deq[field].zh)
            return "DEQ" + Num(i < 13 ? 1 : 2) + " " + w(deq[field]);
        if (i == 25) return w({"辅助增益", "Aux gain"});
        if (i == 26) return w({"辅助输出", "Aux output"});
        if (i == 27) return w({"辅助左相位", "Aux left polarity"});
        if (i == 28) return w({"辅助右相位", "Aux right polarity"});
        if (i >= 29 && i <= 32) return aux + w(crossovers[i - 29]);
        if (i >= 33 && i < 43) return band(aux, 33);
        if (i >= 43 && i < 63) return band(hint, 43);
        if (i >= 63 && i <= 66) return hint + w(crossovers[i - 63]);
    }
    return w({"参数 ", "Parameter "}) + Hex3(m * 256 + i);
}

// A band's type slot named for its bypass box: "直通 3", "辅助 直通 1".
void BypassNames(ParamEntry& e) {
    if (e.Scale != ParamScale::BandType) return;
    const int first = e.Group == ParamGroup::Main ? 20 : e.Group == ParamGroup::Aux ? 33 : 43;
    const std::string number = " " + Num((e.Index - first) / 5 + 1);
    const std::string zh = e.Group == ParamGroup::Aux         ? "辅助 "
                           : e.Group == ParamGroup::DefaultEq ? "默认EQ "
                                                              : "";
    const std::string en = e.Group == ParamGroup::Aux         ? "Aux "
                           : e.Group == ParamGroup::DefaultEq ? "Default EQ "
                                                              : "";
    e.BypassUndoZh = zh + "直通" + number;
    e.BypassUndoEn = en + "Bypass" + number;
}

struct Catalog {
    std::vector<ParamEntry> entries;
    std::array<std::array<int, 256>, ModuleCount> at{};
};

const Catalog& TheCatalog() {
    static const Catalog catalog = [] {
        Builder b;
        NameSlots(b);
        StartValues(b);
        for (ParamEntry& e : b.entries) {
            e.UndoZh = UndoName(e.Module, e.Index, false);
            e.UndoEn = UndoName(e.Module, e.Index, true);
            BypassNames(e);
        }
        return Catalog{std::move(b.entries), b.at};
    }();
    return catalog;
}

bool IsWhole(double x) {
    return std::isfinite(x) && std::floor(x) == x;
}

int32_t Held(double x, int32_t lo, int32_t hi) {
    if (!(x > lo)) return lo; // NaN too
    if (x > hi) return hi;
    return static_cast<int32_t>(std::trunc(x));
}

std::string Trimmed(std::string_view s) {
    std::size_t a = 0, z = s.size();
    while (a < z && (s[a] == ' ' || s[a] == '\t'))
        ++a;
    while (z > a && (s[z - 1] == ' ' || s[z - 1] == '\t'))
        --z;
    return std::string(s.substr(a, z - a));
}

bool SameText(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    const auto low = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    for (std::size_t k = 0; k < a.size(); ++k)
        if (low(a[k]) != low(b[k])) return false;
    return true;
}

// The number in text after StripToNumber, as the console's edits read it.
std::optional<double> Number(const std::string& text) {
    double x = 0;
    if (!ReadNumber(StripToNumber(text), x)) return std::nullopt;
    return x;
}

std::optional<int32_t> ParseItem(const ParamEntry& e, std::string text) {
    int32_t bypass = 0;
    if (e.Scale == ParamScale::BandType)
        for (const char* mark : {"(bypassed)", "(直通)"}) {
            const std::string m = mark;
            if (text.size() > m.size() && SameText(text.substr(text.size() - m.size()), m)) {
                text = Trimmed(text.substr(0, text.size() - m.size()));
                bypass = 10;
            }
        }
    for (const Items* items : {&e.ItemsZh, &e.ItemsEn})
        for (std::size_t k = 0; k < items->size(); ++k)
            if (SameText(text, (*items)[k])) return static_cast<int32_t>(k) + bypass;
    double x = 0;
    if (bypass != 0 || !ReadNumber(text, x) || !IsWhole(x) || !InRange(e.Address(), int32_t(x)))
        return std::nullopt;
    return static_cast<int32_t>(x);
}

std::optional<int32_t> ParsePoint(const ParamEntry& e, const std::string& text) {
    const std::size_t slash = text.find('/');
    if (slash == std::string::npos) return std::nullopt;
    const auto in = Number(text.substr(0, slash));
    const auto out = Number(text.substr(slash + 1));
    if (!in || !out) return std::nullopt;
    const int p = e.Index - CurveFirstSlot;
    int x = Held(RoundHalfEven(*in), PointInMin, PointInMax);
    if (p == 0) x = PointInMin;
    if (p == 4) x = PointInMax;
    int y = Held(RoundHalfEven(*out), PointOutMin, PointOutMax);
    if (y > x + PointLift) y = x + PointLift;
    return Pack(x, y);
}

} // namespace

const std::vector<ParamEntry>& ParamCatalog() {
    return TheCatalog().entries;
}

const ParamEntry* FindParam(int address) {
    const int m = address / 256;
    const int i = address % 256;
    if (address < 0 || m >= ModuleCount) return nullptr;
    const int k = TheCatalog().at[m][i];
    return k < 0 ? nullptr : &TheCatalog().entries[static_cast<std::size_t>(k)];
}

const ParamEntry* FindParamByKey(std::string_view key) {
    for (const ParamEntry& e : TheCatalog().entries)
        if (e.Key == key) return &e;
    // mM.N: one module digit, a decimal index without sign or leading zero.
    if (key.size() < 4 || key.size() > 6 || key[0] != 'm' || key[2] != '.') return nullptr;
    if (key[1] < '0' || key[1] > '3') return nullptr;
    const std::string_view index = key.substr(3);
    if (index.size() > 1 && index[0] == '0') return nullptr;
    int i = 0;
    for (const char c : index) {
        if (c < '0' || c > '9') return nullptr;
        i = i * 10 + (c - '0');
    }
    return i < 256 ? FindParam((key[1] - '0') * 256 + i) : nullptr;
}

int ParamAddress(std::string_view key) {
    const ParamEntry* e = FindParamByKey(key);
    return e ? e->Address() : -1;
}

int BandTypeAddressOf(int address) {
    const ParamEntry* e = FindParam(address);
    // Band rows carry their number; the dynamic equalisers' slots do not.
    if (!e || e->Band == 0 || e->Field == BandField::None) return -1;
    return address - (static_cast<int>(e->Field) - static_cast<int>(BandField::Type));
}

std::string ParamKeyOf(int address) {
    if (const ParamEntry* e = FindParam(address)) return e->Key;
    if (address < 0 || address / 256 >= ModuleCount) return {};
    return "m" + Num(address / 256) + "." + Num(address % 256);
}

const std::string& ParamDisplayName(const ParamEntry& entry, ParamLanguage language) {
    return language == ParamLanguage::English ? entry.NameEn : entry.NameZh;
}

const std::string& ParamUndoName(const ParamEntry& entry, ParamLanguage language, bool bypass) {
    const bool en = language == ParamLanguage::English;
    if (bypass && !entry.BypassUndoZh.empty()) return en ? entry.BypassUndoEn : entry.BypassUndoZh;
    return en ? entry.UndoEn : entry.UndoZh;
}

bool InRange(int address, int32_t raw) {
    const ParamEntry* e = FindParam(address);
    if (!e || raw < e->Min || raw > e->Max) return false;
    switch (e->Scale) {
    case ParamScale::BandType:
        return raw % 10 < static_cast<int32_t>(e->ItemsZh.size());
    case ParamScale::Memory:
        return raw == e->Min || raw == e->Max;
    case ParamScale::CompressorPoint: {
        const int x = raw / 256 - PointBias;
        const int y = raw % 256 - PointBias;
        const int p = e->Index - CurveFirstSlot;
        const bool fixedIn = (p != 0 || x == PointInMin) && (p != 4 || x == PointInMax);
        return fixedIn && x >= PointInMin && x <= PointInMax && y >= PointOutMin &&
               y <= std::min(PointOutMax, x + PointLift);
    }
    default:
        return true;
    }
}

std::string FormatParamValue(const ParamEntry& e, int32_t raw, ParamLanguage language) {
    if (!InRange(e.Address(), raw)) return "raw " + std::to_string(raw);
    const bool en = language == ParamLanguage::English;
    const Items& items = en ? e.ItemsEn : e.ItemsZh;
    switch (e.Scale) {
    case ParamScale::Frequency:
        return std::string(FreqTable[static_cast<std::size_t>(raw)]) + " Hz";
    case ParamScale::Gain:
        return FormatFixed(GainDb(raw), 1) + " dB";
    case ParamScale::Q:
        return QTable[static_cast<std::size_t>(raw)];
    case ParamScale::BandType:
        return items[static_cast<std::size_t>(raw % 10)] +
               (raw >= 10 ? (en ? " (bypassed)" : " (直通)") : "");
    case ParamScale::List:
        return items[static_cast<std::size_t>(raw)];
    case ParamScale::Delay:
        return FormatFixed(raw / 10.0, 1) + " ms";
    case ParamScale::Attack:
        return FormatFixed(raw, 1) + " ms";
    case ParamScale::Release:
        return ReleaseMultipleTable[static_cast<std::size_t>(raw)];
    case ParamScale::AuxGain:
        return FormatFixed(3.0 * raw - 9.0, 0) + " dB";
    case ParamScale::DeqStart:
        return FormatFixed(raw - 36.0, 0) + " dBu";
    case ParamScale::DeqCutoff:
        return FormatFixed(raw - 30.0, 0) + " dBu";
    case ParamScale::Volume:
        return FormatFixed(raw >= 998 ? 100.0 : raw / 10.0, 1);
    case ParamScale::CompressorPoint:
        return FormatFixed(raw / 256 - PointBias, 0) + "/" + FormatFixed(raw % 256 - PointBias, 0) +
               " dB";
    case ParamScale::Raw:
    case ParamScale::Memory:
        break;
    }
    return std::to_string(raw);
}

std::optional<int32_t> ParseParamValue(const ParamEntry& e, std::string_view typed) {
    const std::string text = Trimmed(typed);
    switch (e.Scale) {
    case ParamScale::List:
    case ParamScale::BandType:
    case ParamScale::Raw:
    case ParamScale::Memory:
        return ParseItem(e, text);
    case ParamScale::CompressorPoint:
        return ParsePoint(e, text);
    default:
        break;
    }
    std::optional<double> x = Number(text);
    if (!x) return std::nullopt;
    double raw = *x;
    switch (e.Scale) {
    case ParamScale::Frequency:
        raw = TextToRaw(2, HasKiloSuffix(text) ? *x * 1000 : *x);
        break;
    case ParamScale::Gain:
        raw = TextToRaw(3, *x);
        break;
    case ParamScale::Q:
        raw = TextToRaw(4, *x);
        break;
    case ParamScale::Delay:
    case ParamScale::Volume:
        raw = RoundHalfEven(*x * 10);
        break;
    case ParamScale::Attack:
        raw = RoundHalfEven(*x);
        break;
    case ParamScale::Release: {
        // The nearest multiple of the attack time; a tie goes to the shorter.
        int best = 0;
        for (int k = 1; k < static_cast<int>(ReleaseMultipleTable.size()); ++k) {
            const auto value = [](int j) {
                return *Number(ReleaseMultipleTable[static_cast<std::size_t>(j)]);
            };
            if (std::abs(value(k) - *x) < std::abs(value(best) - *x)) best = k;
        }
        raw = best;
        break;
    }
    case ParamScale::AuxGain:
        raw = RoundHalfEven((*x + 9) / 3);
        break;
    case ParamScale::DeqStart:
        raw = RoundHalfEven(*x + 36);
        break;
    case ParamScale::DeqCutoff:
        raw = RoundHalfEven(*x + 30);
        break;
    default:
        break;
    }
    return Held(raw, e.Min, e.Max);
}
