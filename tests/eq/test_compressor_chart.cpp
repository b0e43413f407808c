// Compressor curve chart on a real main window: CurvePoint's shaping, the
// packed slots and the writes of changed points only.

#include "EqWindow.h"

#include "eq/CompressorChart.h"

#include <QComboBox>
#include <QSpinBox>

namespace {

constexpr int Slot(int point) {
    return 0x100 + 8 + point;
}

} // namespace

class CompressorCurve : public EqWindowTest {
protected:
    QSpinBox* In(int point) {
        QSpinBox* e[5] = {form->RzSpinEdit1, form->RzSpinEdit3, form->RzSpinEdit5,
                          form->RzSpinEdit7, form->RzSpinEdit9};
        return e[point];
    }
    QSpinBox* Out(int point) {
        QSpinBox* e[5] = {form->RzSpinEdit2, form->RzSpinEdit4, form->RzSpinEdit6,
                          form->RzSpinEdit8, form->RzSpinEdit10};
        return e[point];
    }
};

TEST_F(CompressorCurve, StartUpStoresTheDefaultPointsInBothImages) {
    const int expected[5] = {28270, 33410, 41120, 51400, 56797};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(Params.ParamImage[1][8 + i], expected[i]) << i;
        EXPECT_EQ(Params.DeviceImage[1][8 + i], expected[i]) << i;
    }
    const int levels[5] = {-90, -70, -40, 0, 21};
    ASSERT_EQ(form->Chart1->Series1.Points.size(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(In(i)->value(), levels[i]);
        EXPECT_EQ(Out(i)->value(), levels[i]);
        EXPECT_EQ(form->Chart1->Series1.Points[i].X, levels[i]);
        EXPECT_EQ(form->Chart1->Series1.Points[i].Y, levels[i]); // on the 1:1 line
        EXPECT_EQ(form->Chart1->Series2.Points[i].Label, QString::number(i));
        EXPECT_EQ(form->Chart1->Series2.Points[i].X, levels[i]);
    }
    EXPECT_EQ(form->Chart1->Series3.Points.size(), 2);
    EXPECT_EQ(form->Chart1->Series3.Color, QColor(255, 255, 128));
    EXPECT_EQ(form->Chart1->Series2.Color, QColor(62, 240, 240));
}

TEST_F(CompressorCurve, OutputMoreThanTwentyDbAboveInputIsHeld) {
    Out(2)->setValue(21);
    EXPECT_EQ(Out(2)->value(), -20);
    ASSERT_EQ(Sent().size(), 1u); // one level changed, no ordering disturbed
    EXPECT_EQ(Sent()[0], (SentWrite{Slot(2), (-40 + 200) * 256 + (-20 + 200)}));
    EXPECT_EQ(Params.DeviceImage[1][10], Sent()[0].value);
}

TEST_F(CompressorCurve, LoweredOutputPullsThePreviousPointInOnePass) {
    Out(2)->setValue(-120);
    EXPECT_EQ(Out(2)->value(), -113);
    EXPECT_EQ(Out(1)->value(), -113);
    EXPECT_EQ(Out(0)->value(), -90); // follows only in the next call
    ASSERT_EQ(Sent().size(), 2u);
    EXPECT_EQ(Sent()[0].address, Slot(2)); // the later point first
    EXPECT_EQ(Sent()[1].address, Slot(1));
    ClearSent();
    CurvePoint(2);
    EXPECT_EQ(Out(0)->value(), -113);
    ASSERT_EQ(Sent().size(), 1u);
    EXPECT_EQ(Sent()[0].address, Slot(0));
}

TEST_F(CompressorCurve, LoweredInputPullsOnlyTheNeighbourInThisCall) {
    In(1)->setValue(-45);
    ClearSent();
    In(3)->setValue(-50);
    EXPECT_EQ(In(2)->value(), -50);
    EXPECT_EQ(In(1)->value(), -45);
    ASSERT_EQ(Sent().size(), 2u);
    EXPECT_EQ(Sent()[0].address, Slot(3));
    EXPECT_EQ(Sent()[1].address, Slot(2));
    CurvePoint(2);
    EXPECT_EQ(In(1)->value(), -50);
}

TEST_F(CompressorCurve, InputAboveTheRangeGivesTwentyOne) {
    Chart.CurveInputLevels[3] = 30;
    CurvePoint(3);
    EXPECT_EQ(In(3)->value(), 21);
    EXPECT_EQ(Chart.CurveInputLevels[3], 21);
}

TEST_F(CompressorCurve, ZeroSlotIsShownHeldButStoredOnlyByALaterEdit) {
    Params.ParamImage[1][9] = 0;
    ClearSent();
    CurvePoint(0);
    EXPECT_EQ(In(1)->value(), -90);
    EXPECT_EQ(Out(1)->value(), -113);
    EXPECT_EQ(Params.ParamImage[1][9], 0);
    EXPECT_TRUE(Sent().empty());
}

TEST_F(CompressorCurve, SwitchColoursTheCurveWithoutMovingIt) {
    EXPECT_EQ(form->Chart1->Series1.Color, QColor(150, 150, 150));
    const auto points = form->Chart1->Series1.Points;
    form->RMSBox->setCurrentIndex(1);
    CurvePoint(0);
    EXPECT_EQ(form->Chart1->Series1.Color, QColor(36, 197, 209));
    ASSERT_EQ(form->Chart1->Series1.Points.size(), points.size());
    for (int i = 0; i < points.size(); ++i)
        EXPECT_EQ(form->Chart1->Series1.Points[i].Y, points[i].Y);
    EXPECT_TRUE(Sent().empty());
}

TEST_F(CompressorCurve, ResetWritesOnlyThePointsThatDiffer) {
    Out(3)->setValue(-10);
    ClearSent();
    ResetCompressorCurve();
    ASSERT_EQ(Sent().size(), 1u);
    EXPECT_EQ(Sent()[0], (SentWrite{Slot(3), 51400}));
}

TEST(ChartAxis, LabelPattern) {
    EXPECT_EQ(ChartAxisText(-80), QStringLiteral("-80"));
    EXPECT_EQ(ChartAxisText(0), QStringLiteral("0"));
    EXPECT_EQ(ChartAxisText(20), QStringLiteral("20"));
    EXPECT_EQ(ChartAxisText(1234.5), QStringLiteral("1,234.5"));
    EXPECT_EQ(ChartAxisText(-0.125), QStringLiteral("-0.13"));
}
