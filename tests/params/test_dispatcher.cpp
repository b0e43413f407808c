// Parameter dispatch driven through the real main window: typed text, keys,
// type boxes, bypass boxes, track bars and buttons; checked against the
// texts, both images and what is handed over for sending.
#include "app/WindowState.h"
#include "params/ControlProps.h"
#include "params/DispatchState.h"
#include "params/Dispatcher.h"
#include "params/ParamImage.h"
#include "tests/support/AppFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

namespace {

constexpr int Band1 = 0x114; // first slot of main band 1
constexpr int Band1Freq = Band1 + 1;
constexpr int Band1Gain = Band1 + 2;
constexpr int Band1QPeak = Band1 + 3;
constexpr int Band1QOther = Band1 + 4;

class Dispatcher : public AppFixture {};

// ---- Frequency edits ----

TEST_F(Dispatcher, TypedFrequencyGoesToTheNearestTableEntry) {
    typeInto(form->MusFreEdit1, "1010");
    EXPECT_EQ(form->MusFreEdit1->text(), "1000.0");
    EXPECT_EQ(P(1, 21), 204);
    EXPECT_EQ(D(1, 21), 204);
    EXPECT_EQ(Sent(), (std::vector<SentWrite>{{Band1Freq, 204, false}}));

    ClearSent();
    typeInto(form->MusFreEdit1, "20300");
    EXPECT_EQ(form->MusFreEdit1->text(), "20600.0");
    EXPECT_EQ(Sent(), (std::vector<SentWrite>{{Band1Freq, 361, false}}));

    ClearSent();
    typeInto(form->MusFreEdit1, "5");
    EXPECT_EQ(form->MusFreEdit1->text(), "19.7");
    EXPECT_EQ(Sent(), (std::vector<SentWrite>{{Band1Freq, 0, false}}));
}

TEST_F(Dispatcher, UpArrowStepsOneEntryAndSendsTheNewIndex) {
    typeInto(form->MusFreEdit1, "1000");
    ASSERT_EQ(form->MusFreEdit1->text(), "1000.0");
    ClearSent();
    pressKey(form->MusFreEdit1, Qt::Key_Up);
    EXPECT_EQ(form->MusFreEdit1->text(), "1020.0");
    EXPECT_EQ(Sent(), (std::vector<SentWrite>{{Band1Freq, 205, false}}));
    ClearSent();
    pressKey(form->MusFreEdit1, Qt::Key_Down);
    pressKey(form->MusFreEdit1, Qt::Key_Left);
    EXPECT_EQ(form->MusFreEdit1->text(), "981.0");
    EXPECT_EQ(Sent(), (std::vector<SentWrite>{{Band1Freq, 204, false}, {Band1Freq, 203, false}}));
}

TEST_F(Dispatcher, StepsStopAtTheEndsOfTheTable) {
    typeInto(form->MusFreEdit1, "20600");
    ClearSent();
    pressKey(form->MusFreEdit1, Qt::Key_Right);
    EXPECT_EQ(form->MusFreEdit1->text(), "20600.0");
    EXPECT_EQ(Sent(), (std::vector<SentWrite>{{Band1Freq, 361, false}}));
}

// ---- Gain edits ----

TEST_F(Dispatcher, GainIsRoundedAndHeldToItsRange) {
    typeInto(form->MusGainEdit1, "+3dB"); // '+', 'd' and 'B' are not taken
    EXPECT_EQ(form->MusGainEdit1->text(), "3.0dB");
    EXPECT_EQ(P(1, 22), 135);

    typeInto(form->MusGainEdit1, "20");
    EXPECT_EQ(form->MusGainEdit1->text(), "12.0dB");
    EXPECT_EQ(P(1, 22), 180);

    ClearSent();
    typeInto(form->MusGainEdit1, "-30");
    EXPECT_EQ(form->MusGainEdit1->text(), "-24.0dB");
    EXPECT_EQ(P(1, 22), 0);
    EXPECT_EQ(Sent(), (std::vector<SentWrite>{{Band1Gain, 0, false}}));
}

TEST_F(Dispatcher, TextWithoutANumberRestoresTheLastGoodText) {
    clickInto(form->MusGainEdit1);
    const QString before = form->MusGainEdit1->text();
    ClearSent();
    form->MusGainEdit1->setText("dB");
    pressKey(form->MusGainEdit1, Qt::Key_Return);
    EXPECT_EQ(form->MusGainEdit1->text(), before);
    form->MusGainEdit1->setText("1.2.3");
    CommitEdit(StepNone);
    EXPECT_EQ(form->MusGainEdit1->text(), before);
    EXPECT_TRUE(Sent().empty());
}

// ---- Q edits and the Q slot of the band type ----

TEST_F(Dispatcher, QOnAPeakingBandUsesTheFirstQSlotAndTheLongTable) {
    typeInto(form->MusQEdit1, "2");
    EXPECT_EQ(form->MusQEdit1->text(), "2.00");
    EXPECT_EQ(P(1, 23), 37);
    EXPECT_EQ(Sent(), (std::vector<SentWrite>{{Band1QPeak, 37, false}}));

    ClearSent();
    typeInto(form->MusQEdit1, "200"); // beyond the table: 110, held at 109
    EXPECT_EQ(form->MusQEdit1->text(), "128.00");
    EXPECT_EQ(Sent(), (std::vector<SentWrite>{{Band1QPeak, 109, false}}));
}

TEST_F(Dispatcher, QOnAShelfUsesTheSecondSlotLimitedTo31) {
    selectCombo(form->MusModeBox1, 1);
    EXPECT_EQ(Sent(), (std::vector<SentWrite>{{Band1, 1, false}}));
    // The type change shows the shelf's own Q and makes it the edit in use.
    EXPECT_EQ(form->MusQEdit1->text(), "0.71");
    EXPECT_EQ(Dispatch.CurrentEdit, form->MusQEdit1);

    ClearSent();
    typeInto(form->MusQEdit1, "2");
    EXPECT_EQ(form->MusQEdit1->text(), "1.40");
    EXPECT_EQ(P(1, 24), 31);
    EXPECT_EQ(P(1, 23), 25); // the peaking Q is left alone
    EXPECT_EQ(Sent(), (std::vector<SentWrite>{{Band1QOther, 31, false}}));

    ClearSent();
    typeInto(form->MusQEdit1, "200");
    EXPECT_EQ(Sent(), (std::vector<SentWrite>{{Band1QOther, 31, false}}));
}

TEST_F(Dispatcher, QOfABypassedPeakingBandUsesTheSecondSlot) {
    click(form->MusBypassCheck1);
    ASSERT_EQ(P(1, 20), 10);
    ClearSent();
    typeInto(form->MusQEdit1, "2");
    EXPECT_EQ(form->MusQEdit1->text(), "1.40");
    EXPECT_EQ(Sent(), (std::vector<SentWrite>{{Band1QOther, 31, false}}));
}

TEST_F(Dispatcher, BackToPeakingShowsThePeakingQ) {
    typeInto(form->MusQEdit1, "4");
    selectCombo(form->MusModeBox1, 2);
    EXPECT_EQ(form->MusQEdit1->text(), "0.71");
    ClearSent();
    selectCombo(form->MusModeBox1, 0);
    EXPECT_EQ(form->MusQEdit1->text(), "4.00");
    EXPECT_EQ(Sent(), (std::vector<SentWrite>{{Band1, 0, false}}));
    EXPECT_EQ(Window.LastCurveWrite, (CurveWrite{Band1, 0}));
}

TEST_F(Dispatcher, DisplayedQBeyondTheTableIsLoweredInBothImages) {
    Params.DeviceImage[1][23] = 150;
    ClearSent();
    RefreshScreen();
    EXPECT_EQ(form->MusQEdit1->text(), "128.00");
    EXPECT_EQ(P(1, 23), 109);
    EXPECT_EQ(D(1, 23), 109);
    EXPECT_TRUE(Sent().empty());
}

// ---- Bypass boxes ----

TEST_F(Dispatcher, BypassAddsTenToTheType) {
    selectCombo(form->MusModeBox3, 3);
    ClearSent();
    click(form->MusBypassCheck3);
    click(form->MusBypassCheck3);
    EXPECT_EQ(Sent(), (std::vector<SentWrite>{{0x11E, 13, false}, {0x11E, 3, false}}));

    ClearSent();
    selectCombo(form->MusModeBox3, 2);
    click(form->MusBypassCheck3);
    EXPECT_EQ(Sent(), (std::vector<SentWrite>{{0x11E, 2, false}, {0x11E, 12, false}}));
    // A type change keeps the bypass.
    ClearSent();
    selectCombo(form->MusModeBox3, 1);
    EXPECT_EQ(Sent(), (std::vector<SentWrite>{{0x11E, 11, false}}));
}

TEST_F(Dispatcher, RefreshShowsTypeAndBypassFromOneSlot) {
    Params.DeviceImage[1][20] = 12;
    Params.DeviceImage[1][25] = 2;
    RefreshScreen();
    EXPECT_EQ(form->MusModeBox1->currentText(), "高棚架");
    EXPECT_TRUE(form->MusBypassCheck1->isChecked());
    EXPECT_EQ(form->MusModeBox2->currentText(), "高棚架");
    EXPECT_FALSE(form->MusBypassCheck2->isChecked());
}

// ---- Quiet click, quiet refresh ----

TEST_F(Dispatcher, ClickingIntoAnEditSendsNothingEvenWhenReformatted) {
    form->MusFreEdit2->setText("99999");
    ClearSent();
    clickInto(form->MusFreEdit2);
    EXPECT_EQ(form->MusFreEdit2->text(), "20600.0");
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(P(1, 26), 361); // the images follow without a send
    EXPECT_EQ(Dispatch.CurrentEdit, form->MusFreEdit2);
    EXPECT_EQ(Dispatch.WheelArmed, 1);
    EXPECT_EQ(Dispatch.SendSuppressed, 0);
}

TEST_F(Dispatcher, RefreshSendsNothingWhileMovingBarsAndBoxes) {
    Params.DeviceImage[1][0] = 77;
    Params.DeviceImage[1][5] = 40;
    Params.DeviceImage[2][25] = 1;
    Params.DeviceImage[1][20] = 13;
    ClearSent();
    RefreshScreen();
    EXPECT_EQ(form->OutLDelayBar->value(), 77);
    EXPECT_EQ(form->OutLDelayPane->text(), "7.7ms");
    EXPECT_EQ(form->MusRmsAttackPane->text(), "40.0ms");
    EXPECT_EQ(form->AuxOutGainPane->text(), "-6dB");
    EXPECT_TRUE(form->MusBypassCheck1->isChecked());
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(Dispatch.SendSuppressed, 0);
    EXPECT_EQ(Dispatch.ScreenBusy, 0);
}

TEST_F(Dispatcher, RefreshLeavesTheEditInUseAlone) {
    clickInto(form->MusGainEdit4);
    RefreshScreen();
    EXPECT_EQ(Dispatch.CurrentEdit, form->MusGainEdit4);
    ClearSent();
    pressKey(form->MusGainEdit4, Qt::Key_Up);
    EXPECT_EQ(Sent(), (std::vector<SentWrite>{{0x125, 121, false}}));
}

TEST_F(Dispatcher, RefreshDoesNotRecordItsOwnChangesForTheCurve) {
    Window.DrawnCurveWrite = {0x115, 7};
    typeInto(form->MusGainEdit2, "3");
    ASSERT_EQ(Window.LastCurveWrite, (CurveWrite{0x11B, 135}));
    Params.DeviceImage[1][21] = 100;
    RefreshScreen();
    EXPECT_EQ(Window.LastCurveWrite, Window.DrawnCurveWrite);
}

// ---- Track bars and panes ----

TEST_F(Dispatcher, TrackBarWritesItsPaneAndSends) {
    clickInto(form->MusFreEdit1);
    ClearSent();
    form->OutLDelayBar->setValue(25);
    EXPECT_EQ(form->OutLDelayPane->text(), "2.5ms");
    EXPECT_EQ(Sent(), (std::vector<SentWrite>{{0x100, 25, false}}));
    EXPECT_EQ(Dispatch.CurrentEdit, form->Example);
    EXPECT_EQ(Dispatch.WheelArmed, 0);
}

TEST_F(Dispatcher, StartLevelIsHeldAtTheCutOffAndPulledDownWithIt) {
    form->DEQMaxLevelBar1->setValue(20);
    ClearSent();
    form->DEQRmsLevelBar1->setValue(30);
    EXPECT_EQ(form->DEQRmsLevelBar1->value(), 20);
    EXPECT_EQ(form->DEQRmsLevelPane1->text(), "-16dBu");
    EXPECT_EQ(Sent(), (std::vector<SentWrite>{{0x208, 20, false}}));

    ClearSent();
    form->DEQMaxLevelBar1->setValue(10);
    EXPECT_EQ(form->DEQRmsLevelBar1->value(), 10);
    EXPECT_EQ(form->DEQMaxLevelPane1->text(), "-20dBu");
    EXPECT_EQ(Sent(), (std::vector<SentWrite>{{0x208, 10, false}, {0x209, 10, false}}));
    EXPECT_EQ(P(2, 8), 10);
    EXPECT_EQ(D(2, 9), 10);
}

TEST_F(Dispatcher, VolumeBarShowsTenthsAndNeverSends) {
    ClearSent();
    form->SysMusNormalVolBar->setValue(505);
    EXPECT_EQ(form->SysMusNormalVolPane->text(), "50.5");
    form->SysMusNormalVolBar->setValue(998);
    EXPECT_EQ(form->SysMusNormalVolPane->text(), "100.0");
    EXPECT_TRUE(Calls().empty());
}

// ---- Buttons and radios ----

TEST_F(Dispatcher, PolarityButtonsToggleAndSend) {
    // Start value 2 counts as inverted.
    EXPECT_EQ(form->OutLPhaseBtn->text(), "-");
    click(form->OutLPhaseBtn);
    EXPECT_EQ(form->OutLPhaseBtn->text(), "+");
    EXPECT_EQ(Hint(form->OutLPhaseBtn), "0");
    click(form->OutLPhaseBtn);
    EXPECT_EQ(form->OutLPhaseBtn->text(), "-");
    click(form->SubRPhaseBtn);
    EXPECT_EQ(Sent(),
              (std::vector<SentWrite>{{0x103, 0, false}, {0x103, 1, false}, {0x21C, 0, false}}));
}

TEST_F(Dispatcher, PolaritySlotHoldingFiveShowsMinus) {
    Params.DeviceImage[1][7] = 5;
    Params.DeviceImage[1][3] = 0;
    RefreshScreen();
    EXPECT_EQ(form->OutRPhaseBtn->text(), "-");
    EXPECT_EQ(Hint(form->OutRPhaseBtn), "1");
    EXPECT_EQ(form->OutLPhaseBtn->text(), "+");
}

TEST_F(Dispatcher, EqPassButtonTogglesTheBannerAndState) {
    // Start value 2: passed.
    EXPECT_EQ(Hint(form->MusEQAllpassBtn), "1");
    click(form->MusEQAllpassBtn);
    EXPECT_EQ(Hint(form->MusEQAllpassBtn), "0");
    EXPECT_FALSE(form->MusEQAllpassBtn->isChecked());
    EXPECT_TRUE(form->EQPassLabel->isHidden());
    EXPECT_EQ(Dispatch.PassState[1], 0);
    click(form->MusEQAllpassBtn);
    EXPECT_TRUE(form->MusEQAllpassBtn->isChecked());
    EXPECT_FALSE(form->EQPassLabel->isHidden());
    EXPECT_EQ(Dispatch.PassState[1], 1);
    EXPECT_EQ(Sent(), (std::vector<SentWrite>{{0x113, 0, false}, {0x113, 1, false}}));
}

TEST_F(Dispatcher, DynamicEqPassButtonToggles) {
    click(form->DEQALLPASSBtn1);
    click(form->DEQALLPASSBtn1);
    EXPECT_EQ(Sent(), (std::vector<SentWrite>{{0x201, 0, false}, {0x201, 1, false}}));
}

TEST_F(Dispatcher, InputRadiosSetTheInputBox) {
    click(form->SysInputRadio2);
    EXPECT_EQ(form->InputBox->currentIndex(), 1);
    click(form->SysInputRadio1);
    EXPECT_EQ(Sent(), (std::vector<SentWrite>{{0x00A, 1, false}, {0x00A, 0, false}}));
    Params.DeviceImage[0][10] = 2;
    RefreshScreen();
    EXPECT_TRUE(form->SysInputRadio3->isChecked());
}

TEST_F(Dispatcher, SwitchBoxesSendTheirItem) {
    selectCombo(form->RMSBox, 1);
    selectCombo(form->SubSteroBox, 0);
    EXPECT_EQ(Sent(), (std::vector<SentWrite>{{0x104, 1, false}, {0x21A, 0, false}}));
}

// ---- Resets ----

TEST_F(Dispatcher, EqResetOnYesHandsOverTheDefaultBands) {
    typeInto(form->MusFreEdit5, "101");
    selectCombo(form->MusModeBox5, 2);
    form->ResetBtn->setFocus(); // leaving the edit commits it once more
    ClearSent();
    dialogs->answers = {true};
    click(form->ResetBtn);
    ASSERT_EQ(dialogs->records.size(), 1u);
    EXPECT_EQ(dialogs->records[0].caption, "Confirm");
    EXPECT_EQ(dialogs->records[0].text, "重置所有EQ参数?");
    const std::vector<SentWrite> sent = Sent();
    ASSERT_EQ(sent.size(), 45u);
    EXPECT_EQ(sent[0], (SentWrite{0x114, 0, false}));
    EXPECT_EQ(sent[1], (SentWrite{0x115, 5, false}));
    EXPECT_EQ(sent[5 * 4 + 1], (SentWrite{0x115 + 20, 165, false}));
    EXPECT_EQ(sent[44], (SentWrite{0x140, 19, false}));
    EXPECT_EQ(form->MusFreEdit5->text(), "472.0");
    EXPECT_EQ(form->MusModeBox5->currentIndex(), 0);
}

TEST_F(Dispatcher, EqResetOnNoChangesNothing) {
    typeInto(form->MusFreEdit5, "101");
    form->ResetBtn->setFocus();
    ClearSent();
    dialogs->answers = {false};
    click(form->ResetBtn);
    EXPECT_TRUE(Calls().empty());
    EXPECT_EQ(form->MusFreEdit5->text(), "101.0");
}

TEST_F(Dispatcher, EqResetOnTheAuxiliaryTabResetsItsTwoBands) {
    click(form->FormTabBtn2);
    ClearSent();
    dialogs->answers = {true};
    click(form->ResetBtn);
    const std::vector<SentWrite> sent = Sent();
    ASSERT_EQ(sent.size(), 10u);
    EXPECT_EQ(sent[6], (SentWrite{0x227, 185, false}));
    EXPECT_EQ(form->AUXFreEdit2->text(), "694.0");
}

TEST_F(Dispatcher, CompressorResetOnNoChangesNothing) {
    dialogs->answers = {false};
    click(form->RmsResetBtn);
    ASSERT_EQ(dialogs->records.size(), 1u);
    EXPECT_EQ(dialogs->records[0].text, "确定要复位动态压缩曲线?");
    EXPECT_TRUE(Calls().empty());
}

// ---- Addresses ----

TEST_F(Dispatcher, BandPositionsFollowTheModuleOnTheGraph) {
    EXPECT_EQ(BandOfAddress(0x10F), 9 * 256);
    EXPECT_EQ(BandOfAddress(0x110), 10 * 256);
    EXPECT_EQ(BandOfAddress(0x115 + 5 * 8), 8 * 256 + 1);
    EXPECT_EQ(BandOfAddress(0x113), NoBand);
    EXPECT_EQ(BandOfAddress(0x21E), NoBand); // module 2 not shown
    click(form->FormTabBtn2);
    EXPECT_EQ(BandOfAddress(0x10F), NoBand);
    EXPECT_EQ(BandOfAddress(0x21E), 2 * 256);
    EXPECT_EQ(BandOfAddress(0x23F), 6 * 256);
    EXPECT_EQ(BandOfAddress(0x240), NoBand);
    EXPECT_EQ(BandOfAddress(0x22B + 3), 2 * 256 + 3);
}

TEST_F(Dispatcher, SelectedBandFollowsTheEditedBand) {
    typeInto(form->MusGainEdit7, "3");
    EXPECT_EQ(Dispatch.SelectedBand[1], 6);
    typeInto(form->MusHighPassFre, "100");
    EXPECT_EQ(Dispatch.SelectedBand[1], 9);
    EXPECT_EQ(Window.LastCurveWrite, (CurveWrite{0x10F, P(1, 15)}));
}

TEST_F(Dispatcher, ChangesLandInBothImagesWhileDisconnected) {
    typeInto(form->AUXGainEdit1, "6");
    EXPECT_EQ(P(2, 35), 150);
    EXPECT_EQ(D(2, 35), 150);
    form->AuxOutGainBar->setValue(6);
    EXPECT_EQ(P(2, 25), 6);
    EXPECT_EQ(D(2, 25), 6);
    EXPECT_EQ(form->AuxOutGainPane->text(), "9dB");
}

} // namespace
