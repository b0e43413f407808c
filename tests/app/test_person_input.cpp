// The main window as a person drives it: keys to the focus widget, clicks and
// wheel turns to the widget under the point, checked against what is sent.
#include "eq/CompressorMath.h"
#include "params/DispatchState.h"
#include "tests/support/AppFixture.h"

#include <QApplication>
#include <QComboBox>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QWheelEvent>
#include <QtTest/qtestspontaneevent.h>

namespace {

using Writes = std::vector<SentWrite>;

class PersonInput : public AppFixture {
protected:
    // The widget a person hits at the middle of target, and the point in it.
    QWidget* Under(QWidget* target, QPoint& local) const {
        const QPoint p = target->mapTo(form, target->rect().center());
        QWidget* w = form->childAt(p);
        local = w->mapFrom(form, p);
        return w;
    }
    void ClickOn(QWidget* target) {
        QPoint at;
        QWidget* w = Under(target, at);
        QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, at);
    }
    void Wheel(QWidget* over, int delta) {
        QPoint at;
        QWidget* w = Under(over, at);
        QWheelEvent e(at, w->mapToGlobal(QPointF(at)), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QSpontaneKeyEvent::setSpontaneous(&e); // as the window system delivers it
        qApp->notify(w, &e);
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, mods);
    }
    void Retype(const QString& text) { // select all, then type
        Key(Qt::Key_End);
        Key(Qt::Key_Home, Qt::ShiftModifier);
        Key(Qt::Key_Backspace);
        QTest::keyClicks(QApplication::focusWidget(), text);
    }
};

TEST_F(PersonInput, KeysAndWheelActOnTheEditThatTookTheFocus) {
    ClickOn(form->MusFreEdit1);
    Key(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), form->MusQEdit1);
    ClearSent();
    Key(Qt::Key_Up);
    EXPECT_EQ(Sent(), (Writes{{0x117, 26}})); // band 1's Q, not its frequency
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    Wheel(form->Image1, 120);
    form->MusGainEdit3->setFocus();
    Key(Qt::Key_Down);
    EXPECT_EQ(Sent(), (Writes{{0x117, 26}, {0x115, 6}, {0x120, 119}}));
}

TEST_F(PersonInput, RefusedEntryGetsTheEditsOwnTextBackAndSendsNothing) {
    ClickOn(form->MusFreEdit2); // "46.8"
    Key(Qt::Key_Tab);
    Key(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), form->MusGainEdit2);
    ClearSent();
    for (const char* refused : {"", "-"}) {
        Retype(refused);
        Key(Qt::Key_Return);
        EXPECT_EQ(form->MusGainEdit2->text(), "0.0dB");
    }
    Key(Qt::Key_Tab); // leaving afterwards
    EXPECT_TRUE(Sent().empty());
    ClickOn(form->MusGainEdit2);
    Retype("3");
    Key(Qt::Key_Return);
    Key(Qt::Key_Tab); // sent once, not again on leaving
    EXPECT_EQ(Sent(), (Writes{{0x11B, 135}}));
}

TEST_F(PersonInput, ArmedWheelStepsTheSelectedEditAndNothingElse) {
    const int attack = form->MusRmsAttackBar->value();
    ClickOn(form->MusFreEdit1);
    ClearSent();
    Wheel(form->MusModeBox2, 120);
    Wheel(form->MusRmsAttackBar, 120);
    Wheel(form->RzSpinEdit4, -120);
    EXPECT_EQ(Sent(), (Writes{{0x115, 6}, {0x115, 7}, {0x115, 6}}));
    EXPECT_EQ(form->MusModeBox2->currentIndex(), 0);
    EXPECT_EQ(form->MusRmsAttackBar->value(), attack);
    EXPECT_EQ(form->RzSpinEdit4->value(), -70);
}

TEST_F(PersonInput, UnarmedWheelTurnsOnlyTheControlWithTheFocus) {
    ASSERT_EQ(Dispatch.WheelArmed, 0);
    const int attack = form->MusRmsAttackBar->value();
    Wheel(form->MusModeBox2, -120);
    Wheel(form->MusRmsAttackBar, 120);
    Wheel(form->RzSpinEdit4, 120);
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(form->MusModeBox2->currentIndex(), 0);
    EXPECT_EQ(form->MusRmsAttackBar->value(), attack);
    ClickOn(form->RzSpinEdit4); // a click gives the focus
    Wheel(form->RzSpinEdit4, 120);
    EXPECT_EQ(form->RzSpinEdit4->value(), -69);
    EXPECT_EQ(Sent(), (Writes{{0x109, PackCurvePoint(-70, -69)}}));
}

TEST_F(PersonInput, TypedCompressorLevelIsTakenWholeOnCommit) {
    ClickOn(form->RzSpinEdit7); // point 3 input
    ClearSent();
    Retype("30");
    EXPECT_TRUE(Sent().empty()) << "no keystroke is sent";
    Key(Qt::Key_Return);
    EXPECT_EQ(form->RzSpinEdit7->value(), 21);
    ClickOn(form->RzSpinEdit6); // point 2 output pulls point 1 down with it
    Retype("-120");
    Key(Qt::Key_Tab);
    EXPECT_EQ(form->RzSpinEdit6->value(), -113);
    ClickOn(form->RzSpinEdit6);
    Key(Qt::Key_Up); // one step; point 0 follows point 1 now (one pass a commit)
    EXPECT_EQ(Sent(), (Writes{{0x10B, PackCurvePoint(21, 0)},
                              {0x10A, PackCurvePoint(-40, -113)},
                              {0x109, PackCurvePoint(-70, -113)},
                              {0x10A, PackCurvePoint(-40, -112)},
                              {0x108, PackCurvePoint(-90, -113)}}));
}

TEST_F(PersonInput, FrequencyWithAKiloSuffixMeansThousands) {
    ClickOn(form->MusFreEdit1);
    ClearSent();
    for (const char* typed : {"1k", "2.2K", "1.5kHz", "500"}) {
        Retype(typed);
        Key(Qt::Key_Return);
    }
    EXPECT_EQ(Sent(), (Writes{{0x115, 204}, {0x115, 245}, {0x115, 225}, {0x115, 168}}));
}

} // namespace
