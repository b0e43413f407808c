// The screen shows what the unit holds: nothing changes while a transfer or a
// memory command's wait runs, the Q field follows the band's slot, a curve
// beyond the scale is marked, questions that overwrite the unit default to No.
#include "app/Dialogs.h"
#include "eq/PeqReviewDialog.h"
#include "params/ParamImage.h"
#include "presets/StatusBox.h"
#include "tests/support/LinkFixture.h"

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

namespace {

constexpr int Gain7 = 20 + 5 * 6 + 2; // module 1

class ScreenIsUnit : public LinkFixture {
protected:
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : form, key, mods);
    }
    void StepUntil(const std::function<bool()>& done) {
        for (int i = 0; i < 4000 && !done(); ++i)
            Step(25);
    }
    // Keys, mouse and wheel on the band table and the graph, and Ctrl+Z.
    void TryEverything() {
        typeInto(form->MusGainEdit7, "6");
        click(form->MusBypassCheck7);
        const QPoint h = form->EP7->mapTo(form, form->EP7->rect().center());
        QTest::mousePress(form->windowHandle(), Qt::LeftButton, {}, h);
        QTest::mouseMove(form->windowHandle(), h + QPoint(40, -40));
        QTest::mouseRelease(form->windowHandle(), Qt::LeftButton, {}, h + QPoint(40, -40));
        form->Timer1Timer(form->Timer1);
        QWheelEvent wheel({4, 4}, {}, {}, {0, 120}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
        qApp->notify(form->childAt(form->MusGainEdit7->mapTo(form, QPoint(4, 4))), &wheel);
        Key(Qt::Key_Z, Qt::ControlModifier);
    }
    void Import(const QByteArray& text) {
        QFile f(dir.filePath(QStringLiteral("f.txt")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(text) == text.size());
        f.close();
        SetPeqReviewRunner([](PeqReviewDialog&) { return int(QDialog::Accepted); });
        dialogs->fileNames = {f.fileName()};
        click(form->PeqImportBtn);
        SetPeqReviewRunner(nullptr);
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(ScreenIsUnit, NothingChangesDuringARecallAndItsReadBack) {
    ConnectUnit();
    typeInto(form->MusGainEdit7, "3"); // sent, and a step to undo
    unit->Misbehave().replyDelayMs = 300;
    dialogs->answers = {true};
    click(form->DeviceLoadBtn);
    ClearSent();
    TryEverything(); // while the recall is awaited
    StepUntil([&] { return form9->Session->Timer2->isActive() && form4->Percent >= 67; });
    EXPECT_EQ(form4->HoldLabel->text(), QStringLiteral("完成之前不能更改参数。"));
    EXPECT_FALSE(form->UndoAction->isEnabled());
    TryEverything(); // during the read back
    StepUntil([&] { return form9->Session->LinkState == Online; });
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(unit->Param(1, Gain7), 120); // its stored set
    EXPECT_EQ(D(1, Gain7), 120);
    EXPECT_EQ(form->MusGainEdit7->text(), QStringLiteral("0.0dB"));
    EXPECT_TRUE(form->MusGainEdit7->isEnabled() && form->EP7->isEnabled());
}

TEST_F(ScreenIsUnit, TypingLeftInAnEditWhenTheConnectReadStartsIsDropped) {
    clickInto(form->MusGainEdit7);
    QTest::keyClicks(QApplication::focusWidget(), "6");
    StartConsole();
    StepUntil([&] { return form9->Session->TransferStep >= 2; }); // module 1 read
    Key(Qt::Key_Return);
    StepUntil([&] { return form9->Session->LinkState == Online; });
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(D(1, Gain7), 120);
    EXPECT_EQ(form->MusGainEdit7->text(), QStringLiteral("0.0dB"));
}

TEST_F(ScreenIsUnit, ASaveLostWithTheLinkFreesTheControlsAndIsNeverReportedSaved) {
    ConnectUnit();
    unit->Misbehave().silent = true;
    dialogs->answers = {true};
    click(form->DeviceSaveBtn);
    StepUntil([&] { return !form9->Session->HoldTimer->isActive(); });
    typeInto(form->MusGainEdit7, "6"); // off line: kept until the next connect
    EXPECT_EQ(Sent().size(), 2u);      // the save, the gain
    unit->Behave();
    click(form->LinkBtn);
    StepUntil([&] { return form9->Session->LinkState == Online; });
    Step(1000);
    EXPECT_EQ(dialogs->texts(DialogRecord::Notify), QStringList{QStringLiteral("已断开连接!")});
    EXPECT_EQ(form->MusGainEdit7->text(), QStringLiteral("0.0dB"));
}

TEST_F(ScreenIsUnit, QFieldFollowsTheBypassAndAnImportedOffBand) {
    click(form->MusBypassCheck2); // peaking: second Q slot 0.71 while bypassed
    EXPECT_EQ(form->MusQEdit2->text(), QStringLiteral("0.71"));
    click(form->MusBypassCheck2);
    EXPECT_EQ(form->MusQEdit2->text(), QStringLiteral("1.00"));
    Import(
        "Filter 1: ON PK Fc 100 Hz Gain 1 dB Q 1\nFilter 2: OFF PK Fc 1000 Hz Gain 2 dB Q 1.26\n");
    EXPECT_EQ(form->MusQEdit2->text(), QStringLiteral("1.26"));
    click(form->MusBypassCheck2);
    EXPECT_EQ(form->MusQEdit2->text(), QStringLiteral("1.26"));
}

TEST_F(ScreenIsUnit, EnterAndEscapeAnswerNoWhereYesOverwritesTheUnit) {
    ConnectUnit();
    for (QPushButton* b : {form->DeviceSaveBtn, form->DeviceLoadBtn, form->DeviceResetBtn,
                           form->ResetBtn, form->RmsResetBtn})
        b->click();
    ASSERT_EQ(dialogs->records.size(), 5u);
    for (const DialogRecord& r : dialogs->records)
        EXPECT_EQ(r.answer, DefaultAnswer::No) << r.text.toStdString();
    const auto answer = [](DefaultAnswer a, Qt::Key key) {
        std::unique_ptr<QMessageBox> box(MakeQuestionBox(nullptr, "Confirm", "恢复出厂参数?", a));
        box->show();
        QApplication::setActiveWindow(box.get());
        QTest::keyClick(QApplication::focusWidget(), key);
        return box->standardButton(box->clickedButton());
    };
    EXPECT_EQ(answer(DefaultAnswer::No, Qt::Key_Return), QMessageBox::No);
    EXPECT_EQ(answer(DefaultAnswer::Yes, Qt::Key_Escape), QMessageBox::No);
    EXPECT_EQ(answer(DefaultAnswer::Yes, Qt::Key_Return), QMessageBox::Yes);
}

TEST_F(ScreenIsUnit, ACurveAboveTheTopIsMarkedThere) {
    const auto redAt = [&](int y) {
        int n = 0;
        for (int x = 0; x < form->Image1->Picture.width(); ++x)
            n += form->Image1->Picture.pixelColor(x, y) == QColor(200, 20, 20);
        return n;
    };
    typeInto(form->MusGainEdit5, "12");
    form->Timer1Timer(form->Timer1);
    EXPECT_EQ(redAt(1), 0); // on the edge, not beyond it
    typeInto(form->MusGainEdit4, "4");
    form->Timer1Timer(form->Timer1);
    EXPECT_GT(redAt(1), 10);
    EXPECT_EQ(redAt(form->Image1->Picture.height() - 2), 0);
}
