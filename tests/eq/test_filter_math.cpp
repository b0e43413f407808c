// Band shapes, their placement on the axis and the graph geometry; no window.

#include "eq/CompressorMath.h"
#include "eq/FilterMath.h"
#include "eq/GraphGeometry.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include <cmath>
#include <limits>

namespace {

ResponseArray Band(int type, int freq, float q, float gain) {
    ResponseArray out;
    out.fill(12345.0f); // every point must be overwritten
    BandResponse(out.data(), freq, static_cast<uint8_t>(type), q, gain);
    return out;
}

constexpr int Px1k = 273; // 1000 Hz snaps to this logical pixel (994 Hz)

} // namespace

TEST(AxisMapping, ThousandHertzSnapsToPixel273) {
    EXPECT_EQ(RoundEvenInt(FreqToPixel(1000)), Px1k);
    EXPECT_EQ(RoundEvenInt(PixelToFreq(Px1k)), 994);
    EXPECT_DOUBLE_EQ(FreqToPixel(10), 0.0);
    EXPECT_NEAR(FreqToPixel(24000), CurveWidth, 1e-9);
    EXPECT_DOUBLE_EQ(FreqToPixel(0.5), FreqToPixel(1)); // held at 1 Hz
}

TEST(PeakingShape, GainAtBandPixelAndSymmetricFalloff) {
    const auto r = Band(0, 1000, 1.0f, 6.0f);
    EXPECT_NEAR(r[Px1k], 6.0, 0.005);
    for (int k = 1; k <= 150; ++k)
        EXPECT_NEAR(r[Px1k - k], r[Px1k + k], 0.01) << k;
    EXPECT_LT(r[Px1k + 40], 3.0);
    EXPECT_GT(r[Px1k + 40], 0.0);
}

TEST(PeakingShape, CutMirrorsBoost) {
    const auto up = Band(0, 1000, 2.0f, 6.0f);
    const auto down = Band(0, 1000, 2.0f, -6.0f);
    for (int i = 0; i <= CurveWidth; ++i)
        EXPECT_NEAR(up[i], -down[i], 1e-3) << i;
}

TEST(FlatShapes, ZeroGainPeakingIsExactlyFlat) {
    const auto r = Band(0, 1000, 1.0f, 0.0f);
    for (int i = 0; i <= CurveWidth; ++i)
        EXPECT_EQ(r[i], 0.0f) << i;
}

TEST(FlatShapes, BypassedBandsAreFlatWhateverTheirGain) {
    for (int type = 10; type <= 14; ++type) {
        const auto r = Band(type, 500, 1.0f, 9.0f);
        for (int i = 0; i <= CurveWidth; ++i)
            ASSERT_EQ(r[i], 0.0f) << type << " " << i;
    }
}

TEST(FlatShapes, CrossoverOffIsFlat) {
    for (int type : {100, 200}) {
        const auto r = Band(type, 1000, 1.0f, 0.0f);
        for (int i = 0; i <= CurveWidth; ++i)
            ASSERT_EQ(r[i], 0.0f) << type << " " << i;
    }
}

TEST(ShelfShape, LowShelfHalfGainAtBandAndFullGainAtLeftEnd) {
    const auto r = Band(1, 1000, 0.71f, 6.0f);
    EXPECT_NEAR(r[Px1k], 3.0, 0.005);
    EXPECT_NEAR(r[0], 6.0, 0.005);
    EXPECT_NEAR(r[CurveWidth], 0.0, 0.005);
}

TEST(ShelfShape, HighShelfIsTheMirrorImage) {
    const auto r = Band(2, 1000, 0.71f, 6.0f);
    EXPECT_NEAR(r[Px1k], 3.0, 0.005);
    EXPECT_NEAR(r[0], 0.0, 0.005);
    EXPECT_NEAR(r[CurveWidth], 6.0, 0.005);
}

TEST(ShelfShape, SteepSlopeWithLargeGainStaysFinite) {
    // Without the absolute value the root of the shelf's alpha goes imaginary.
    const auto r = Band(1, 1000, 4.0f, 12.0f);
    for (int i = 0; i <= CurveWidth; ++i)
        ASSERT_TRUE(std::isfinite(r[i])) << i;
}

TEST(ShelfShape, SlopeAboveFourDrawsAsFour) {
    EXPECT_EQ(Band(1, 300, 9.5f, 6.0f), Band(1, 300, 4.0f, 6.0f));
    EXPECT_EQ(Band(3, 300, 12.0f, 0.0f), Band(3, 300, 4.0f, 0.0f));
}

struct CornerCase {
    int type;
    double db;
};

// Names the case by its type code (and keeps gtest from dumping raw bytes).
void PrintTo(const CornerCase& c, std::ostream* os) { *os << "type " << c.type; }

class CrossoverCorner : public ::testing::TestWithParam<CornerCase> {};

TEST_P(CrossoverCorner, LevelAtTheBandsPixel) {
    const auto r = Band(GetParam().type, 1000, 1.0f, 5.0f);
    EXPECT_NEAR(r[Px1k], GetParam().db, 0.005);
}

INSTANTIATE_TEST_SUITE_P(Types, CrossoverCorner,
                         ::testing::Values(CornerCase{101, -4.77}, CornerCase{102, -3.01},
                                           CornerCase{103, -6.02}, CornerCase{104, -9.54},
                                           CornerCase{105, -3.01}, CornerCase{106, -6.02},
                                           CornerCase{201, -4.77}, CornerCase{202, -3.01},
                                           CornerCase{203, -6.02}, CornerCase{205, -3.01},
                                           CornerCase{206, -6.02}),
                         [](const ::testing::TestParamInfo<CornerCase>& param) {
                             return "type" + std::to_string(param.param.type);
                         });

TEST(CrossoverShape, HighPassCutsLowsLowPassCutsHighs) {
    const auto hp = Band(102, 1000, 1.0f, 0.0f);
    const auto lp = Band(202, 1000, 1.0f, 0.0f);
    EXPECT_LT(hp[Px1k - 60], -15.0);
    EXPECT_NEAR(hp[CurveWidth], 0.0, 0.01);
    EXPECT_LT(lp[Px1k + 60], -15.0);
    EXPECT_NEAR(lp[0], 0.0, 0.01);
}

TEST(CrossoverShape, LowPassAtNyquistRepeatsThePreviousPoint) {
    // The crossover sweep reaches w = pi 105 pixels right of the band's pixel.
    for (int type : {4, 201, 202, 203, 204, 205, 206}) {
        const auto r = Band(type, 100, 1.0f, 0.0f);
        const int K =
            RoundEvenInt(FreqToPixel(RoundEvenInt(PixelToFreq(RoundEvenInt(FreqToPixel(100))))));
        for (int i = 0; i <= CurveWidth; ++i)
            ASSERT_TRUE(std::isfinite(r[i])) << type << " " << i;
        EXPECT_EQ(r[K + 105], r[K + 104]) << type;
    }
}

TEST(CrossoverShape, VariQHighPassFollowsItsQ) {
    const auto r = Band(3, 1000, 0.71f, 6.0f); // gain is ignored
    EXPECT_NEAR(r[Px1k], 20 * std::log10(0.711), 0.01);
}

TEST(QRemap, HighestTableValuesDrawAsLowerOnes) {
    EXPECT_EQ(Band(0, 1000, 128.0f, 6.0f), Band(0, 1000, 103.0f, 6.0f));
    EXPECT_EQ(Band(0, 1000, 102.0f, 6.0f), Band(0, 1000, 98.0f, 6.0f));
    EXPECT_EQ(Band(0, 1000, 108.0f, 6.0f), Band(0, 1000, 100.0f, 6.0f));
    EXPECT_EQ(Band(0, 1000, 114.0f, 6.0f), Band(0, 1000, 101.0f, 6.0f));
    // 121 becomes 102 and stays there: each test looks at the incoming Q.
    EXPECT_NE(Band(0, 1000, 121.0f, 6.0f), Band(0, 1000, 98.0f, 6.0f));
    EXPECT_EQ(RemapQ(121.0f), 102.0f);
    EXPECT_EQ(RemapQ(96.0f), 96.0f);
    EXPECT_NE(Band(0, 1000, 96.0f, 6.0f), Band(0, 1000, 103.0f, 6.0f));
}

TEST(Translation, EveryPointWrittenAtTheTableExtremes) {
    for (int f : {19, 20, 20600, 24000}) {
        const auto r = Band(0, f, 1.0f, 6.0f);
        for (int i = 0; i <= CurveWidth; ++i)
            ASSERT_NE(r[i], 12345.0f) << f << " " << i;
    }
}

TEST(GraphMapping, ZeroDbAndOneKilohertzOnTheDesignedImage) {
    const double scale = 1104.0 / CurveWidth;
    EXPECT_NEAR(DbToYAt(0, 270), 89.67, 0.005);
    EXPECT_NEAR(FreqToXAt(1000, scale), 653.2, 0.05);
    EXPECT_NEAR(XToFreqAt(FreqToXAt(440, scale), scale), 440, 1e-9);
    EXPECT_NEAR(YToDbAt(DbToYAt(-7.5, 270), 270), -7.5, 1e-12);
    EXPECT_DOUBLE_EQ(DbToYAt(12, 270), 0.0);
    EXPECT_DOUBLE_EQ(DbToYAt(-24, 270), 269.0);
}

TEST(HandlePlacement, GainBandsSitAtTheirGain) {
    const double scale = 1104.0 / CurveWidth;
    const HandlePlace p = PlaceHandle(4, 0, 1000, 6, 18, scale, 270);
    EXPECT_EQ(p.Handle, 4);
    EXPECT_EQ(p.Left, RoundEvenInt(FreqToXAt(1000, scale) - 9));
    EXPECT_EQ(p.Top, RoundEvenInt(DbToYAt(6, 270) - 9));
    // A bypassed shelf keeps its gain position.
    EXPECT_EQ(PlaceHandle(4, 12, 1000, 6, 18, scale, 270).Top, p.Top);
}

TEST(HandlePlacement, VariQAndCrossoversSitOnTheZeroLine) {
    const double scale = 1104.0 / CurveWidth;
    const int zeroTop18 = RoundEvenInt(DbToYAt(0, 270) - 9);
    const int zeroTop24 = RoundEvenInt(DbToYAt(0, 270) - 12);
    EXPECT_EQ(PlaceHandle(2, 3, 500, 9, 18, scale, 270).Top, zeroTop18);
    EXPECT_EQ(PlaceHandle(2, 14, 500, -9, 18, scale, 270).Top, zeroTop18);
    const HandlePlace hp = PlaceHandle(9, 102, 80, 5, 24, scale, 270);
    EXPECT_EQ(hp.Handle, 9);
    EXPECT_EQ(hp.Top, zeroTop24);
    const HandlePlace lp = PlaceHandle(3, 203, 8000, 5, 24, scale, 270);
    EXPECT_EQ(lp.Handle, 10);
    EXPECT_EQ(lp.Top, zeroTop24);
}

TEST(Readout, ThreeLinesForGainBands) {
    EXPECT_EQ(ReadoutText(0, 0, 1000, 6, 1), "6.0dB\nQ:1.00\n1000.00Hz");
    EXPECT_EQ(ReadoutText(3, 1, 21.7f, -3, 0.71f), "-3.0dB\nQ:0.71\n21.70Hz");
}

TEST(Readout, FrequencyOnlyForCrossoversAndVariQ) {
    EXPECT_EQ(ReadoutText(9, 102, 80.3f, 0, 1), "80.30Hz");
    EXPECT_EQ(ReadoutText(2, 3, 80, 6, 1), "80.00Hz");
    const ReadoutPlace p = PlaceReadout(9, 102, 0, 100, 80, 24, 24, 50, 13);
    EXPECT_EQ(p.Left, 100 - 25 + 12);
    EXPECT_EQ(p.Top, 80 + 24 - 5);
}

TEST(Readout, AboveTheHandleForNegativeGainBelowOtherwise) {
    EXPECT_EQ(PlaceReadout(0, 0, -3, 100, 80, 18, 18, 60, 39).Top, 80 - 39 - 1);
    EXPECT_EQ(PlaceReadout(0, 0, -0.2, 100, 80, 18, 18, 60, 39).Top, 80 - 39 - 1);
    EXPECT_EQ(PlaceReadout(0, 0, 0, 100, 80, 18, 18, 60, 39).Top, 80 + 18);
}

TEST(AxisLabels, NoPlusSign) {
    EXPECT_EQ(DbLabelText(-24), "-24dB");
    EXPECT_EQ(DbLabelText(6), "6dB");
    EXPECT_EQ(DbLabelText(0), "0dB");
}

TEST(Spline, ControlPointsAtTensionPointFour) {
    const std::vector<PointD> pts = {{0, 0}, {3, 6}, {9, 0}, {12, 3}};
    const auto segs = CardinalToBezier(pts, 0.4);
    ASSERT_EQ(segs.size(), 3u);
    // Inner segment: p1 + 0.4 (p2 - p0) / 3 and p2 - 0.4 (p3 - p1) / 3.
    EXPECT_NEAR(segs[1].c1.x, 3 + 0.4 * 9 / 3, 1e-12);
    EXPECT_NEAR(segs[1].c1.y, 6 + 0.4 * 0 / 3, 1e-12);
    EXPECT_NEAR(segs[1].c2.x, 9 - 0.4 * 9 / 3, 1e-12);
    EXPECT_NEAR(segs[1].c2.y, 0 - 0.4 * -3 / 3, 1e-12);
    EXPECT_EQ(segs[1].end.x, 9);
    // End segments take the end point as their own outer neighbour.
    EXPECT_NEAR(segs[0].c1.x, 0 + 0.4 * 3 / 3, 1e-12);
    EXPECT_NEAR(segs[2].c2.x, 12 - 0.4 * 3 / 3, 1e-12);
}

TEST(CompressorShape, DefaultPointsPackToTheKnownValues) {
    double X[5] = {-90, -70, -40, 0, 21};
    double Y[5] = {-90, -70, -40, 0, 21};
    ShapeCurve(X, Y);
    const int32_t expected[5] = {28270, 33410, 41120, 51400, 56797};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(PackCurvePoint(X[i], Y[i]), expected[i]) << i;
    double x = 0, y = 0;
    UnpackCurvePoint(56797, x, y);
    EXPECT_EQ(x, 21);
    EXPECT_EQ(y, 21);
    UnpackCurvePoint(0, x, y);
    EXPECT_EQ(x, -200);
    EXPECT_EQ(y, -200);
}

TEST(CompressorShape, TwentyDbRuleBeforeTheOrderings) {
    double X[5] = {-90, -70, -40, 0, 21};
    double Y[5] = {-90, -70, 21, 0, 21};
    ShapeCurve(X, Y);
    EXPECT_EQ(Y[2], -20); // input + 20, not the later output 0
    EXPECT_EQ(Y[1], -70);
}

TEST(CompressorShape, OutputsFollowInOneForwardPass) {
    double X[5] = {-90, -70, -40, 0, 21};
    double Y[5] = {-90, -70, -120, 0, 21};
    ShapeCurve(X, Y);
    EXPECT_EQ(Y[2], -113);
    EXPECT_EQ(Y[1], -113);
    EXPECT_EQ(Y[0], -90); // pulled only by the next call
    ShapeCurve(X, Y);
    EXPECT_EQ(Y[0], -113);
}

TEST(CompressorShape, InputsFollowInOneForwardPass) {
    double X[5] = {-90, -45, -40, -50, 21};
    double Y[5] = {-90, -70, -40, 0, 21};
    ShapeCurve(X, Y);
    EXPECT_EQ(X[2], -50);
    EXPECT_EQ(X[1], -45);
    ShapeCurve(X, Y);
    EXPECT_EQ(X[1], -50);
}

TEST(CompressorShape, LevelsHeldToTheirRangesAndEndsFixed) {
    double X[5] = {-200, -70, -40, 30, -5};
    double Y[5] = {-200, -70, -40, 0, 21};
    ShapeCurve(X, Y);
    EXPECT_EQ(X[0], -90);
    EXPECT_EQ(Y[0], -113);
    EXPECT_EQ(X[3], 21);
    EXPECT_EQ(X[4], 21);
}

// Values straight from the unit can be far outside the tables' ranges; the
// curve then runs off the image, but no pixel conversion may overflow.
TEST(Rounding, WildValuesSaturateInsteadOfOverflowing) {
    EXPECT_EQ(RoundEvenInt(std::nan("")), 0);
    EXPECT_GT(RoundEvenInt(1e300), 1000000);
    EXPECT_LT(RoundEvenInt(-std::numeric_limits<double>::infinity()), -1000000);
    EXPECT_EQ(RoundEvenInt(2.5), 2);
}
