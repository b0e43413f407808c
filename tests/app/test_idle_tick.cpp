// The main window's 10 ms tick runs only while it has work: a held drag, a
// commit or a redraw waiting. The loop's "about to wait" is stepped by hand
// like the tick, so no real timer fires.

#include "app/WindowState.h"
#include "tests/support/AppFixture.h"

#include <QAbstractEventDispatcher>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QWindow>

namespace {

class IdleTick : public AppFixture {
protected:
    void LoopWaits() { emit QAbstractEventDispatcher::instance()->aboutToBlock(); }
    void Tick() { form->Timer1Timer(form->Timer1); }
    bool Running() const { return form->Timer1->isActive(); }
    QPoint Centre(QWidget* w) const { return w->mapTo(form, w->rect().center()); }
};

TEST_F(IdleTick, SleepsWhenIdleAndRunsFromADragToItsLastCommit) {
    form->Timer1->start(); // as the first showing leaves it
    Tick();
    EXPECT_FALSE(Running()) << "nothing to do after start-up";
    LoopWaits();
    EXPECT_FALSE(Running());

    const QPoint p = Centre(form->EP1);
    QTest::mousePress(form->windowHandle(), Qt::LeftButton, {}, p);
    LoopWaits();
    EXPECT_TRUE(Running()) << "a grab starts the tick";
    ClearSent();
    QTest::mouseMove(form->windowHandle(), p + QPoint(30, 20));
    Tick();
    EXPECT_EQ(Sent().size(), 2u); // frequency and gain of band 1
    Tick();
    EXPECT_TRUE(Running()) << "held still: the tick keeps its beat";
    QTest::mouseRelease(form->windowHandle(), Qt::LeftButton, {}, p + QPoint(30, 20));
    LoopWaits();
    Tick();
    EXPECT_FALSE(Running());
    EXPECT_EQ(Sent().size(), 2u);
    LoopWaits();
    EXPECT_FALSE(Running());
}

TEST_F(IdleTick, ATypedGainRedrawsOnTheNextTickAndStops) {
    const int y = form->EP1->y();
    typeInto(form->MusGainEdit1, QStringLiteral("9"));
    ASSERT_NE(Window.LastCurveWrite, Window.DrawnCurveWrite);
    EXPECT_FALSE(Running());
    LoopWaits();
    ASSERT_TRUE(Running());
    ClearSent();
    Tick();
    EXPECT_LT(form->EP1->y(), y) << "the handle follows the redrawn curve";
    EXPECT_FALSE(Running());
    EXPECT_TRUE(Sent().empty());
}

} // namespace
