// The screen shows what the unit holds: nothing can be changed while a
// transfer or a memory command's wait runs, a band's Q field follows the slot
// the band uses, the readout follows a whole refresh, a curve beyond the scale
// is marked, and the questions that overwrite the unit default to No. Driven
// as a person does: mouse to the widget under the point, keys to the focus.

#include "app/Dialogs.h"
#include "eq/EqGraph.h"
#include "eq/PeqReviewDialog.h"
#include "params/ParamImage.h"
#include "presets/StatusBox.h"
#include "tests/support/LinkFixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <memory>

namespace {

constexpr int Band7Gain = 0x100 + 20 + 5 * 6 + 2;

class ScreenIsUnit : public LinkFixture {
protected:
    void TearDown() override {
        SetPeqReviewRunner(nullptr);
        LinkFixture::TearDown();
    }
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
        QSpontaneKeyEvent::setSpontaneous(&e);
        qApp->notify(w, &e);
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : form, key, mods);
    }
    // Everything a person may try on the band table, the graph and the keys.
    void TryEverything() {
        typeInto(form->MusGainEdit7, "6");
        ClickOn(form->MusBypassCheck7);
        ClickOn(form->OutLPhaseBtn);
        const QPoint h = form->EP7->mapTo(form, form->EP7->rect().center());
        QTest::mousePress(form->windowHandle(), Qt::LeftButton, {}, h);
        QTest::mouseMove(form->windowHandle(), h + QPoint(40, -40));
        form->Timer1Timer(form->Timer1);
        QTest::mouseRelease(form->windowHandle(), Qt::LeftButton, {}, h + QPoint(40, -40));
        form->Timer1Timer(form->Timer1);
        Wheel(form->MusGainEdit7, 120);
        Key(Qt::Key_Z, Qt::ControlModifier);
    }
    // Import a filter text through the review (accepted).
    void Import(const QByteArray& text) {
        const QString path = dir.filePath(QStringLiteral("f.txt"));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        f.close();
        SetPeqReviewRunner([](PeqReviewDialog&) { return int(QDialog::Accepted); });
        dialogs->fileNames = {path};
        ClickOn(form->PeqImportBtn);
    }
    QTemporaryDir dir;
};

} // namespace

// ---- 1. Held during transfers and waits ----

TEST_F(ScreenIsUnit, NothingCanBeChangedDuringARecallAndItsReadBack) {
    ConnectUnit();
    ASSERT_EQ(form9->Session->LinkState, Online);
    typeInto(form->MusGainEdit7, "3"); // an undo step to try later
    Step(500);
    unit->Misbehave().replyDelayMs = 300; // a wait long enough to try things in
    dialogs->answers = {true};
    ClickOn(form->DeviceLoadBtn);
    ClearSent();
    ClearFrames();
    // The memory command's wait, then the read back at 67 %.
    EXPECT_FALSE(form->MusGainEdit7->isEnabled());
    TryEverything();
    for (int i = 0; i < 400 && !(form9->Session->Timer2->isActive() && form4->Percent >= 67); ++i)
        Step(25);
    ASSERT_TRUE(form9->Session->Timer2->isActive());
    EXPECT_TRUE(form4->isVisible());
    EXPECT_EQ(form4->HoldLabel->text(), QStringLiteral("完成之前不能更改参数。"));
    EXPECT_FALSE(form->EP7->isEnabled());
    EXPECT_FALSE(form->UndoAction->isEnabled());
    EXPECT_TRUE(form->FormTabBtn2->isEnabled()); // what is shown may still be chosen
    TryEverything();
    EXPECT_TRUE(Sent().empty());

    for (int i = 0; i < 400 && form9->Session->LinkState != Online; ++i)
        Step(25);
    unit->Behave();
    Step(500);
    // Only the recall and the read back reached the unit; the screen is the unit.
    for (const auto& r : Frames())
        if (r.bytes[0] == 0x01) {
            const int address = r.bytes[4] << 8 | r.bytes[5];
            EXPECT_TRUE(address == 12 || address == 57 || address == 58) << std::hex << address;
        }
    // The unit went back to its stored set: 0 dB.
    EXPECT_EQ(unit->Param(1, Band7Gain - 0x100), 120);
    EXPECT_EQ(D(1, Band7Gain - 0x100), 120);
    EXPECT_EQ(form->MusGainEdit7->text(), QStringLiteral("0.0dB"));
    EXPECT_TRUE(form->MusGainEdit7->isEnabled());
    EXPECT_TRUE(form->EP7->isEnabled());
}

TEST_F(ScreenIsUnit, TypingLeftInAnEditWhenTheConnectReadStartsIsNotKept) {
    clickInto(form->MusGainEdit7);
    QTest::keyClicks(QApplication::focusWidget(), "6"); // not committed yet
    StartConsole();
    Deliver();
    // Module 1 has been read: a change to it now would never be read again.
    for (int i = 0; i < 400 && !(form9->Session->Timer2->isActive() &&
                                 form9->Session->TransferStep >= 2);
         ++i)
        Step(25);
    ASSERT_TRUE(form9->Session->Timer2->isActive());
    EXPECT_EQ(form->MusGainEdit7->text(), QStringLiteral("0.0dB"));
    Key(Qt::Key_Return);
    for (int i = 0; i < 400 && form9->Session->LinkState != Online; ++i)
        Step(25);
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(D(1, Band7Gain - 0x100), 120);
    EXPECT_EQ(unit->Param(1, Band7Gain - 0x100), 120);
    EXPECT_EQ(form->MusGainEdit7->text(), QStringLiteral("0.0dB"));
}

TEST_F(ScreenIsUnit, ASaveWhoseWaitEndsInALostLinkFreesTheControlsAndIsNeverReportedSaved) {
    ConnectUnit();
    unit->Misbehave().silent = true;
    dialogs->answers = {true};
    ClickOn(form->DeviceSaveBtn);
    EXPECT_FALSE(form->MusGainEdit7->isEnabled());
    for (int i = 0; i < 4000 && form9->Session->HoldTimer->isActive(); ++i)
        Step(25);
    EXPECT_EQ(dialogs->texts(DialogRecord::Notify), QStringList{QStringLiteral("已断开连接!")});
    // Off line: edited on the console, read from the unit at the next connect.
    ClearSent();
    typeInto(form->MusGainEdit7, "6");
    EXPECT_EQ(Sent().size(), 1u);
    unit->Behave();
    ClickOn(form->LinkBtn);
    for (int i = 0; i < 400 && form9->Session->LinkState != Online; ++i)
        Step(25);
    Step(1000);
    EXPECT_EQ(dialogs->texts(DialogRecord::Notify), QStringList{QStringLiteral("已断开连接!")});
    EXPECT_EQ(form->MusGainEdit7->text(), QStringLiteral("0.0dB"));
}

// ---- 2. The Q field shows the slot the band uses ----

TEST_F(ScreenIsUnit, QFieldFollowsTheBypassAndAnImportedOffBand) {
    // Peaking band 2: first Q slot 1.00, second 0.71.
    ClickOn(form->MusBypassCheck2);
    EXPECT_EQ(form->MusQEdit2->text(), QStringLiteral("0.71"));
    ClickOn(form->MusBypassCheck2);
    EXPECT_EQ(form->MusQEdit2->text(), QStringLiteral("1.00"));
    ClearSent();
    clickInto(form->MusQEdit2);
    Key(Qt::Key_Up);
    ASSERT_EQ(Sent().size(), 1u);
    EXPECT_EQ(Sent()[0].address, 0x100 + 25 + 3);
    EXPECT_EQ(Sent()[0].value, 26);

    Import("Filter 1: ON PK Fc 100 Hz Gain 1 dB Q 1\n"
           "Filter 2: ON PK Fc 200 Hz Gain 1 dB Q 1\n"
           "Filter 3: OFF PK Fc 1000 Hz Gain 2.0 dB Q 1.00\n");
    EXPECT_EQ(form->MusQEdit3->text(), QStringLiteral("1.00"));
    ClickOn(form->MusBypassCheck3);
    EXPECT_EQ(form->MusQEdit3->text(), QStringLiteral("1.00"));
    EXPECT_EQ(P(1, 30 + 3), P(1, 30 + 4));
}

// ---- 3. The readout follows a whole refresh ----

TEST_F(ScreenIsUnit, ReadoutFollowsAnImportedBand) {
    typeInto(form->MusGainEdit5, "3");
    form->Timer1Timer(form->Timer1);
    ASSERT_TRUE(form->EQlabel->text().startsWith(QStringLiteral("3.0dB")));
    Import("Filter 1: ON PK Fc 21.7 Hz Gain 0 dB Q 1\nFilter 2: ON PK Fc 46.8 Hz Gain 0 dB Q 1\n"
           "Filter 3: ON PK Fc 101 Hz Gain 0 dB Q 1\nFilter 4: ON PK Fc 218 Hz Gain 0 dB Q 1\n"
           "Filter 5: ON PK Fc 472 Hz Gain 12 dB Q 1\n");
    EXPECT_TRUE(form->EQlabel->text().startsWith(QStringLiteral("12.0dB")))
        << form->EQlabel->text().toStdString();
    EXPECT_EQ(form->EQlabel->y(), form->EP5->y() + form->EP5->height());
}

// ---- 4. Questions that overwrite the unit default to No ----

TEST_F(ScreenIsUnit, EnterAndEscapeAnswerNoWhereYesOverwritesTheUnit) {
    ConnectUnit();
    for (QPushButton* b : {form->DeviceSaveBtn, form->DeviceLoadBtn, form->DeviceResetBtn,
                           form->ResetBtn, form->RmsResetBtn}) {
        dialogs->records.clear();
        b->click(); // answered No by the script
        ASSERT_EQ(dialogs->records.size(), 1u) << b->objectName().toStdString();
        EXPECT_EQ(dialogs->records[0].answer, DefaultAnswer::No) << b->objectName().toStdString();
    }

    const auto answer = [](DefaultAnswer a, Qt::Key key) {
        std::unique_ptr<QMessageBox> box(
            MakeQuestionBox(nullptr, QStringLiteral("Confirm"), QStringLiteral("恢复出厂参数?"), a));
        box->show();
        QApplication::setActiveWindow(box.get());
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : box.get(), key);
        return box->standardButton(box->clickedButton());
    };
    EXPECT_EQ(answer(DefaultAnswer::No, Qt::Key_Return), QMessageBox::No);
    EXPECT_EQ(answer(DefaultAnswer::No, Qt::Key_Escape), QMessageBox::No);
    EXPECT_EQ(answer(DefaultAnswer::Yes, Qt::Key_Escape), QMessageBox::No);
    EXPECT_EQ(answer(DefaultAnswer::Yes, Qt::Key_Return), QMessageBox::Yes);
}

// ---- 6. A curve beyond the scale is marked at the edge it leaves ----

TEST_F(ScreenIsUnit, ACurveAboveTheTopIsMarkedThereAndNowhereElse) {
    const QImage& pic = form->Image1->Picture;
    const auto red = [&](int y) {
        int n = 0;
        for (int x = 0; x < pic.width(); ++x) {
            const QColor c = pic.pixelColor(x, y);
            n += c.red() > 180 && c.green() < 60 && c.blue() < 60;
        }
        return n;
    };
    EXPECT_EQ(red(1), 0);
    typeInto(form->MusGainEdit5, "12");
    form->Timer1Timer(form->Timer1);
    EXPECT_EQ(red(1), 0); // +12 dB touches the top, stays on it
    typeInto(form->MusGainEdit4, "4"); // 218 Hz next to 472 Hz: 15.7 dB
    form->Timer1Timer(form->Timer1);
    EXPECT_GT(red(1), 10);
    EXPECT_EQ(red(pic.height() - 2), 0);
}
