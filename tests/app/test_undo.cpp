// Undo and redo of a tuning session as a person uses them: the change by
// mouse or keys, then Ctrl+Z / Ctrl+Shift+Z / Ctrl+Y to the focused widget;
// checked on the screen, in the images and in what the unit is sent.
#include "app/WindowState.h"
#include "eq/PeqReviewDialog.h"
#include "params/ParamImage.h"
#include "params/UndoHistory.h"
#include "tests/support/LinkFixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QUndoStack>
#include <QWheelEvent>

#include <cstring>
#include <functional>

namespace {

struct Images {
    int32_t p[ModuleCount][ImageSlots];
    int32_t d[ModuleCount][DeviceSlots];
    Images() {
        std::memcpy(p, Params.ParamImage, sizeof p);
        std::memcpy(d, Params.DeviceImage, sizeof d);
    }
    bool operator==(const Images& o) const {
        return !std::memcmp(p, o.p, sizeof p) && !std::memcmp(d, o.d, sizeof d);
    }
    int at(int address) const { return d[address / 256][address % 256]; }
};

class Undo : public LinkFixture {
protected:
    void SetUp() override {
        LinkFixture::SetUp();
        SetUndoClock([this] { return now; });
    }
    void TearDown() override {
        SetUndoClock(nullptr);
        SetPeqReviewRunner(nullptr);
        LinkFixture::TearDown();
    }
    QWidget* Focus() const {
        return QApplication::focusWidget() ? QApplication::focusWidget() : form;
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(Focus(), key, mods);
    }
    void CtrlZ() { Key(Qt::Key_Z, Qt::ControlModifier); }
    void Redo(bool y) {
        y ? Key(Qt::Key_Y, Qt::ControlModifier)
          : Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    }
    // The widget under the middle of target takes the click.
    void ClickOn(QWidget* target) {
        const QPoint p = target->mapTo(form, target->rect().center());
        QWidget* w = form->childAt(p);
        QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, w->mapFrom(form, p));
    }
    void Wheel(QWidget* over, int delta) {
        const QPoint at = over->rect().center();
        QWheelEvent e(at, over->mapToGlobal(QPointF(at)), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QSpontaneKeyEvent::setSpontaneous(&e);
        qApp->notify(over, &e);
    }
    void Tick() { form->Timer1Timer(form->Timer1); }
    // What a person sees: every named control's value, the graph's handles.
    QStringList Screen() const {
        QStringList out;
        for (QWidget* w : form->findChildren<QWidget*>()) {
            const QString n = w->objectName();
            if (n.isEmpty() || w == form->UndoBtn || w == form->RedoBtn || w == form->EQlabel)
                continue;
            if (auto* e = qobject_cast<QLineEdit*>(w)) out << n + e->text();
            if (auto* c = qobject_cast<QComboBox*>(w))
                out << n + QString::number(c->currentIndex());
            if (auto* b = qobject_cast<QAbstractButton*>(w))
                out << n + b->text() + QString::number(b->isChecked());
            if (auto* s = qobject_cast<QSlider*>(w)) out << n + QString::number(s->value());
            if (auto* s = qobject_cast<QSpinBox*>(w)) out << n + QString::number(s->value());
            if (auto* l = qobject_cast<QLabel*>(w))
                out << n + l->text() + QString::number(l->isVisible());
        }
        for (QWidget* h : Window.EqHandles)
            out << QStringLiteral("%1,%2").arg(h->x()).arg(h->y());
        return out;
    }
    // Names the controls whose shown values differ, for a readable failure.
    static QString Differ(const QStringList& a, const QStringList& b) {
        QStringList out;
        for (qsizetype i = 0; i < std::min(a.size(), b.size()); ++i)
            if (a[i] != b[i]) out << a[i] + QStringLiteral(" / ") + b[i];
        return out.join(QStringLiteral("; "));
    }
    // Handed to the link: exactly the slots that differ between from and to, with to's values.
    void ExpectSent(const Images& from, const Images& to) {
        std::vector<int> differ;
        for (int m = 0; m < ModuleCount; ++m)
            for (int i = 0; i < DeviceSlots; ++i)
                if (from.d[m][i] != to.d[m][i]) differ.push_back(m * 256 + i);
        std::vector<int> sent;
        for (const SentWrite& w : Sent()) {
            EXPECT_EQ(w.value, to.at(w.address)) << std::hex << w.address;
            sent.push_back(w.address);
        }
        std::sort(sent.begin(), sent.end());
        EXPECT_EQ(sent, differ);
    }
    QString UndoText() const { return form->UndoAction->text(); }
    int64_t now = 0;
    QTemporaryDir dir;
};

} // namespace

TEST_F(Undo, EveryKindOfChangeGoesBackAndForthAsByHand) {
    const QString filters = dir.filePath(QStringLiteral("f.txt"));
    QFile f(filters);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("Filter 1: ON PK Fc 1000 Hz Gain 3 dB Q 2\n");
    f.close();
    SetPeqReviewRunner([](PeqReviewDialog&) { return int(QDialog::Accepted); });

    struct Case {
        QString text;
        std::function<void()> change;
        std::function<void()> before = [] {};
    };
    const std::vector<Case> cases = {
        {"增益 3", [&] { typeInto(form->MusGainEdit3, "6"); }},
        {"频率 2",
         [&] {
             clickInto(form->MusFreEdit2);
             Key(Qt::Key_Up);
         }},
        {"Q值 4",
         [&] {
             clickInto(form->MusQEdit4);
             Wheel(form->Image1, 120);
         }},
        {"EQ类型 5",
         [&] {
             form->MusModeBox5->setFocus(Qt::TabFocusReason);
             Key(Qt::Key_Down);
         }},
        {"直通 6", [&] { ClickOn(form->MusBypassCheck6); }},
        {"高通频率", [&] { typeInto(form->MusHighPassFre, "100"); }},
        {"左延时",
         [&] {
             form->OutLDelayBar->setFocus(Qt::TabFocusReason);
             Key(Qt::Key_Right);
         }},
        {"左通道相位", [&] { ClickOn(form->OutLPhaseBtn); }},
        {"输入选择", [&] { ClickOn(form->SysInputRadio1); }},
        {"EQ直通", [&] { ClickOn(form->MusEQAllpassBtn); }},
        {"压缩曲线 点2",
         [&] {
             form->RzSpinEdit6->setFocus(Qt::TabFocusReason);
             Key(Qt::Key_Up);
         }},
        {"复位压缩曲线",
         [&] {
             dialogs->answers = {true};
             ClickOn(form->RmsResetBtn);
         }},
        {"EQ重置",
         [&] {
             dialogs->answers = {true};
             ClickOn(form->ResetBtn);
         }},
        {"导入滤波器",
         [&] {
             dialogs->fileNames = {filters};
             ClickOn(form->PeqImportBtn);
         }},
        {"辅助 增益 1", [&] { typeInto(form->AUXGainEdit1, "3"); },
         [&] { ClickOn(form->FormTabBtn2); }},
    };
    bool y = false;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        now += 10000;
        c.before();
        const QStringList screen0 = Screen();
        const Images before;
        c.change();
        Tick(); // the graph follows within a tick
        // As the window shows it from then on (a click on the selected tab
        // refreshes): a ticked bypass box shows the band's other Q slot only then.
        ClickOn(Window.CurrentModule == 2 ? form->FormTabBtn2 : form->FormTabBtn1);
        const QStringList screen1 = Screen();
        const Images after;
        ASSERT_FALSE(after == before);
        EXPECT_EQ(UndoText(), "撤销 " + c.text);

        ClearSent();
        CtrlZ();
        Tick();
        EXPECT_EQ(Differ(Screen(), screen0).toStdString(), "");
        EXPECT_TRUE(Images() == before);
        ExpectSent(after, before);
        EXPECT_EQ(form->RedoAction->text(), "重做 " + c.text);

        ClearSent();
        Redo(y = !y);
        Tick();
        EXPECT_EQ(Differ(Screen(), screen1).toStdString(), "");
        EXPECT_TRUE(Images() == after);
        ExpectSent(before, after);
    }
}

TEST_F(Undo, QuickStepsOnOneControlAreOneStep) {
    const int freq = 0x100 + 25 + 1; // band 2
    const int start = P(1, 26);
    clickInto(form->MusFreEdit2);
    for (int step = 0; step < 3; ++step, now += 600)
        Key(Qt::Key_Up);
    now += 2000; // a pause: the next step is one of its own
    Key(Qt::Key_Up);
    EXPECT_EQ(UndoStack()->count(), 2);
    CtrlZ();
    EXPECT_EQ(P(1, 26), start + 3);
    CtrlZ();
    EXPECT_EQ(P(1, 26), start);
    EXPECT_FALSE(form->UndoAction->isEnabled());
    EXPECT_EQ(Sent().back(), (SentWrite{freq, start, false}));

    // Up and straight back down: nothing is left to undo.
    now += 5000;
    Key(Qt::Key_Up);
    Key(Qt::Key_Down);
    EXPECT_FALSE(form->UndoAction->isEnabled());
}

TEST_F(Undo, TypingNotYetCommittedIsTheEditsOwnToUndo) {
    typeInto(form->MusFreEdit3, "1000");
    const QString committed = form->MusFreEdit3->text();
    QTest::keyClicks(Focus(), "5"); // not committed
    ClearSent();
    CtrlZ();
    EXPECT_EQ(form->MusFreEdit3->text(), committed);
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(UndoText(), "撤销 频率 3");
    CtrlZ();
    EXPECT_EQ(Sent().size(), 1u);
    EXPECT_FALSE(form->UndoAction->isEnabled());
}

TEST_F(Undo, AHandleDragFromPressToReleaseIsOneStep) {
    const QStringList screen0 = Screen();
    const Images before;
    TImage* h = form->EP3;
    const QPoint c = h->mapTo(form, h->rect().center());
    QTest::mousePress(form->windowHandle(), Qt::LeftButton, {}, c);
    for (int i = 1; i <= 4; ++i, now += 2000) {
        QTest::mouseMove(form->windowHandle(), c + QPoint(15 * i, -10 * i));
        Tick();
    }
    QTest::mouseRelease(form->windowHandle(), Qt::LeftButton, {}, c + QPoint(60, -40));
    Tick(); // commits the last value and ends the step
    const Images after;
    ASSERT_NE(after.at(0x100 + 30 + 1), before.at(0x100 + 30 + 1));
    ASSERT_NE(after.at(0x100 + 30 + 2), before.at(0x100 + 30 + 2));
    EXPECT_EQ(UndoStack()->count(), 1);
    EXPECT_EQ(UndoText(), "撤销 拖动 频段 3");
    ClearSent();
    CtrlZ();
    Tick();
    EXPECT_EQ(Differ(Screen(), screen0).toStdString(), "");
    ExpectSent(after, before);
    EXPECT_EQ(UndoStack()->count(), 1); // nothing recorded by the undo itself
}

TEST_F(Undo, TheUnitFollowsAndABulkReadClearsTheHistory) {
    typeInto(form->MusGainEdit5, "2"); // before any unit: the connect read replaces it
    ConnectUnit();
    ASSERT_EQ(form9->LinkState, Online);
    EXPECT_FALSE(form->UndoAction->isEnabled());
    const int gain = 0x100 + 30 + 2;
    const int was = unit->Param(1, 32);
    typeInto(form->MusGainEdit3, "6");
    Step(200);
    ASSERT_EQ(unit->Param(1, 32), 150);

    // A preset loaded and undone: both go to the unit as a whole-image upload.
    const QString preset = dir.filePath(QStringLiteral("p.Nddt"));
    typeInto(form->MusGainEdit4, "-3");
    Step(200);
    dialogs->fileNames = {preset};
    ClickOn(form->SaveFileBtn);
    now += 5000;
    typeInto(form->MusGainEdit4, "3");
    Step(200);
    dialogs->fileNames = {preset};
    ClickOn(form->LoadFileBtn);
    Step(2000);
    ASSERT_EQ(unit->Param(1, 37), 105);
    EXPECT_EQ(UndoText(), "撤销 加载预设");
    CtrlZ();
    Step(2000);
    EXPECT_EQ(unit->Param(1, 37), 135);
    EXPECT_EQ(form->MusGainEdit4->text(), "3.0dB");
    ClearFrames();
    for (int i = 0; i < 3; ++i)
        CtrlZ();
    Step(200);
    EXPECT_EQ(unit->Param(1, 32), was);
    EXPECT_EQ(unit->Param(1, 37), 120);
    ASSERT_FALSE(FramesTo(gain).empty());
    for (const auto& r : FramesTo(gain))
        EXPECT_EQ(r.bytes[6] * 256 + r.bytes[7], was);
    EXPECT_FALSE(form->UndoAction->isEnabled());

    // Saving in the unit neither records nor clears; a recall's read back clears.
    const int steps = UndoStack()->count();
    dialogs->answers = {true};
    ClickOn(form->DeviceSaveBtn);
    Step(500);
    EXPECT_EQ(UndoStack()->count(), steps);
    EXPECT_TRUE(form->RedoAction->isEnabled());
    dialogs->answers = {true};
    ClickOn(form->DeviceLoadBtn);
    for (int i = 0; i < 200 && form9->LinkState != Online; ++i)
        Step(25);
    Step(100);
    EXPECT_FALSE(form->UndoAction->isEnabled());
    EXPECT_FALSE(form->RedoAction->isEnabled());
}
