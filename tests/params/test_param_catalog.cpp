// The parameter catalogue: addresses, keys, names, ranges, start values,
// carriage and the user-unit texts, against values worked out by hand.
#include "params/ParamCatalog.h"
#include "presets/PresetCodec.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

const ParamEntry& At(int address) {
    const ParamEntry* e = FindParam(address);
    EXPECT_NE(e, nullptr) << std::hex << address;
    static const ParamEntry none;
    return e ? *e : none;
}

std::string Shown(const char* key, int32_t raw, ParamLanguage l = ParamLanguage::English) {
    const ParamEntry* e = FindParamByKey(key);
    EXPECT_NE(e, nullptr) << key;
    return e ? FormatParamValue(*e, raw, l) : std::string();
}

std::optional<int32_t> Typed(const char* key, const char* text) {
    const ParamEntry* e = FindParamByKey(key);
    EXPECT_NE(e, nullptr) << key;
    return e ? ParseParamValue(*e, text) : std::nullopt;
}

} // namespace

TEST(ParamCatalog, BandThreeFrequency) {
    // Main bands start at slot 20, five slots each: band 3 at 30, its frequency at 31.
    const ParamEntry& e = At(0x11F);
    EXPECT_EQ(e.Key, "band3.freq");
    EXPECT_EQ(e.NameZh, "频段 3 频率");
    EXPECT_EQ(e.NameEn, "Band 3 frequency");
    EXPECT_EQ(e.UndoZh, "频率 3");
    EXPECT_EQ(e.UndoEn, "Frequency 3");
    EXPECT_EQ(e.Kind, 2);
    EXPECT_EQ(e.Min, 0);
    EXPECT_EQ(e.Max, 361);
    EXPECT_EQ(e.Band, 3);
    EXPECT_EQ(e.Field, BandField::Freq);
    EXPECT_EQ(e.Start, 85); // the band reset spreads nine bands 40 apart from 5
    EXPECT_TRUE(e.Control && e.Preset && e.Bulk);
    EXPECT_EQ(FindParamByKey("m1.31"), &e);
}

TEST(ParamCatalog, RangeEnds) {
    EXPECT_TRUE(InRange(0x121, 109)); // band3.q
    EXPECT_FALSE(InRange(0x121, 110));
    EXPECT_TRUE(InRange(0x122, 31)); // band3.qshelf
    EXPECT_FALSE(InRange(0x122, 32));
    for (int t : {0, 4, 10, 14})
        EXPECT_TRUE(InRange(0x11E, t)) << t;
    for (int t : {-1, 5, 9, 15})
        EXPECT_FALSE(InRange(0x11E, t)) << t;
    EXPECT_FALSE(InRange(0x105, 0)); // attack bar 1..100
    EXPECT_TRUE(InRange(0x105, 1));
    EXPECT_TRUE(InRange(0x105, 100));
    EXPECT_FALSE(InRange(0x105, 101));
    EXPECT_TRUE(InRange(0x219, 6)); // aux.gain
    EXPECT_FALSE(InRange(0x219, 7));
    EXPECT_TRUE(InRange(0x21D, 6));  // aux high-pass: seven items
    EXPECT_FALSE(InRange(0x10D, 4)); // main high-pass: four
    EXPECT_TRUE(InRange(MemoryRecallAddress, 85));
    EXPECT_TRUE(InRange(MemoryRecallAddress, 0));
    EXPECT_FALSE(InRange(MemoryRecallAddress, 1));
    EXPECT_FALSE(InRange(MemorySaveAddress, 85));
    // Compressor point 2 at -40 dB in: out at most -20 (41140 = 160 * 256 + 180).
    EXPECT_TRUE(InRange(0x10A, 41140));
    EXPECT_FALSE(InRange(0x10A, 41141));
    // Point 0's input is fixed at -90 (byte 110).
    EXPECT_TRUE(InRange(0x108, 28270));
    EXPECT_FALSE(InRange(0x108, 33410));
    EXPECT_FALSE(InRange(0x146, 0)); // m1.70: no such slot
}

TEST(ParamCatalog, DeviceOwnedSlotsAndCarriage) {
    const ParamEntry& m30 = At(0x300);
    EXPECT_EQ(m30.Key, "m3.0");
    EXPECT_EQ(m30.Kind, 0);
    EXPECT_FALSE(m30.Control);
    EXPECT_EQ(m30.Start, 2);
    EXPECT_EQ(m30.UndoZh, "参数 300");
    EXPECT_EQ(m30.UndoEn, "Parameter 300");
    EXPECT_TRUE(InRange(0x300, 65535));
    EXPECT_FALSE(InRange(0x300, 65536));
    EXPECT_FALSE(InRange(0x300, -1));
    EXPECT_EQ(Shown("m3.0", 4660), "4660");
    EXPECT_EQ(Typed("m3.0", "65535"), 65535);
    EXPECT_EQ(Typed("m3.0", "65536"), std::nullopt);
    EXPECT_EQ(Typed("m3.0", "1.5"), std::nullopt);
    // Module 0 travels in two packets of ten (0..19) and is not in presets.
    EXPECT_TRUE(At(0x013).Bulk);
    EXPECT_FALSE(At(0x013).Preset);
    EXPECT_EQ(FindParam(0x014), nullptr);
    // Presets hold one slot past the bound ones: m1.65 (start 0), not m1.66.
    EXPECT_TRUE(At(0x141).Preset);
    EXPECT_EQ(At(0x141).Start, 0);
    EXPECT_FALSE(At(0x142).Preset);
    EXPECT_EQ(ParamKeyOf(0x146), "m1.70");
    EXPECT_EQ(ParamKeyOf(0x400), "");

    int preset = 0, bulk = 0;
    for (const ParamEntry& e : ParamCatalog()) {
        bulk += e.Bulk;
        if (!e.Preset) continue;
        ++preset;
        EXPECT_TRUE(e.Module >= PresetFirstModule && e.Index <= PresetSlotBound[e.Module]) << e.Key;
    }
    EXPECT_EQ(preset, PresetParamLines);
    EXPECT_EQ(bulk, 170); // 17 packets of ten
}

TEST(ParamCatalog, KeysRoundTrip) {
    std::set<std::string> keys;
    int last = -1;
    for (const ParamEntry& e : ParamCatalog()) {
        EXPECT_GT(e.Address(), last);
        last = e.Address();
        EXPECT_TRUE(keys.insert(e.Key).second) << e.Key;
        EXPECT_EQ(FindParamByKey(e.Key), &e);
        EXPECT_EQ(FindParam(e.Address()), &e);
    }
    EXPECT_EQ(FindParamByKey("aux.band1.gain")->Address(), 0x223);
    EXPECT_EQ(FindParamByKey("default.hp.type")->Address(), 0x23F);
    EXPECT_EQ(FindParamByKey("deq2.cutoff")->Address(), 0x215);
    EXPECT_EQ(FindParamByKey("comp.point4")->Address(), 0x10C);
    EXPECT_EQ(FindParamByKey("m1.031"), nullptr);
    EXPECT_EQ(FindParamByKey("m4.0"), nullptr);
    EXPECT_EQ(FindParamByKey("band10.freq"), nullptr);
}

TEST(ParamCatalog, AddressesByKeyAndTheBandATypeSlotRules) {
    EXPECT_EQ(ParamAddress("default.lp.freq"), 0x242);
    EXPECT_EQ(ParamAddress("m3.0"), 0x300);
    EXPECT_EQ(ParamAddress("band0.type"), -1);
    // Each slot of a band row leads to the row's first slot; the dynamic
    // equalisers, crossovers and plain slots have no band type.
    EXPECT_EQ(BandTypeAddressOf(0x114), 0x114); // band 1 type
    EXPECT_EQ(BandTypeAddressOf(0x118), 0x114); // band 1 second Q
    EXPECT_EQ(BandTypeAddressOf(0x140), 0x13C); // band 9 second Q
    EXPECT_EQ(BandTypeAddressOf(0x228), 0x226); // aux band 2 gain
    EXPECT_EQ(BandTypeAddressOf(0x23E), 0x23A); // default band 4 second Q
    EXPECT_EQ(BandTypeAddressOf(0x205), -1);    // dynamic EQ 1 Q
    EXPECT_EQ(BandTypeAddressOf(0x112), -1);    // low-pass frequency
    EXPECT_EQ(BandTypeAddressOf(0x100), -1);
    EXPECT_EQ(BandTypeAddressOf(-1), -1);
}

TEST(ParamCatalog, UndoNamesOfEveryNamedSlot) {
    // The slots the undo texts name: input, port level; module 1 but the
    // volume and the two free slots; the dynamic EQs, aux and default EQ.
    std::set<int> named = {0x00A, 0x00B, 0x100};
    for (int i = 2; i <= 64; ++i)
        if (i != 14 && i != 17) named.insert(0x100 + i);
    for (int i : {1, 2, 3, 4, 5, 7, 8, 9, 13, 14, 15, 16, 17, 19, 20, 21})
        named.insert(0x200 + i);
    for (int i = 25; i <= 66; ++i)
        named.insert(0x200 + i);
    for (int a : named) {
        EXPECT_NE(At(a).UndoZh.rfind("参数 ", 0), 0u) << std::hex << a;
        EXPECT_NE(At(a).UndoEn.rfind("Parameter ", 0), 0u) << std::hex << a;
    }
    for (const ParamEntry& e : ParamCatalog()) {
        if (named.count(e.Address())) continue;
        EXPECT_EQ(e.UndoZh.rfind("参数 ", 0), 0u) << e.Key;
    }

    EXPECT_EQ(At(0x11E).UndoZh, "EQ类型 3");
    EXPECT_EQ(ParamUndoName(At(0x11E), ParamLanguage::Chinese, true), "直通 3");
    EXPECT_EQ(ParamUndoName(At(0x11E), ParamLanguage::English, true), "Bypass 3");
    EXPECT_EQ(ParamUndoName(At(0x221), ParamLanguage::Chinese, true), "辅助 直通 1");
    EXPECT_EQ(ParamUndoName(At(0x230), ParamLanguage::English, true), "Default EQ Bypass 2");
    EXPECT_EQ(ParamUndoName(At(0x11F), ParamLanguage::Chinese, true), "频率 3");
    EXPECT_EQ(At(0x22D).UndoZh, "默认EQ 增益 1");
    EXPECT_EQ(At(0x22D).UndoEn, "Default EQ Gain 1");
    EXPECT_EQ(At(0x209).UndoEn, "DEQ1 Full level");
    EXPECT_EQ(At(0x10A).UndoZh, "压缩曲线 点2");
    EXPECT_EQ(At(0x21D).UndoEn, "Aux High-pass type");
    EXPECT_EQ(At(MemoryRecallAddress).UndoEn, "Parameter 00c");
    EXPECT_EQ(At(0x223).NameEn, "Aux band 1 gain");
    EXPECT_EQ(At(0x223).NameZh, "辅助 频段 1 增益");
}

TEST(ParamCatalog, ValuesInUserUnits) {
    EXPECT_EQ(Shown("band3.freq", 204), "1000.0 Hz");
    EXPECT_EQ(Shown("band3.gain", 108), "-2.4 dB");
    EXPECT_EQ(Shown("band3.gain", 181), "raw 181");
    EXPECT_EQ(Shown("band3.q", 19), "0.71");
    EXPECT_EQ(Shown("band3.type", 13), "VariQ HPF (bypassed)");
    EXPECT_EQ(Shown("band3.type", 1, ParamLanguage::Chinese), "低棚架");
    EXPECT_EQ(Shown("delay.left", 120), "12.0 ms");
    EXPECT_EQ(Shown("comp.release", 7), "Atk x 32");
    EXPECT_EQ(Shown("aux.gain", 0), "-9 dB");
    EXPECT_EQ(Shown("deq1.start", 16), "-20 dBu");
    EXPECT_EQ(Shown("deq1.cutoff", 48), "18 dBu");
    EXPECT_EQ(Shown("comp.point3", 51400), "0/0 dB");
    EXPECT_EQ(Shown("volume", 998), "100.0");
    EXPECT_EQ(Shown("input", 1, ParamLanguage::Chinese), "蓝牙");
    EXPECT_EQ(Shown("port.level", 2), "raw 2"); // its start value, no item
}

TEST(ParamCatalog, TypedValuesAsTheConsoleStoresThem) {
    EXPECT_EQ(Typed("band3.freq", "1000"), 204);
    EXPECT_EQ(Typed("band3.freq", "1010 Hz"), 204); // tie goes low
    EXPECT_EQ(Typed("band3.freq", "1k"), 204);
    EXPECT_EQ(Typed("band3.freq", "20300"), 361);
    EXPECT_EQ(Typed("band3.gain", "-2.5"), 108); // 107.5, half to even
    EXPECT_EQ(Typed("band3.gain", "+3dB"), 135);
    EXPECT_EQ(Typed("band3.gain", "20"), 180);
    EXPECT_EQ(Typed("band3.q", "2"), 37);
    EXPECT_EQ(Typed("band3.qshelf", "2"), 31);
    EXPECT_EQ(Typed("delay.right", "15.04 ms"), 150);
    EXPECT_EQ(Typed("comp.attack", "0"), 1);
    EXPECT_EQ(Typed("comp.release", "Atk x 8"), 3);
    EXPECT_EQ(Typed("comp.release", "10"), 3); // between 8 and 12: the shorter
    EXPECT_EQ(Typed("aux.gain", "0 dB"), 3);
    EXPECT_EQ(Typed("deq2.start", "-20"), 16);
    EXPECT_EQ(Typed("hp.type", "12db butterworth"), 2);
    EXPECT_EQ(Typed("hp.type", "4"), std::nullopt);
    EXPECT_EQ(Typed("input", "Bluetooth"), 1);
    EXPECT_EQ(Typed("band3.type", "Low shelf (bypassed)"), 11);
    EXPECT_EQ(Typed("band3.type", "7"), std::nullopt);
    EXPECT_EQ(Typed("phase.left", "-"), 1);
    EXPECT_EQ(Typed("band3.gain", "dB"), std::nullopt);
    // Out above in + 20; point 0's input stays at -90.
    EXPECT_EQ(Typed("comp.point2", "-40/0"), 41140);
    EXPECT_EQ(Typed("comp.point0", "-50/-60"), 28290);
}
