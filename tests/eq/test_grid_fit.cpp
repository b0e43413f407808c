// Measurements: reading each format and refusing by line; the level offset;
// the fit's bands on the unit's grid, repeatable, and the known answer found.

#include "eq/CurveSlotsCore.h"
#include "eq/GridFit.h"
#include "params/ParamImage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

// n points from 20 Hz to 20 kHz, level(f) each, as "F L" rows.
template <class Level> std::string Rows(int n, Level level, const char* sep = " ") {
    std::string s;
    for (int i = 0; i < n; ++i) {
        const double f = 20 * std::pow(1000.0, i / (n - 1.0));
        s += std::to_string(f) + sep + std::to_string(level(f)) + "\n";
    }
    return s;
}

// Module 1 at its defaults, crossovers off.
FitInput Input(const std::string& text) {
    FitInput in;
    in.Measured = ParseMeasurement(text);
    EXPECT_TRUE(in.Measured.Ok) << in.Measured.Error.En;
    in.ModuleImage.assign(ImageSlots, 0);
    for (int b = 0; b < 9; ++b)
        for (int k = 0; k < 5; ++k)
            in.ModuleImage[static_cast<std::size_t>(20 + 5 * b + k)] = DefaultBand(1, b).v[k];
    in.ModuleImage[18] = 361;
    return in;
}

// A speaker whose error the given bands undo exactly, measured at 400 points.
std::string Undone(const std::vector<PeqBandRaw>& truth) {
    FitInput in = Input(Rows(30, [](double) { return 0.0; }));
    for (int b = 0; b < 9; ++b)
        for (int k = 0; k < 5; ++k)
            in.ModuleImage[static_cast<std::size_t>(20 + 5 * b + k)] =
                truth[static_cast<std::size_t>(b)].v[k];
    const RawParam raw = [&](int, int i) { return in.ModuleImage[static_cast<std::size_t>(i)]; };
    CurveSlot slots[CurveSlotCount];
    float sum[CurvePoints];
    SumSlotResponses(slots, CollectImageSlots(1, raw, 0, 0, slots), sum);
    // Sampled at the graph's own pixels, so nothing is lost between them.
    std::string s;
    for (int j = 0; j < CurvePoints; ++j)
        s += std::to_string(PixelToFreq(j)) + " " + std::to_string(80.0 - sum[j]) + "\n";
    return s;
}

} // namespace

TEST(MeasurementRead, ExportCsvAndPlainColumns) {
    const Measurement a = ParseMeasurement("\xEF\xBB\xBF* Measurement data\r\n* Freq(Hz) SPL(dB) "
                                           "Phase(degrees)\r\n5.0 70 0\r\n" +
                                           Rows(25, [](double) { return 81.5; }, "\t,") +
                                           "30000, 60, 12\n");
    ASSERT_TRUE(a.Ok) << a.Error.En;
    EXPECT_EQ(a.Freq.size(), 25u); // 5 Hz and 30 kHz lie outside 10 Hz .. 24 kHz
    EXPECT_DOUBLE_EQ(a.Db[3], 81.5);

    // Any column order, extra columns ignored; of two level names the first column wins.
    std::string csv = "phase,Gain (dB),Frequency,raw\n";
    for (int i = 0; i < 20; ++i)
        csv += "0," + std::to_string(i) + "," + std::to_string(100 + 10 * i) + ",99\n";
    const Measurement b = ParseMeasurement(csv);
    ASSERT_TRUE(b.Ok) << b.Error.En;
    EXPECT_DOUBLE_EQ(b.Freq[2], 120);
    EXPECT_DOUBLE_EQ(b.Db[2], 2);

    const Measurement c = ParseMeasurement("# two columns\n\n" + Rows(20, [](double f) {
                                               return f < 1000 ? 1.0 : -1.0;
                                           }) + "# end\n");
    ASSERT_TRUE(c.Ok) << c.Error.En;
    EXPECT_EQ(c.Db.front(), 1.0);
    EXPECT_EQ(c.Db.back(), -1.0);
}

TEST(MeasurementRead, RefusalsNameTheLine) {
    const std::string good = Rows(20, [](double) { return 80.0; });
    struct Case {
        std::string Text;
        int Line;
        const char* Says;
    } cases[] = {
        {"* c\n100 80\n200 eighty\n", 3, "'eighty' is not a number"},
        {"100 80\n200 80\n200 81\n", 3, "not above the previous"},
        {"100 80\n90 80\n", 2, "not above the previous"},
        {"100\n", 1, "expected a frequency and a level"},
        {"freq,phase\n100,0\n", 1, "no level column"},
        {"spl,db\n100,0\n", 1, "no frequency column"},
        {"100 80\n200 nan\n", 2, "not a number"},
        {"100 80\n200 1e9\n", 2, "beyond"},
        {"100 80\n200 8\x01" "0\n", 2, "control characters"},
        {"0 80\n", 1, "above 0"},
        {good.substr(0, good.rfind('\n', good.size() - 2) + 1), 0, "only 19 points"},
        {"", 0, "empty"},
        {"* only comments\n", 0, "only 0 points"},
    };
    for (const Case& c : cases) {
        const Measurement m = ParseMeasurement(c.Text);
        EXPECT_FALSE(m.Ok) << c.Text;
        EXPECT_EQ(m.ErrorLine, c.Line) << c.Text;
        EXPECT_NE(m.Error.En.find(c.Says), std::string::npos) << m.Error.En;
        if (c.Line > 0) {
            EXPECT_EQ(m.Error.Zh.rfind("第 " + std::to_string(c.Line) + " 行", 0), 0u) << m.Error.Zh;
        }
    }
    EXPECT_FALSE(ParseMeasurement(std::string(MaxMeasurementBytes + 1, ' ')).Ok);
}

TEST(MeasurementFit, LevelOffsetAndTargets) {
    // 83 dB flat against a flat target: all offset, no error, nothing to fit.
    FitInput in = Input(Rows(200, [](double) { return 83.0; }));
    FitResult r = FitToMeasurement(in);
    ASSERT_TRUE(r.Ok);
    EXPECT_NEAR(r.ScoreAfter.Offset, 83.0, 1e-6);
    EXPECT_NEAR(r.ScoreAfter.Rms, 0.0, 1e-6);
    for (const PeqBandRaw& b : r.After)
        EXPECT_EQ(b.v[0], 10); // every band left flat

    // A house curve measured as such: +4 dB at 30 Hz, half at 60, none from 120;
    // -2 dB at 10 kHz.
    TargetCurve house;
    std::string why;
    ASSERT_TRUE(ParseTargetSpec("house:4,120,-2", house, why));
    EXPECT_DOUBLE_EQ(TargetAt(house, 30), 4);
    EXPECT_NEAR(TargetAt(house, 60), 2, 1e-9);
    EXPECT_DOUBLE_EQ(TargetAt(house, 500), 0);
    EXPECT_NEAR(TargetAt(house, 10000), -2, 1e-9);
    in = Input(Rows(400, [&](double f) { return 70 + TargetAt(house, f); }));
    in.Target = house;
    EXPECT_NEAR(ScoreBands(in, FitToMeasurement(in).Before).Offset, 70, 0.01);
    EXPECT_LT(ScoreBands(in, FitToMeasurement(in).Before).Rms, 0.02);
    for (const char* bad : {"house:4,120", "house:30,120,0", "house:4,5,0", "tilt", "house:a,b,c"})
        EXPECT_FALSE(ParseTargetSpec(bad, house, why)) << bad;
}

TEST(MeasurementFit, FindsKnownBandsOnTheGridAndRepeats) {
    std::vector<PeqBandRaw> truth(9);
    for (int b = 0; b < 9; ++b)
        truth[static_cast<std::size_t>(b)] = {{10, 5 + 40 * b, 120, 25, 19}};
    truth[1] = {{0, 60, 80, 30, 19}};   // 62.5 Hz, -8 dB, Q 1.30
    truth[4] = {{0, 204, 140, 37, 19}}; // 1000 Hz, +4 dB, Q 2.00
    truth[7] = {{2, 300, 95, 25, 20}};  // high shelf 6350 Hz, -5 dB, slope 0.75
    FitInput in = Input(Undone(truth));
    const FitResult r = FitToMeasurement(in);
    ASSERT_TRUE(r.Ok) << r.Error.En;
    EXPECT_LT(r.ScoreAfter.Rms, 0.1);
    EXPECT_LT(r.ScoreAfter.Worst, 0.5);
    EXPECT_GT(r.ScoreBefore.Rms, 2.0);
    int active = 0;
    for (const PeqBandRaw& b : r.After) {
        const int type = b.v[0];
        ASSERT_TRUE(type == 0 || type == 1 || type == 2 || type == 10) << type;
        active += type < 10;
        EXPECT_GE(b.v[1], 0);
        EXPECT_LE(b.v[1], 361);
        EXPECT_GE(b.v[2], 0);
        EXPECT_LE(b.v[2], 150); // +6 dB at most
        EXPECT_GE(b.v[type == 0 ? 3 : 4], 0);
        EXPECT_LE(b.v[type == 0 ? 3 : 4], type == 0 ? 109 : 31);
    }
    EXPECT_LE(active, 9);
    EXPECT_EQ(FitToMeasurement(in).After, r.After);

    // Fewer bands, no shelves, a smaller boost: still on the grid, within the limits.
    in.Options.Bands = 2;
    in.Options.Shelves = false;
    in.Options.MaxBoostDb = 2;
    const FitResult small = FitToMeasurement(in);
    ASSERT_TRUE(small.Ok);
    active = 0;
    for (const PeqBandRaw& b : small.After) {
        EXPECT_TRUE(b.v[0] == 0 || b.v[0] == 10) << b.v[0];
        EXPECT_LE(b.v[2], 130);
        active += b.v[0] == 0;
    }
    EXPECT_EQ(active, 2);
}

TEST(MeasurementFit, OptionsAndRangeChecked) {
    FitInput in = Input(Rows(30, [](double) { return 0.0; }));
    for (auto set : {+[](FitOptions& o) { o.FromHz = 5; }, +[](FitOptions& o) { o.ToHz = 30000; },
                     +[](FitOptions& o) { o.FromHz = 1000, o.ToHz = 1500; },
                     +[](FitOptions& o) { o.MaxBoostDb = 13; }}) {
        FitInput bad = in;
        set(bad.Options);
        EXPECT_FALSE(FitToMeasurement(bad).Ok);
    }
    // Cancelled through the progress callback.
    const FitResult c = FitToMeasurement(in, [](int) { return false; });
    EXPECT_TRUE(c.Cancelled);
    EXPECT_FALSE(c.Ok);
}
