// Parametric EQ text: reading, snapping onto the unit's tables, the deviation
// figure and the way back; no window.

#include "eq/PeqText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

PeqFile Parse(const std::string& text) {
    return ParsePeqText(text);
}

// The plan of a file for module 1 over default bands.
PeqPlan Plan(const std::string& text, int module = 1) {
    const PeqFile f = Parse(text);
    EXPECT_TRUE(f.Ok) << f.Error.En;
    return PlanPeqImport(f, module, {});
}

PeqBandRaw Band1(const std::string& line) {
    const PeqPlan p = Plan(line);
    EXPECT_EQ(p.Rows.size(), 1u);
    return p.Rows.empty() ? PeqBandRaw{} : p.Rows[0].Band;
}

} // namespace

TEST(PeqParse, ToleratesSpacingMissingNumbersCommentsHeadersAndUnits) {
    const PeqFile f = Parse("\xEF\xBB\xBF"
                            "Filter Settings file\r\n"
                            "Room EQ V5.19\r\n"
                            "\r\n"
                            "# a comment\r\n"
                            "Preamp: -6.2 dB\r\n"
                            "Filter 1: ON PK Fc 100 Hz Gain -3.0 dB Q 1.41\r\n"
                            "Filter  2: ON  LSC      Fc   105.0 Hz  Gain   5.4 dB  Q  0.70\r\n"
                            "Filter 3: OFF PK Fc 2000 Hz Gain 2 dB Q 4   # trailing comment\r\n"
                            "Filter: ON HSC Fc 8000 Hz Gain -2.5 dB Q 0.71\r\n"
                            "Filter 4: ON HP Fc 30 Hz\r\n"
                            "\tFilter 5: ON LPQ Fc 18000 Hz Q 0.707\r\n"
                            "Filter 6: ON PK Fc 2.5kHz Gain +1dB Q .5\r\n"
                            "Filter 7: ON None\r\n"
                            "Filter 8: ON LS 6dB Fc 200 Hz Gain 3 dB");
    ASSERT_TRUE(f.Ok) << f.Error.En;
    ASSERT_EQ(f.Filters.size(), 8u); // "None" is an unused slot
    EXPECT_TRUE(f.HasPreamp);
    EXPECT_DOUBLE_EQ(f.Preamp, -6.2);
    EXPECT_EQ(f.NoteLines, 2);
    const PeqFilter& lsc = f.Filters[1];
    EXPECT_EQ(lsc.Kind, PeqKind::LowShelf);
    EXPECT_EQ(lsc.Number, 2);
    EXPECT_DOUBLE_EQ(lsc.Freq, 105.0);
    EXPECT_DOUBLE_EQ(lsc.Gain, 5.4);
    EXPECT_DOUBLE_EQ(lsc.Q, 0.70);
    EXPECT_FALSE(f.Filters[2].On);
    EXPECT_EQ(f.Filters[3].Number, 0);
    EXPECT_EQ(f.Filters[3].Kind, PeqKind::HighShelf);
    EXPECT_EQ(f.Filters[4].Kind, PeqKind::HighPass);
    EXPECT_FALSE(f.Filters[4].HasQ);
    EXPECT_EQ(f.Filters[5].Kind, PeqKind::LowPass);
    EXPECT_DOUBLE_EQ(f.Filters[6].Freq, 2500.0);
    EXPECT_DOUBLE_EQ(f.Filters[6].Gain, 1.0);
    EXPECT_DOUBLE_EQ(f.Filters[6].Q, 0.5);
    EXPECT_DOUBLE_EQ(f.Filters[7].Slope, 6.0);
    EXPECT_EQ(f.Filters[7].Line, 14);
}

TEST(PeqParse, RefusesNamingTheLine) {
    const struct {
        std::string text;
        int line;
        const char* says;
    } cases[] = {
        {"Filter 1: ON PK Fc abc Hz Gain 1 dB Q 1", 1, "no number after 'Fc'"},
        {"\n\nFilter 1: ON PK Fc 5 Hz Gain 1 dB Q 1", 3, "outside 10 Hz to 22 kHz"},
        {"Filter 1: ON PK Fc 22001 Hz Gain 1 dB Q 1", 1, "outside"},
        {"# x\nFilter 1: ON PK Fc 100 Hz Gain 1 dB Q 0", 2, "Q must be above 0"},
        {"Filter 1: ON HPQ Fc 100 Hz Q -1", 1, "Q must be above 0"},
        {"Filter 1: ON PK Fc 100 Hz Gain 1 dB", 1, "no Q"},
        {"Filter 1: ON LSC Fc 100 Hz Q 1", 1, "no gain"},
        {"Filter 1: ON PK Fc 100 Hz Gain 1 dB Q 1 BW 2", 1, "unexpected 'BW'"},
        {"Filter 1: ON PK Fc 100 Hz Gain 1 dB Q 1\rFilter 2: ON PK Fc 1 Hz Gain 1 Q 1 Q 2", 2,
         "twice"},
        {"Filter 1: ON PK Fc 100 Hz Gain 1 dB Q 1\nFiltr 2: ON PK Fc 100 Hz", 2, "cannot read"},
        {"Preamp: loud", 1, "preamp"},
        {"", 0, "empty"},
        {" \n# only a comment\n\n", 0, "empty"},
        {"Room EQ V5.19\nNotes: none", 0, "no filters"},
        {"Filter 1: ON NO Fc 100 Hz\nFilter 2: ON AP Fc 200 Hz", 0, "NO (1), AP (2)"},
        {std::string("Filter 1: ON PK\0\x01\x02", 18), 0, "not a text file"},
        {"Filter 1: ON PK Fc 100 Hz Gain 1 dB Q 1\n\xC3\x28", 0, "not a text file"},
    };
    for (const auto& c : cases) {
        const PeqFile f = Parse(c.text);
        EXPECT_FALSE(f.Ok) << c.text;
        EXPECT_TRUE(f.Filters.empty());
        EXPECT_EQ(f.ErrorLine, c.line) << c.text;
        EXPECT_NE(f.Error.En.find(c.says), std::string::npos) << f.Error.En;
        if (c.line > 0) {
            EXPECT_EQ(f.Error.En.rfind("line " + std::to_string(c.line) + ":", 0), 0u);
        }
        EXPECT_FALSE(f.Error.Zh.empty());
    }
}

TEST(PeqSnap, FrequencyGoesToTheNearestEntryAndATieToTheLowerOne) {
    EXPECT_EQ(Band1("Filter 1: ON PK Fc 1010 Hz Gain 0 dB Q 1").v[1], 204); // 1000 | 1020
    EXPECT_EQ(Band1("Filter 1: ON PK Fc 1011 Hz Gain 0 dB Q 1").v[1], 205);
    EXPECT_EQ(Band1("Filter 1: ON PK Fc 100 Hz Gain 0 dB Q 1").v[1], 84); // 99 | 101
    EXPECT_EQ(Band1("Filter 1: ON PK Fc 10 Hz Gain 0 dB Q 1").v[1], 0);
    EXPECT_EQ(Band1("Filter 1: ON PK Fc 22000 Hz Gain 0 dB Q 1").v[1], 361);
}

TEST(PeqSnap, GainAndQAtAndBeyondTheLimitsAreHeldAndSaidSo) {
    const PeqPlan p = Plan("Filter 1: ON PK Fc 100 Hz Gain 12 dB Q 128\n"
                           "Filter 2: ON PK Fc 100 Hz Gain -24 dB Q 0.1\n"
                           "Filter 3: ON PK Fc 100 Hz Gain 12.2 dB Q 129\n"
                           "Filter 4: ON PK Fc 100 Hz Gain -30 dB Q 0.05\n"
                           "Filter 5: ON HPQ Fc 100 Hz Q 1.4\n"
                           "Filter 6: ON LPQ Fc 100 Hz Q 1.5\n"
                           "Filter 7: ON PK Fc 100 Hz Gain -3.1 dB Q 1.41\n");
    ASSERT_EQ(p.Rows.size(), 7u);
    auto band = [&](int i) { return p.Rows[static_cast<std::size_t>(i)].Band; };
    auto notes = [&](int i) { return p.Rows[static_cast<std::size_t>(i)].Notes.size(); };
    EXPECT_EQ(band(0).v[2], 180);
    EXPECT_EQ(band(0).v[3], 109);
    EXPECT_EQ(notes(0), 0u);
    EXPECT_EQ(band(1).v[2], 0);
    EXPECT_EQ(band(1).v[3], 0);
    EXPECT_EQ(notes(1), 0u);
    EXPECT_EQ(band(2).v[2], 180);
    EXPECT_EQ(band(2).v[3], 109);
    EXPECT_EQ(notes(2), 2u); // gain and Q
    EXPECT_EQ(band(3).v[2], 0);
    EXPECT_EQ(band(3).v[3], 0);
    EXPECT_EQ(notes(3), 1u);
    EXPECT_EQ(band(4).v[0], 3);
    EXPECT_EQ(band(4).v[4], 31);
    EXPECT_EQ(band(4).v[2], 120); // no gain: 0 dB
    EXPECT_EQ(notes(4), 0u);
    EXPECT_EQ(band(5).v[0], 4);
    EXPECT_EQ(band(5).v[4], 31);
    EXPECT_EQ(notes(5), 1u);
    EXPECT_EQ(band(6).v[2], 104); // (20.9 x 5 = 104.5) half to even: -3.2 dB
    EXPECT_EQ(band(6).v[3], 32);  // the next Q upward: 1.50
}

TEST(PeqSnap, ShelvesBySlopeOrWithoutQTakeTheUnitsSlope) {
    EXPECT_EQ(Band1("Filter 1: ON LS 6dB Fc 100 Hz Gain 6 dB").v[4], 13);  // 0.50
    EXPECT_EQ(Band1("Filter 1: ON LS 12dB Fc 100 Hz Gain 6 dB").v[4], 25); // 1.00
    EXPECT_EQ(Band1("Filter 1: ON HS Fc 100 Hz Gain -6 dB").v[4], 25);     // as 12 dB
    EXPECT_EQ(Band1("Filter 1: ON HS 6 dB Fc 100 Hz Gain -6 dB").v[4], 13);
    // Q 1/sqrt(2) is slope 1 at any gain; gentler Qs give gentler slopes.
    EXPECT_EQ(Band1("Filter 1: ON LSC Fc 100 Hz Gain 9 dB Q 0.7071").v[4], 25);
    EXPECT_EQ(Band1("Filter 1: ON HSC Fc 100 Hz Gain 0 dB Q 0.5").v[4], 13); // 2 Q^2
    const PeqBandRaw off = Band1("Filter 1: OFF PK Fc 100 Hz Gain 3 dB Q 8");
    EXPECT_EQ(off.v[0], 10);
    EXPECT_EQ(off.v[3], 61); // the Q for when it is switched on
    EXPECT_EQ(off.v[4], 31); // what its field shows while bypassed: the same Q, held to 1.40
}

TEST(PeqSnap, MoreActiveFiltersThanBandsDropTheSmallestGainsAndTheLaterOnATie) {
    std::string text;
    const double gains[11] = {5, -0.5, 4, 0.5, 3, 2, -6, 1, 7, 8, -9};
    for (int i = 0; i < 11; ++i)
        text += "Filter " + std::to_string(i + 1) + ": ON PK Fc 1000 Hz Gain " +
                std::to_string(gains[i]) + " dB Q 1\n";
    text += "Filter 12: OFF PK Fc 1000 Hz Gain 9 dB Q 1\n";
    const PeqPlan p = Plan(text);
    ASSERT_EQ(p.Rows.size(), 9u);
    ASSERT_EQ(p.Dropped.size(), 3u);
    EXPECT_EQ(p.Dropped[0].Number, 2); // -0.5 and 0.5 tie: both go, being the smallest
    EXPECT_EQ(p.Dropped[1].Number, 4);
    EXPECT_EQ(p.Dropped[2].Number, 12); // bypassed, no band left
    const PeqPlan aux = Plan(text, 2);
    ASSERT_EQ(aux.Rows.size(), 2u);
    EXPECT_EQ(aux.Rows[0].Source.Number, 10);
    EXPECT_EQ(aux.Rows[1].Source.Number, 11);

    const PeqPlan tie = Plan("Filter 1: ON PK Fc 100 Hz Gain 1 dB Q 1\nFilter 2: ON HP Fc 30 Hz\n"
                             "Filter 3: ON LP Fc 9000 Hz\n",
                             2);
    ASSERT_EQ(tie.Dropped.size(), 1u);
    EXPECT_EQ(tie.Dropped[0].Number, 3); // no gain counts as 0 dB; the later one goes
}

TEST(PeqDeviationFigure, ZeroWhenTheFileHoldsTableValues) {
    const PeqPlan p = Plan("Filter 1: ON PK Fc 1000.0 Hz Gain 3.0 dB Q 1.00\n"
                           "Filter 2: ON HSC Fc 8000 Hz Gain -4.0 dB Q 0.7071\n"
                           "Filter 3: ON HPQ Fc 30.1 Hz Q 0.71\n"
                           "Filter 4: OFF PK Fc 500 Hz Gain 9 dB Q 2\n");
    EXPECT_LT(WorstDeviation(p, true).WorstDb, 1e-3);
    EXPECT_LT(WorstDeviation(p, false).WorstDb, 1e-3); // the default bands are flat
}

TEST(PeqDeviationFigure, KnownCases) {
    // A peaking band reaches its gain at its own pixel: 3.1 dB asked, 3.2 dB set.
    const PeqDeviation peak =
        WorstDeviation(Plan("Filter 1: ON PK Fc 1000 Hz Gain -3.1 dB Q 1"), true);
    EXPECT_NEAR(peak.WorstDb, 0.1, 0.002);
    EXPECT_NEAR(peak.AtHz, 994, 10);
    // A shelf's plateau is its gain: 15 dB asked, 12 dB held.
    const PeqDeviation shelf = WorstDeviation(Plan("Filter 1: ON LS Fc 1000 Hz Gain 15 dB"), true);
    EXPECT_NEAR(shelf.WorstDb, 3.0, 0.01);
    EXPECT_LT(shelf.AtHz, 200); // on the plateau, left of the shelf
    // A band left as it is counts against the file.
    std::vector<PeqBandRaw> current(9);
    for (int b = 0; b < 9; ++b)
        current[static_cast<std::size_t>(b)] = DefaultBand(1, b);
    current[4].v[2] = 150; // +6 dB at 472 Hz
    const PeqPlan keep =
        PlanPeqImport(Parse("Filter 1: ON PK Fc 1000 Hz Gain 3 dB Q 1"), 1, current);
    EXPECT_LT(WorstDeviation(keep, true).WorstDb, 1e-6);
    EXPECT_NEAR(WorstDeviation(keep, false).WorstDb, 6.0, 0.5);
}

TEST(PeqRoundTrip, ExportThenImportGivesTheSameBands) {
    static int32_t image[4][86];
    const PeqBandRaw bands[9] = {
        {{0, 204, 135, 37, 19}}, {{10, 84, 90, 61, 19}},   {{1, 40, 180, 25, 31}},
        {{2, 300, 90, 25, 13}},  {{3, 20, 120, 25, 24}},   {{4, 350, 120, 25, 5}},
        {{11, 100, 0, 25, 0}},   {{0, 361, 120, 109, 19}}, {{12, 0, 150, 25, 19}}};
    for (int b = 0; b < 9; ++b)
        for (int k = 0; k < 5; ++k)
            image[1][20 + 5 * b + k] = bands[b].v[k];
    image[1][13] = 2; // 12 dB Butterworth high-pass at 80.3 Hz
    image[1][15] = 73;
    image[1][16] = 0;
    image[1][18] = 361;
    const RawParam raw = [](int m, int i) { return image[m][i]; };
    const std::string withCrossover = WritePeqText(1, raw, "\r\n");
    EXPECT_NE(withCrossover.find("Filter 10: ON HPQ Fc 80.3 Hz Q 0.7071\r\n"), std::string::npos);
    image[1][15] = 0; // a high-pass at the lowest frequency is off: bands only
    const std::string text = WritePeqText(1, raw, "\r\n");
    EXPECT_EQ(text.find("Filter 10"), std::string::npos) << text;
    EXPECT_NE(text.find("Filter 2: OFF PK Fc 99.0 Hz Gain -6.0 dB Q 8.00\r\n"), std::string::npos);

    const PeqFile f = Parse(text);
    ASSERT_TRUE(f.Ok) << f.Error.En;
    const PeqPlan p = PlanPeqImport(f, 1, {});
    EXPECT_TRUE(p.Dropped.empty());
    const std::vector<PeqBandRaw> back = PlannedBands(p, true);
    for (int b = 0; b < 9; ++b) {
        const int qSlot = bands[b].v[0] % 10 == 0 ? 3 : 4; // bypassed peaking too
        for (int k : {0, 1, 2, qSlot})
            EXPECT_EQ(back[static_cast<std::size_t>(b)].v[k], bands[b].v[k]) << b << " " << k;
    }
    EXPECT_LT(WorstDeviation(p, true).WorstDb, 1e-3);
}
