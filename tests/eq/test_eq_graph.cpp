// The response graph on a real main window: grid, curve pixels, handle
// placement, readout and the redraw trigger.

#include "EqWindow.h"

#include "eq/GraphGeometry.h"
#include "params/DispatchState.h"
#include "params/Dispatcher.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace {

const QRgb Curve = qRgb(212, 120, 34);
const QRgb Major = qRgb(80, 80, 80);
const QRgb Minor = qRgb(100, 100, 100);
const QRgb Back = qRgb(154, 148, 142);

QRgb Pixel(const QImage& img, int x, int y) {
    return img.pixel(x, y) | 0xFF000000u;
}

} // namespace

using GraphPicture = EqWindowTest;

TEST_F(GraphPicture, ImageKeepsItsDesignedSizeAndFormat) {
    EXPECT_EQ(form->Image1->Picture.size(), QSize(1104, 270));
    EXPECT_EQ(form->Image1->Picture.format(), QImage::Format_RGB32);
    EXPECT_EQ(EqGraph.GridBackground.size(), QSize(1104, 270));
    EXPECT_NEAR(EqGraph.GraphScale, 1104.0 / 462.0, 1e-12);
}

TEST_F(GraphPicture, MajorGridLinesAreDarkerThanMinorOnes) {
    const QImage& g = EqGraph.GridBackground;
    const int x = 300; // between the 200 Hz and 300 Hz lines
    ASSERT_EQ(Pixel(g, x, 150), Back);
    // y of a level: (12 - dB) / 36 * 269; x of a frequency:
    // log10(f / 10) / log10(2400) * 1104.
    EXPECT_EQ(Pixel(g, x, 90), Major); // 0 dB: 89.7
    EXPECT_EQ(Pixel(g, x, 0), Major);   // +12 dB
    EXPECT_EQ(Pixel(g, x, 269), Major); // -24 dB
    EXPECT_EQ(Pixel(g, x, 112), Minor); // -3 dB: 112.1
    EXPECT_EQ(Pixel(g, x, 22), Minor);  // 9 dB: 22.4
    const int y = 150;
    EXPECT_EQ(Pixel(g, 653, y), Major); // 1 kHz: 653.2
    EXPECT_EQ(Pixel(g, 327, y), Major); // 100 Hz: 326.6
    EXPECT_EQ(Pixel(g, 0, y), Major);
    EXPECT_EQ(Pixel(g, 1103, y), Major);
    EXPECT_EQ(Pixel(g, 752, y), Minor);  // 2 kHz: 751.5
    EXPECT_EQ(Pixel(g, 1078, y), Minor); // 20 kHz: 1078.1
    EXPECT_LT(qGray(Major), qGray(Minor));
}

TEST_F(GraphPicture, FlatEqualiserDrawsTheCurveOnTheZeroLine) {
    // Start-up bands: all peaking at 0 dB, crossovers off.
    const QImage& img = form->Image1->Picture;
    const int y0 = 90; // 12 / 36 * 269 = 89.7
    for (int x : {120, 300, 700, 1000})
        EXPECT_EQ(Pixel(img, x, y0), Curve) << x;
    EXPECT_EQ(Pixel(img, 300, y0 + 3), Back);
    EXPECT_EQ(Pixel(img, 300, y0 - 3), Back);
}

TEST_F(GraphPicture, BoostedBandLiftsTheCurveAndTheWipeRestoresTheGrid) {
    P(1, 47) = 150; // band 6 (1020 Hz) +6 dB
    RedrawEqCurve(20, 1);
    const QImage& img = form->Image1->Picture;
    const int x = 656; // log10(102) / log10(2400) * 1104 = 656.0
    EXPECT_EQ(Pixel(img, x, 90), Major); // the grid shows again
    bool found = false;
    for (int y = 43; y <= 46; ++y) // 6.2 dB: 43.3; 5.8 dB: 46.3
        found = found || Pixel(img, x, y) == Curve;
    EXPECT_TRUE(found);
}

TEST_F(GraphPicture, AxisLabelsSitOnThePanel) {
    auto* y0 = form->EQAdvPanel->findChild<QLabel*>(QStringLiteral("EQLabelY0"));
    auto* y6 = form->EQAdvPanel->findChild<QLabel*>(QStringLiteral("EQLabelY6"));
    auto* x16 = form->EQAdvPanel->findChild<QLabel*>(QStringLiteral("EQLabelX16"));
    ASSERT_TRUE(y0 && y6 && x16);
    EXPECT_EQ(y0->text(), QStringLiteral("-24dB"));
    EXPECT_EQ(y6->text(), QStringLiteral("12dB"));
    EXPECT_EQ(x16->text(), QStringLiteral("1KHz"));
    // -24 dB is the bottom row 269; 1 kHz is x 653.
    EXPECT_EQ(y0->geometry(), QRect(48 - 34, 269 + 18 - 6, 32, 13));
    EXPECT_EQ(x16->geometry(), QRect(653 + 48 - 18, 18 + 270, 36, 13));
}

using GraphSlots = EqWindowTest;

TEST_F(GraphSlots, HighPassAtLowestFrequencyIsDrawnOff) {
    form->MusHighPassBox->setCurrentIndex(2);
    P(1, 15) = 0;
    CollectCurveSlots(1);
    EXPECT_EQ(EqGraph.CurveSlots[9].Type, 100);
    P(1, 15) = 1;
    CollectCurveSlots(1);
    EXPECT_EQ(EqGraph.CurveSlots[9].Type, 102);
}

TEST_F(GraphSlots, LowPassAtHighestFrequencyIsDrawnOff) {
    form->MusLowPassBox->setCurrentIndex(3);
    P(1, 18) = 361;
    CollectCurveSlots(1);
    EXPECT_EQ(EqGraph.CurveSlots[10].Type, 200);
    P(1, 18) = 360;
    EXPECT_EQ(CollectCurveSlots(1), 10);
    EXPECT_EQ(EqGraph.CurveSlots[10].Type, 203);
    EXPECT_FLOAT_EQ(EqGraph.CurveSlots[10].Freq, 20200.0f);
}

TEST_F(GraphSlots, BandFieldsAndQSlotByType) {
    P(1, 20) = 0;
    P(1, 23) = 25; // 1.00
    P(1, 24) = 31; // 1.40
    CollectCurveSlots(1);
    EXPECT_FLOAT_EQ(EqGraph.CurveSlots[0].Q, 1.0f);
    EXPECT_EQ(EqGraph.CurveSlots[0].FreqEdit, form->MusFreEdit1);
    EXPECT_EQ(EqGraph.CurveSlots[0].GainEdit, form->MusGainEdit1);
    EXPECT_EQ(EqGraph.CurveSlots[0].QEdit, form->MusQEdit1);
    P(1, 20) = 10; // a bypassed peaking band uses the second Q slot
    CollectCurveSlots(1);
    EXPECT_FLOAT_EQ(EqGraph.CurveSlots[0].Q, 1.4f);
    EXPECT_EQ(EqGraph.CurveSlots[9].GainEdit, form->Example);
}

TEST_F(GraphSlots, AuxiliaryCrossoverEditsAlsoAtSlotsNineAndTen) {
    form->FormTabBtn3Click(form->FormTabBtn2);
    EXPECT_EQ(CollectCurveSlots(2), 3);
    EXPECT_EQ(EqGraph.CurveSlots[2].FreqEdit, form->AuxHighPassFre);
    EXPECT_EQ(EqGraph.CurveSlots[9].FreqEdit, form->AuxHighPassFre);
    EXPECT_EQ(EqGraph.CurveSlots[10].FreqEdit, form->AuxLowPassFre);
    EXPECT_EQ(EqGraph.CurveSlots[0].FreqEdit, form->AUXFreEdit1);
}

using GraphHandles = EqWindowTest;

TEST_F(GraphHandles, VariQBandAndCrossoversStayOnTheZeroLine) {
    P(1, 20) = 3;   // VariQ high-pass
    P(1, 22) = 150; // +6 dB, ignored for the position
    form->MusHighPassBox->setCurrentIndex(2);
    P(1, 15) = 73; // 80.3 Hz
    RedrawEqCurve(20, 1);
    // 0 dB is y 89.7; 80.3 Hz is x log10(8.03) / log10(2400) * 1104 = 295.5.
    EXPECT_EQ(form->EP1->y(), 81);  // 89.7 - 9
    EXPECT_EQ(form->HPF->y(), 78);  // 89.7 - 12
    EXPECT_EQ(form->HPF->x(), 283); // 295.5 - 12
    EXPECT_EQ(form->LPF->y(), 78);
}

TEST_F(GraphHandles, GainBandSitsAtItsGain) {
    P(1, 27) = 150; // band 2 +6 dB
    RedrawEqCurve(1, 1);
    // 6 dB: 6 / 36 * 269 - 9 = 35.8; 46.8 Hz: log10(4.68) / log10(2400) * 1104 - 9 = 209.9.
    EXPECT_EQ(form->EP2->y(), 36);
    EXPECT_EQ(form->EP2->x(), 210);
}

TEST_F(GraphHandles, AuxiliaryModuleHidesBandsThreeToNineAndThePassBanner) {
    Dispatch.PassState[1] = 1;
    RedrawEqCurve(20, 1);
    EXPECT_FALSE(form->EQPassLabel->isHidden());
    form->FormTabBtn3Click(form->FormTabBtn2);
    for (TImage* h : {form->EP3, form->EP5, form->EP9})
        EXPECT_TRUE(h->isHidden());
    for (TImage* h : {form->EP1, form->EP2, form->HPF, form->LPF})
        EXPECT_FALSE(h->isHidden());
    EXPECT_TRUE(form->EQPassLabel->isHidden());
    form->FormTabBtn3Click(form->FormTabBtn1);
    EXPECT_FALSE(form->EP9->isHidden());
}

using GraphReadout = EqWindowTest;

TEST_F(GraphReadout, NegativeGainPutsTheReadoutAboveTheHandle) {
    P(1, 22) = 105; // -3 dB
    RedrawEqCurve(0, 1);
    EXPECT_EQ(form->EQlabel->text(), QStringLiteral("-3.0dB\nQ:1.00\n21.70Hz"));
    EXPECT_EQ(form->EQlabel->y(), form->EP1->y() - form->EQlabel->height() - 1);
    P(1, 22) = 120; // 0 dB: below
    RedrawEqCurve(0, 1);
    EXPECT_EQ(form->EQlabel->y(), form->EP1->y() + form->EP1->height());
    EXPECT_EQ(form->EQlabel->x(),
              form->EP1->x() - form->EQlabel->width() / 2 + form->EP1->width() / 2);
}

TEST_F(GraphReadout, CrossoverReadoutShowsOnlyTheFrequency) {
    form->MusHighPassBox->setCurrentIndex(1);
    P(1, 15) = 73;
    RedrawEqCurve(9, 1);
    EXPECT_EQ(form->EQlabel->text(), QStringLiteral("80.30Hz"));
    EXPECT_EQ(form->EQlabel->y(), form->HPF->y() + form->HPF->height() - 5);
}

TEST_F(GraphReadout, FullRedrawShowsTheReadoutBandsNewValues) {
    P(1, 22) = 150;
    RedrawEqCurve(0, 1);
    P(1, 22) = 100;
    RedrawEqCurve(20, 1);
    EXPECT_EQ(form->EQlabel->text(), QStringLiteral("-4.0dB\nQ:1.00\n21.70Hz"));
    EXPECT_EQ(form->EQlabel->y(), form->EP1->y() - form->EQlabel->height() - 1);
}

using GraphTrigger = EqWindowTest;

TEST_F(GraphTrigger, RecordedBandWriteRedrawsAtTheNextTick) {
    SetControlValue(form->MusGainEdit1, 0, UserChange, 150);
    EXPECT_NE(form->EP1->y(), 36); // 6 dB: 6 / 36 * 269 - 9 = 35.8
    Tick();
    EXPECT_EQ(form->EP1->y(), 36);
    EXPECT_EQ(Window.DrawnCurveWrite, Window.LastCurveWrite);
}

TEST_F(GraphTrigger, WritesOffTheCurveDoNotRedraw) {
    QImage& pic = form->Image1->Picture;
    pic.setPixel(5, 5, qRgb(1, 2, 3));   // marker a redraw would wipe
    Window.LastCurveWrite = {0x100, 77}; // left delay
    Tick();
    EXPECT_EQ(Pixel(pic, 5, 5), qRgb(1, 2, 3));
    Window.LastCurveWrite = {0x200 + 34, 100}; // the auxiliary band, not shown
    Tick();
    EXPECT_EQ(Pixel(pic, 5, 5), qRgb(1, 2, 3));
    Window.LastCurveWrite = {0x100 + 21, 100}; // band 1 frequency
    Tick();
    EXPECT_NE(Pixel(pic, 5, 5), qRgb(1, 2, 3));
}

TEST_F(GraphTrigger, NoRedrawWhileTheScreenRefreshRuns) {
    QImage& pic = form->Image1->Picture;
    pic.setPixel(5, 5, qRgb(1, 2, 3));
    Dispatch.ScreenBusy = 1;
    RedrawEqCurve(20, 1);
    Dispatch.ScreenBusy = 0;
    EXPECT_EQ(Pixel(pic, 5, 5), qRgb(1, 2, 3));
}

TEST_F(GraphTrigger, OutOfRangeRequestsAreIgnored) {
    QImage& pic = form->Image1->Picture;
    pic.setPixel(5, 5, qRgb(1, 2, 3));
    RedrawEqCurve(21, 1);
    RedrawEqCurve(-1, 1);
    RedrawEqCurve(0, 3);
    EXPECT_EQ(Pixel(pic, 5, 5), qRgb(1, 2, 3));
}
