// Undo and redo of a tuning session as a person uses them: the change by
// mouse or keys, then Ctrl+Z / Ctrl+Shift+Z / Ctrl+Y to the focused widget;
// checked on the screen, in the images and in what the unit is sent.
#include "app/WindowState.h"
#include "eq/PeqReviewDialog.h"
#include "params/ParamImage.h"
#include "params/UndoHistory.h"
#include "presets/PresetCodec.h"
#include "tests/support/LinkFixture.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

#include <cstring>
#include <functional>

namespace {

// DeviceImage (ParamImage follows it at every refresh); a slot by address.
using Images = std::vector<int32_t>;
Images Now() {
    return Images(&Params.DeviceImage[0][0],
                  &Params.DeviceImage[0][0] + sizeof Params.DeviceImage / 4);
}
int32_t At(const Images& v, int address) {
    return v[static_cast<std::size_t>(address / 256 * DeviceSlots + address % 256)];
}

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
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : form, key, mods);
    }
    void CtrlZ() { Key(Qt::Key_Z, Qt::ControlModifier); }
    void Redo(bool y) {
        Key(y ? Qt::Key_Y : Qt::Key_Z,
            Qt::ControlModifier | (y ? Qt::NoModifier : Qt::ShiftModifier));
    }
    QWidget* Named(const char* name) const { return form->findChild<QWidget*>(name); }
    // The widget under the middle of the named one takes the click.
    void ClickOn(const char* name) {
        QWidget* target = Named(name);
        const QPoint p = target->mapTo(form, target->rect().center());
        QWidget* w = form->childAt(p);
        QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, w->mapFrom(form, p));
    }
    void Tick() { form->Timer1Timer(form->Timer1); }
    // Pressed at the given offset from the middle, moved by twice by, released.
    void Drag(QWidget* h, QPoint by, QPoint at = {}) {
        const QPoint c = h->mapTo(form, h->rect().center() + at);
        QTest::mousePress(form->windowHandle(), Qt::LeftButton, {}, c);
        for (const int n : {1, 2}) { // seconds apart
            QTest::mouseMove(form->windowHandle(), c + n * by);
            Tick();
            now += 2000;
        }
        QTest::mouseRelease(form->windowHandle(), Qt::LeftButton, {}, c + 2 * by);
    }
    // What a person sees: every named control's value, the graph's handles.
    std::string Screen() const {
        QStringList out;
        for (QWidget* w : form->findChildren<QWidget*>()) {
            const QString n = w->objectName();
            if (n.isEmpty() || n.startsWith("Undo") || n.startsWith("Redo") || n == "EQlabel")
                continue;
            for (const char* p : {"text", "currentIndex", "value", "checked", "visible"})
                out << n + QLatin1Char(':') + w->property(p).toString();
        }
        for (QWidget* h : Window.EqHandles)
            out << QString::number(h->x()) << QString::number(h->y());
        return out.join(QLatin1Char(' ')).toStdString();
    }
    // Handed to the link: exactly the slots that differ between from and to, with to's values.
    void ExpectSent(const Images& from, const Images& to) {
        std::vector<int> differ, sent;
        for (int a = 0; a < ModuleCount * 256; ++a)
            if (a % 256 < DeviceSlots && At(from, a) != At(to, a)) differ.push_back(a);
        for (const SentWrite& w : Sent()) {
            EXPECT_EQ(w.value, At(to, w.address)) << std::hex << w.address;
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
    const auto yes = [this] { dialogs->answers = {true}; };
    const auto tab = [this](const char* name) { Named(name)->setFocus(Qt::TabFocusReason); };

    struct Case {
        QString text;
        std::function<void()> change;
    };
    // clang-format off
    const std::vector<Case> cases = {
        {"增益 3", [&] { typeInto(form->MusGainEdit3, "6"); }},
        {"频率 2", [&] { clickInto(form->MusFreEdit2); Key(Qt::Key_Up); }},
        {"EQ类型 5", [&] { tab("MusModeBox5"); Key(Qt::Key_Down); }},
        {"直通 6", [&] { ClickOn("MusBypassCheck6"); }},
        {"高通频率", [&] { typeInto(form->MusHighPassFre, "100"); }},
        {"左延时", [&] { tab("OutLDelayBar"); Key(Qt::Key_Right); }},
        {"左通道相位", [&] { ClickOn("OutLPhaseBtn"); }},
        {"输入选择", [&] { ClickOn("SysInputRadio1"); }},
        {"EQ直通", [&] { ClickOn("MusEQAllpassBtn"); }},
        {"压缩曲线 点2", [&] { tab("RzSpinEdit6"); Key(Qt::Key_Up); }},
        {"复位压缩曲线", [&] { yes(); ClickOn("RmsResetBtn"); }},
        {"EQ重置", [&] { yes(); ClickOn("ResetBtn"); }},
        {"导入滤波器", [&] { dialogs->fileNames = {filters}; ClickOn("PeqImportBtn"); }},
        {"拖动 频段 5", [&] { Drag(form->EP5, {30, -20}); }}, // press to release, ticks between
        {"右延时", [&] { Drag(Named("OutRDelayBar"), {30, 0}, {8 - Named("OutRDelayBar")->width() / 2, 0}); }},
        {"辅助 增益 1", [&] { typeInto(form->AUXGainEdit1, "3"); }},
    };
    // clang-format on
    bool y = false;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        now += 10000;
        if (c.text.startsWith(QStringLiteral("辅助"))) ClickOn("FormTabBtn2");
        const std::string screen0 = Screen();
        const Images before = Now();
        c.change();
        Tick(); // the graph follows within a tick
        // As the window shows it from then on (a click on the selected tab
        // refreshes): a ticked bypass box shows the band's other Q slot only then.
        ClickOn(Window.CurrentModule == 2 ? "FormTabBtn2" : "FormTabBtn1");
        const std::string screen1 = Screen();
        const Images after = Now();
        ASSERT_NE(after, before);
        EXPECT_EQ(UndoText(), "撤销 " + c.text);

        ClearSent();
        CtrlZ();
        Tick();
        EXPECT_EQ(Screen(), screen0);
        EXPECT_EQ(Now(), before);
        ExpectSent(after, before);
        EXPECT_EQ(form->RedoAction->text(), "重做 " + c.text);

        ClearSent();
        Redo(y = !y);
        Tick();
        EXPECT_EQ(Screen(), screen1);
        EXPECT_EQ(Now(), after);
        ExpectSent(before, after);
    }
}

TEST_F(Undo, QuickStepsOnOneControlAreOneStepAndTypingIsTheEditsOwn) {
    const int start = P(1, 26); // band 2 frequency
    clickInto(form->MusFreEdit2);
    for (int step = 0; step < 3; ++step, now += 600)
        Key(Qt::Key_Up);
    now += 2000; // a pause: the next step is one of its own
    Key(Qt::Key_Up);
    EXPECT_EQ(UndoStack()->count(), 2);
    const QString shown = form->MusFreEdit2->text();
    QTest::keyClicks(QApplication::focusWidget(), "5"); // typed, not committed
    CtrlZ();                                            // undoes the typing only
    EXPECT_EQ(P(1, 26), start + 4);
    EXPECT_EQ(form->MusFreEdit2->text(), shown);
    CtrlZ();
    EXPECT_EQ(P(1, 26), start + 3);
    CtrlZ();
    EXPECT_EQ(P(1, 26), start);
    EXPECT_FALSE(form->UndoAction->isEnabled());
    EXPECT_EQ(Sent().back(), (SentWrite{0x11A, start, false}));
    // Up and straight back down: nothing is left to undo.
    now += 5000;
    Key(Qt::Key_Up);
    Key(Qt::Key_Down);
    EXPECT_FALSE(form->UndoAction->isEnabled());
}

TEST_F(Undo, TheUnitFollowsAndABulkReadClearsTheHistory) {
    typeInto(form->MusGainEdit5, "2"); // before any unit: the connect read replaces it
    ConnectUnit();
    ASSERT_EQ(form9->Session->LinkState, Online);
    EXPECT_FALSE(form->UndoAction->isEnabled());

    // A preset loaded and undone goes as a whole-image upload, a typed value as one write.
    const QString preset = dir.filePath(QStringLiteral("p.Nddt"));
    typeInto(form->MusGainEdit4, "-3");
    dialogs->fileNames = {preset};
    ClickOn("SaveFileBtn");
    now += 5000;
    typeInto(form->MusGainEdit4, "3");
    dialogs->fileNames = {preset};
    ClickOn("LoadFileBtn");
    Step(2000);
    ASSERT_EQ(unit->Param(1, 37), 105);
    EXPECT_EQ(UndoText(), "撤销 加载预设");
    CtrlZ();
    Step(2000);
    EXPECT_EQ(unit->Param(1, 37), 135);
    EXPECT_EQ(form->MusGainEdit4->text(), "3.0dB");
    ClearFrames();
    CtrlZ();
    Step(200);
    EXPECT_EQ(unit->Param(1, 37), 105);
    ASSERT_FALSE(FramesTo(0x125).empty());
    for (const auto& r : FramesTo(0x125))
        EXPECT_EQ(r.bytes[6] * 256 + r.bytes[7], 105);

    // Saving in the unit neither records nor clears; a recall's read back clears.
    dialogs->answers = {true};
    ClickOn("DeviceSaveBtn");
    Step(500);
    EXPECT_EQ(UndoStack()->count(), 3);
    EXPECT_EQ(UndoStack()->index(), 1);
    dialogs->answers = {true};
    ClickOn("DeviceLoadBtn");
    for (int i = 0; i < 200 && form9->Session->LinkState != Online; ++i)
        Step(25);
    EXPECT_FALSE(form->UndoAction->isEnabled());
    EXPECT_FALSE(form->RedoAction->isEnabled());
}

TEST_F(Undo, AGestureOfSeveralSlotsGoesBackInReverseOrder) {
    form->RzBmpButton1->show();
    ClickOn("RzBmpButton1"); // the factory page; both levels to 48
    for (const char* bar : {"DEQMaxLevelBar1", "DEQRmsLevelBar1"}) {
        Named(bar)->setFocus(Qt::TabFocusReason);
        Key(Qt::Key_End);
    }
    Named("DEQMaxLevelBar1")->setFocus(Qt::TabFocusReason);
    ClearSent();
    Key(Qt::Key_Home); // the cut-off to 0 pulls the start level down first
    ASSERT_EQ(Sent(), (std::vector<SentWrite>{{0x208, 0, false}, {0x209, 0, false}}));
    ClearSent();
    CtrlZ(); // the cut-off back up first: the start never lies above it
    EXPECT_EQ(Sent(), (std::vector<SentWrite>{{0x209, 48, false}, {0x208, 48, false}}));
}

TEST_F(Undo, AnUndoWithAHandleHeldIsNotUndoneAgainAfterTheRelease) {
    typeInto(form->MusGainEdit5, "6");
    now += 5000;
    const QPoint c = form->EP5->mapTo(form, form->EP5->rect().center());
    QTest::mousePress(form->windowHandle(), Qt::LeftButton, {}, c);
    CtrlZ(); // the typing, with the button down
    QTest::mouseMove(form->windowHandle(), c + QPoint(30, -40));
    Tick();
    QTest::mouseRelease(form->windowHandle(), Qt::LeftButton, {}, c + QPoint(30, -40));
    Tick();
    ASSERT_NE(P(1, 42), 120);
    CtrlZ(); // the drag; the typing stays undone
    EXPECT_EQ(P(1, 42), 120);
}

TEST_F(Undo, ARefreshThatHoldsALoadedValueAddsNoStep) {
    PresetImage image{}; // the first dynamic EQ starting (40) above its cut-off (20)
    std::memcpy(&image, Params.DeviceImage, sizeof image);
    image[2][8] = 40;
    image[2][9] = 20;
    QFile f(dir.filePath(QStringLiteral("deq.Nddt")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray::fromStdString(BuildPresetFile(image, Params.VariantFlag)));
    f.close();
    dialogs->fileNames = {f.fileName()};
    ClickOn("LoadFileBtn"); // no unit: into the image only
    ClickOn("FormTabBtn1"); // shown: the start level is held to the cut-off
    EXPECT_EQ(D(2, 8), 20);
    EXPECT_EQ(UndoText(), "撤销 加载预设");
}
