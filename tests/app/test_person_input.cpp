// The main window as a person drives it: keys go to the widget that has the
// focus, clicks and wheel turns to the widget under the point, through Qt's
// own delivery. Checked against what is handed over for sending.
#include "eq/CompressorMath.h"
#include "params/DispatchState.h"
#include "params/ParamImage.h"
#include "tests/support/AppFixture.h"

#include <QApplication>
#include <QComboBox>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QWheelEvent>
#include <QtTest/qtestspontaneevent.h>

#include <ostream>

inline std::ostream& operator<<(std::ostream& os, const SentWrite& w) {
    return os << "(0x" << std::hex << w.address << std::dec << ", " << w.value << ")";
}

namespace {

constexpr int Band1Freq = 0x115;
constexpr int Band1QPeak = 0x117;
constexpr int Band2Type = 0x119;
constexpr int Band3Gain = 0x120;
constexpr int AttackAddr = 0x105;

using Writes = std::vector<SentWrite>;

class PersonInput : public AppFixture {
protected:
    // The window point at the middle of a widget, and the widget a person hits there.
    QPoint At(QWidget* target) const { return target->mapTo(form, target->rect().center()); }
    QWidget* Under(QWidget* target) const {
        QWidget* w = form->childAt(At(target));
        EXPECT_TRUE(w == target || target->isAncestorOf(w)) << target->objectName().toStdString();
        return w;
    }
    void ClickOn(QWidget* target) {
        QWidget* w = Under(target);
        QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, w->mapFrom(form, At(target)));
    }
    void Wheel(QWidget* over, int delta) {
        QWidget* w = Under(over);
        const QPoint p = At(over);
        QWheelEvent e(w->mapFrom(form, QPointF(p)), form->mapToGlobal(QPointF(p)), QPoint(),
                      QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QSpontaneKeyEvent::setSpontaneous(&e); // as from the window system: propagates, may focus
        qApp->notify(w, &e);
    }
    static QWidget* Focused() { return QApplication::focusWidget(); }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        ASSERT_TRUE(Focused());
        QTest::keyClick(Focused(), key, mods);
    }
    // Replaces the focused edit's text by typing.
    void Retype(const QString& text) {
        Key(Qt::Key_End);
        Key(Qt::Key_Home, Qt::ShiftModifier);
        Key(Qt::Key_Backspace);
        QTest::keyClicks(Focused(), text);
    }
};

TEST_F(PersonInput, KeysAndWheelActOnTheEditThatTookTheFocus) {
    ClickOn(form->MusFreEdit1);
    Key(Qt::Key_Tab);
    ASSERT_EQ(Focused(), form->MusQEdit1);
    ClearSent();
    Key(Qt::Key_Up);
    EXPECT_EQ(Sent(), (Writes{{Band1QPeak, 26}}));
    EXPECT_EQ(form->MusQEdit1->text(), "1.06");
    EXPECT_EQ(form->MusFreEdit1->text(), "21.7");

    ClearSent();
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_EQ(Focused(), form->MusFreEdit1);
    Wheel(form->Image1, 120);
    EXPECT_EQ(Sent(), (Writes{{Band1Freq, 6}}));

    ClearSent();
    form->MusGainEdit3->setFocus();
    Key(Qt::Key_Down);
    EXPECT_EQ(Sent(), (Writes{{Band3Gain, 119}}));
}

TEST_F(PersonInput, RefusedEntryGetsTheEditsOwnTextBackAndSendsNothing) {
    ClickOn(form->MusFreEdit2);
    ASSERT_EQ(form->MusFreEdit2->text(), "46.8");
    Key(Qt::Key_Tab);
    Key(Qt::Key_Tab);
    ASSERT_EQ(Focused(), form->MusGainEdit2);
    ClearSent();
    Retype("");
    Key(Qt::Key_Return);
    EXPECT_EQ(form->MusGainEdit2->text(), "0.0dB");
    Retype("-");
    Key(Qt::Key_Return);
    EXPECT_EQ(form->MusGainEdit2->text(), "0.0dB");
    Key(Qt::Key_Tab); // leaving afterwards
    EXPECT_TRUE(Sent().empty()) << Sent()[0];
    EXPECT_EQ(P(1, 27), 120);

    // A typed value goes out once, not again when the edit is left.
    ClickOn(form->MusGainEdit2);
    Retype("3");
    Key(Qt::Key_Return);
    Key(Qt::Key_Tab);
    EXPECT_EQ(Sent(), (Writes{{0x11B, 135}}));
}

TEST_F(PersonInput, ArmedWheelStepsTheSelectedEditWhereverThePointerIs) {
    const int attack = form->MusRmsAttackBar->value();
    ClickOn(form->MusFreEdit1);
    ClearSent();
    Wheel(form->MusModeBox2, 120);
    Wheel(form->MusRmsAttackBar, 120);
    Wheel(form->RzSpinEdit4, -120);
    EXPECT_EQ(Sent(), (Writes{{Band1Freq, 6}, {Band1Freq, 7}, {Band1Freq, 6}}));
    EXPECT_EQ(form->MusModeBox2->currentIndex(), 0);
    EXPECT_EQ(form->MusRmsAttackBar->value(), attack);
    EXPECT_EQ(form->RzSpinEdit4->value(), -70);
    EXPECT_EQ(Dispatch.WheelArmed, 1);
}

TEST_F(PersonInput, UnarmedWheelChangesOnlyTheControlWithTheFocus) {
    ASSERT_EQ(Dispatch.WheelArmed, 0);
    const int attack = form->MusRmsAttackBar->value();
    Wheel(form->MusModeBox2, -120);
    Wheel(form->MusRmsAttackBar, 120);
    Wheel(form->RzSpinEdit4, 120);
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(form->MusModeBox2->currentIndex(), 0);
    EXPECT_EQ(form->MusRmsAttackBar->value(), attack);
    EXPECT_EQ(form->RzSpinEdit4->value(), -70);

    ClickOn(form->RzSpinEdit4); // a click gives the focus
    ASSERT_TRUE(form->RzSpinEdit4->hasFocus());
    Wheel(form->RzSpinEdit4, 120);
    EXPECT_EQ(form->RzSpinEdit4->value(), -69);
    EXPECT_EQ(Sent(), (Writes{{0x109, PackCurvePoint(-70, -69)}}));

    ClearSent();
    ClickOn(form->MusRmsAttackBar);
    ASSERT_TRUE(form->MusRmsAttackBar->hasFocus());
    const int clicked = form->MusRmsAttackBar->value();
    ClearSent();
    Wheel(form->MusRmsAttackBar, 120);
    Wheel(form->MusModeBox2, -120);
    EXPECT_GT(form->MusRmsAttackBar->value(), clicked);
    EXPECT_EQ(form->MusModeBox2->currentIndex(), 0);
    ASSERT_FALSE(Sent().empty());
    for (const SentWrite& w : Sent())
        EXPECT_EQ(w.address, AttackAddr) << w;
}

TEST_F(PersonInput, TypedCompressorLevelIsTakenWholeOnCommit) {
    ClickOn(form->RzSpinEdit7); // point 3 input
    ClearSent();
    Retype("30");
    EXPECT_TRUE(Sent().empty()) << "no keystroke is sent";
    Key(Qt::Key_Return);
    EXPECT_EQ(form->RzSpinEdit7->value(), 21);
    EXPECT_EQ(Sent(), (Writes{{0x10B, PackCurvePoint(21, 0)}}));

    ClearSent();
    ClickOn(form->RzSpinEdit6); // point 2 output, pulls point 1 down with it
    Retype("-120");
    Key(Qt::Key_Tab);
    EXPECT_EQ(form->RzSpinEdit6->value(), -113);
    EXPECT_EQ(form->RzSpinEdit4->value(), -113);
    EXPECT_EQ(Sent(), (Writes{{0x10A, PackCurvePoint(-40, -113)}, {0x109, PackCurvePoint(-70, -113)}}));

    ClearSent();
    ClickOn(form->RzSpinEdit6);
    Key(Qt::Key_Up); // one step; point 1 stays, point 0 follows it now (one pass a commit)
    EXPECT_EQ(Sent(),
              (Writes{{0x10A, PackCurvePoint(-40, -112)}, {0x108, PackCurvePoint(-90, -113)}}));
}

TEST_F(PersonInput, FrequencyWithAKiloSuffixMeansThousands) {
    ClickOn(form->MusFreEdit1);
    const std::pair<const char*, int> cases[] = {
        {"1k", 204}, {"2.2K", 245}, {"1.5kHz", 225}, {"500", 168}};
    for (const auto& [typed, raw] : cases) {
        ClearSent();
        Retype(typed);
        Key(Qt::Key_Return);
        EXPECT_EQ(Sent(), (Writes{{Band1Freq, raw}})) << typed;
    }
    EXPECT_EQ(form->MusFreEdit1->text(), "500.0");
}

} // namespace
