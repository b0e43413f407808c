// Handle dragging on a real main window: pending values, the commit in the
// tick, the drag limits, Q stepping and the wheel.

#include "EqWindow.h"
#include "eq/EqDrag.h"

#include "params/DispatchState.h"
#include "params/Dispatcher.h"
#include "params/ValueScales.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QWheelEvent>

namespace {

constexpr int Freq1 = 0x100 + 21; // band 1 frequency
constexpr int Gain1 = 0x100 + 22;
constexpr int Q1 = 0x100 + 23;

} // namespace

class HandleDrag : public EqWindowTest {
protected:
    void Press(TImage* h, Qt::MouseButton b = Qt::LeftButton) {
        EP1MouseDown(h, b, 9, 9);
        ClearSent();
    }
    void MoveBy(TImage* h, int dx, int dy, Qt::MouseButtons b = Qt::LeftButton) {
        EP1MouseMove(h, b, 9 + dx, 9 + dy);
    }
};

TEST_F(HandleDrag, EachTickCommitsOneFrequencyAndOneGainWrite) {
    Press(form->EP1);
    EXPECT_EQ(Dispatch.CurrentEdit, form->MusFreEdit1);
    MoveBy(form->EP1, 100, -30);
    MoveBy(form->EP1, 100, -30); // the newest position counts, not the number of moves
    // Band 1 starts at 21.7 Hz, 0 dB: centre x log10(2.17) / log10(2400) * 1104 = 109.9,
    // left 101; centre y 12 / 36 * 269 = 89.7, top 81. Each move of (100, -30) in the
    // handle's frame moves it on: left 301, top 21. Centre x 310 is
    // 10 * 2400^(310 / 1104) = 88.95 Hz, typed 89, nearest entry 88.4 (raw 78); centre
    // y 30 is 12 - 30 / 269 * 36 = 7.99 dB, raw (7.99 + 24) * 5 = 159.9, so 160.
    const int freqRaw = 78;
    const int gainRaw = 160;
    EXPECT_TRUE(Sent().empty()); // nothing leaves before the tick
    Tick();
    ASSERT_EQ(Sent().size(), 2u);
    EXPECT_EQ(Sent()[0], (SentWrite{Freq1, freqRaw}));
    EXPECT_EQ(Sent()[1], (SentWrite{Gain1, gainRaw}));
    EXPECT_GT(freqRaw, 5);
    EXPECT_GT(gainRaw, 120);
    EXPECT_EQ(P(1, 21), freqRaw);
    EXPECT_EQ(form->MusFreEdit1->text(), QStringLiteral("88.4"));
    // The redraw in the same tick snaps the handle to the value set: 8 dB,
    // 4 / 36 * 269 - 9 = 20.9.
    EXPECT_EQ(form->EP1->y(), 21);

    ClearSent();
    Tick();
    EXPECT_TRUE(Sent().empty()) << "unchanged values are not sent again";

    MoveBy(form->EP1, 0, 8); // vertical only: the gain alone
    Tick();
    ASSERT_EQ(Sent().size(), 1u);
    EXPECT_EQ(Sent()[0].address, Gain1);
    EXPECT_LT(Sent()[0].value, gainRaw);
}

TEST_F(HandleDrag, MovesThatEndOnTheSentValueSendNothing) {
    Press(form->EP5); // 472 Hz
    MoveBy(form->EP5, 30, 0);
    Tick();
    ASSERT_EQ(Sent().size(), 1u);
    ClearSent();
    // Back and forth by a pixel: the raw value is still the one sent.
    MoveBy(form->EP5, 1, 0);
    MoveBy(form->EP5, -1, 0);
    Tick();
    EXPECT_TRUE(Sent().empty());
}

TEST_F(HandleDrag, FarLeftStopsAtNineteenHertz) {
    Press(form->EP3);
    MoveBy(form->EP3, -2000, 0);
    // log10(1.9) / log10(2400) * 1104 = 91.0, less the half handle.
    EXPECT_EQ(form->EP3->x(), 82);
    EXPECT_FLOAT_EQ(EqGraph.Drag.DragFreq, 19.0f);
    Tick();
    EXPECT_EQ(P(1, 31), 0);
    EXPECT_EQ(form->MusFreEdit3->text(), QStringLiteral("19.7"));
}

TEST_F(HandleDrag, SecondBandDraggedOntoTheValueSentForTheFirstIsStillWritten) {
    Press(form->EP3);
    MoveBy(form->EP3, -2000, 0);
    Tick();
    EP1MouseUp(form->EP3, Qt::LeftButton, 9, 9);
    ClearSent();
    Press(form->EP4);
    MoveBy(form->EP4, -2000, 0);
    Tick();
    ASSERT_EQ(Sent().size(), 1u);
    EXPECT_EQ(Sent()[0], (SentWrite{0x100 + 36, 0}));
    EXPECT_EQ(P(1, 36), 0);
}

TEST_F(HandleDrag, FarRightPinsAtTwentySixHundredHertz) {
    Press(form->EP3);
    MoveBy(form->EP3, 3000, 0);
    // log10(2060) / log10(2400) * 1104 - 9 = 1073.3.
    EXPECT_EQ(form->EP3->x(), 1073);
    EXPECT_FLOAT_EQ(EqGraph.Drag.DragFreq, 20600.0f);
    Tick();
    EXPECT_EQ(P(1, 31), 361);
}

TEST_F(HandleDrag, GainHeldToTheGraphRange) {
    Press(form->EP2);
    MoveBy(form->EP2, 0, -1000);
    EXPECT_EQ(form->EP2->y(), form->Image1->y() - 9);
    EXPECT_FLOAT_EQ(EqGraph.Drag.DragGain, 12.0f);
    Tick();
    EXPECT_EQ(P(1, 27), 180);
    MoveBy(form->EP2, 0, 1000);
    EXPECT_FLOAT_EQ(EqGraph.Drag.DragGain, -24.0f);
    Tick();
    EXPECT_EQ(P(1, 27), 0);
}

TEST_F(HandleDrag, VariQBandMovesOnlySideways) {
    form->MusModeBox1->setCurrentIndex(3);
    P(1, 20) = 3;
    RedrawEqCurve(20, 1);
    const int y = form->EP1->y();
    Press(form->EP1);
    MoveBy(form->EP1, 40, -50);
    EXPECT_EQ(form->EP1->y(), y);
    Tick();
    ASSERT_EQ(Sent().size(), 1u);
    EXPECT_EQ(Sent()[0].address, Freq1);
    EXPECT_EQ(form->EP1->y(), 81); // 0 dB: 12 / 36 * 269 - 9 = 80.7
}

TEST_F(HandleDrag, CrossoverHandleMovesSidewaysAndWritesItsFrequency) {
    form->MusHighPassBox->setCurrentIndex(2);
    const int y = form->HPF->y();
    Press(form->HPF);
    EXPECT_EQ(Dispatch.CurrentEdit, form->MusHighPassFre);
    MoveBy(form->HPF, 60, 40);
    EXPECT_EQ(form->HPF->y(), y);
    Tick();
    ASSERT_EQ(Sent().size(), 1u);
    EXPECT_EQ(Sent()[0].address, 0x100 + 15);
    EXPECT_GT(Sent()[0].value, 0);
    EXPECT_EQ(EqGraph.CurveSlots[9].Type, 102); // no longer at the lowest entry
}

TEST_F(HandleDrag, RightPressOnACrossoverDoesNothing) {
    QLineEdit* before = Dispatch.CurrentEdit;
    Press(form->LPF, Qt::RightButton);
    EXPECT_FALSE(EqGraph.Drag.HandleDragging);
    EXPECT_FALSE(EqGraph.Drag.QStepping);
    EXPECT_EQ(Dispatch.CurrentEdit, before);
    MoveBy(form->LPF, 50, 0, Qt::RightButton);
    Tick();
    EXPECT_TRUE(Sent().empty());
}

TEST_F(HandleDrag, ReleaseEndsTheDrag) {
    Press(form->EP1);
    EP1MouseUp(form->EP1, Qt::LeftButton, 9, 9);
    EXPECT_FALSE(EqGraph.Drag.HandleDragging);
    const QPoint at = form->EP1->pos();
    MoveBy(form->EP1, 100, 20);
    EXPECT_EQ(form->EP1->pos(), at);
    Tick();
    EXPECT_TRUE(Sent().empty());
}

using QStepping = HandleDrag;

TEST_F(QStepping, TwoPixelsNoStepThreePixelsOneStep) {
    Press(form->EP1, Qt::RightButton);
    EXPECT_TRUE(EqGraph.Drag.QStepping);
    EXPECT_EQ(Dispatch.CurrentEdit, form->MusQEdit1);
    MoveBy(form->EP1, 2, 0, Qt::RightButton);
    EXPECT_EQ(P(1, 23), 25);
    EXPECT_TRUE(Sent().empty());
    MoveBy(form->EP1, 3, 0, Qt::RightButton);
    EXPECT_EQ(P(1, 23), 26);
    ASSERT_EQ(Sent().size(), 1u);
    EXPECT_EQ(Sent()[0], (SentWrite{Q1, 26}));
    // Counted from the last step's position: two more pixels, no step.
    MoveBy(form->EP1, 5, 0, Qt::RightButton);
    EXPECT_EQ(P(1, 23), 26);
    MoveBy(form->EP1, -1, 0, Qt::RightButton); // 4 px to the left of the step
    EXPECT_EQ(P(1, 23), 25);
}

TEST_F(QStepping, ContinuesOverTheGraphInTheSameFrame) {
    Press(form->EP1, Qt::RightButton);
    const int gx = form->EP1->x() + 9; // the press point in graph coordinates
    Image1MouseMove(form->Image1, Qt::RightButton, gx + 3, 40);
    EXPECT_EQ(P(1, 23), 26);
    EXPECT_FALSE(EqGraph.Drag.HandleDragging);
    Image1MouseMove(form->Image1, Qt::NoButton, gx + 20, 40); // right button not held
    EXPECT_EQ(P(1, 23), 26);
    Image1MouseUp(form->Image1, Qt::RightButton, gx + 20, 40);
    EXPECT_FALSE(EqGraph.Drag.QStepping);
    EXPECT_EQ(Dispatch.CurrentEdit, form->MusQEdit1);
    Image1MouseMove(form->Image1, Qt::RightButton, gx + 40, 40);
    EXPECT_EQ(P(1, 23), 26);
}

TEST_F(QStepping, ShelfBandStopsAtItsQLimit) {
    StoreParam(0x100 + 20, 1); // low shelf: the second Q slot, at most 31
    StoreParam(0x100 + 24, 30);
    RefreshScreen();
    ASSERT_EQ(form->MusQEdit1->text(), QStringLiteral("1.30"));
    Press(form->EP1, Qt::RightButton);
    MoveBy(form->EP1, 3, 0, Qt::RightButton);
    MoveBy(form->EP1, 6, 0, Qt::RightButton);
    EXPECT_EQ(P(1, 24), 31);
    EXPECT_EQ(P(1, 23), 25);
}

using Wheel = HandleDrag;

TEST_F(Wheel, StepAfterALeftPressMovesTheFrequencyByOneEntry) {
    Press(form->EP1);
    EP1MouseUp(form->EP1, Qt::LeftButton, 9, 9);
    EXPECT_EQ(Dispatch.WheelArmed, 1);
    EXPECT_TRUE(FormMouseWheel(120));
    EXPECT_EQ(P(1, 21), 6);
    ASSERT_EQ(Sent().size(), 1u);
    EXPECT_EQ(Sent()[0], (SentWrite{Freq1, 6}));
    EXPECT_TRUE(FormMouseWheel(-120));
    EXPECT_EQ(P(1, 21), 5);
    EXPECT_TRUE(FormMouseWheel(0)); // handled, no step
    EXPECT_EQ(P(1, 21), 5);
    EXPECT_EQ(Sent().size(), 2u);
}

TEST_F(Wheel, UnarmedWheelIsLeftUnhandled) {
    Dispatch.WheelArmed = 0;
    EXPECT_FALSE(FormMouseWheel(120));
    EXPECT_TRUE(Sent().empty());
}

TEST_F(Wheel, AuxiliaryCrossoverPressSelectsWithoutArming) {
    form->FormTabBtn3Click(form->FormTabBtn2);
    Dispatch.WheelArmed = 0;
    Press(form->HPF);
    EXPECT_EQ(Dispatch.CurrentEdit, form->AuxHighPassFre);
    EXPECT_EQ(Dispatch.WheelArmed, 0);
    EXPECT_FALSE(FormMouseWheel(120));
}

using RealMouse = HandleDrag;

TEST_F(RealMouse, PressAndMoveOnTheHandleWidgetDrag) {
    QTest::mousePress(form->EP2, Qt::LeftButton, Qt::NoModifier, QPoint(9, 9));
    EXPECT_TRUE(EqGraph.Drag.HandleDragging);
    QMouseEvent move(QEvent::MouseMove, QPointF(49, 9), form->EP2->mapToGlobal(QPointF(49, 9)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form->EP2, &move);
    ClearSent();
    Tick();
    ASSERT_EQ(Sent().size(), 1u);
    EXPECT_EQ(Sent()[0].address, 0x100 + 26);
    QTest::mouseRelease(form->EP2, Qt::LeftButton, Qt::NoModifier, QPoint(9, 9));
    EXPECT_FALSE(EqGraph.Drag.HandleDragging);
}

TEST_F(RealMouse, WheelOverTheWindowStepsTheSelectedEdit) {
    QTest::mousePress(form->EP1, Qt::LeftButton, Qt::NoModifier, QPoint(9, 9));
    QTest::mouseRelease(form->EP1, Qt::LeftButton, Qt::NoModifier, QPoint(9, 9));
    ClearSent();
    QWheelEvent wheel(QPointF(10, 10), form->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(form, &wheel);
    EXPECT_EQ(P(1, 21), 6);
    EXPECT_EQ(Sent().size(), 1u);
}

TEST_F(RealMouse, ReleaseOverThePanelEndsQStepping) {
    Press(form->EP1, Qt::RightButton);
    ASSERT_TRUE(EqGraph.Drag.QStepping);
    QTest::mouseRelease(form->EQAdvPanel, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_FALSE(EqGraph.Drag.QStepping);
    EXPECT_FALSE(EqGraph.Drag.HandleDragging);
}

TEST_F(HandleDrag, MiddlePressStartsNoDrag) {
    const QPoint at = form->EP1->pos();
    Press(form->EP1, Qt::MiddleButton);
    EXPECT_FALSE(EqGraph.Drag.HandleDragging);
    EP1MouseUp(form->EP1, Qt::MiddleButton, 9, 9);
    MoveBy(form->EP1, 60, 20, Qt::NoButton); // hovering afterwards
    EXPECT_EQ(form->EP1->pos(), at);
    Tick();
    EXPECT_TRUE(Sent().empty());
}

TEST_F(HandleDrag, HoverAfterAMissedReleaseDoesNotDrag) {
    const QPoint at = form->EP1->pos();
    Press(form->EP1);
    MoveBy(form->EP1, 60, 20, Qt::NoButton); // the button went up elsewhere
    EXPECT_EQ(form->EP1->pos(), at);
    Tick();
    EXPECT_TRUE(Sent().empty());
}
