// Device-memory buttons, the status box, the status codes, the meters and the
// Bluetooth text packets.
#include "tests/support/LinkFixture.h"

#include "app/BluetoothButtons.h"
#include "app/MainWindow.h"
#include "app/WindowState.h"
#include "link/LinkApi.h"
#include "params/ControlProps.h"
#include "params/ParamImage.h"
#include "params/SendToUnit.h"
#include "presets/DeviceMemory.h"
#include "presets/StatusBox.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <tuple>

namespace {

std::vector<EmulatedDevice::Received> To(const std::vector<EmulatedDevice::Received>& frames,
                                         int address) {
    std::vector<EmulatedDevice::Received> out;
    for (const auto& r : frames)
        if (r.bytes[0] == 0x01 && (r.bytes[4] << 8 | r.bytes[5]) == address) out.push_back(r);
    return out;
}

} // namespace

class MemoryTest : public LinkFixture {
protected:
    void SetUp() override {
        LinkFixture::SetUp();
        ConnectUnit();
        ASSERT_EQ(form9->Session->LinkState, Online);
        ClearFrames();
    }
};

TEST_F(MemoryTest, SaveAsksThenWaitsWithTheStatusBoxAndReportsSuccess) {
    unit->Misbehave().replyDelayMs = 200;
    dialogs->answers = {true};
    QTest::mouseClick(form1->DeviceSaveBtn, Qt::LeftButton);
    ASSERT_EQ(dialogs->records.size(), 1u);
    EXPECT_EQ(dialogs->records[0].kind, DialogRecord::Ask);
    EXPECT_EQ(dialogs->records[0].caption, QStringLiteral("Confirm"));
    EXPECT_EQ(dialogs->records[0].text, QStringLiteral("保存当前数据?"));
    const auto sent = To(Frames(), 13);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].bytes[6] << 8 | sent[0].bytes[7], 0);
    EXPECT_EQ(form1->LinkLabel->text(), QStringLiteral("保存中..."));
    EXPECT_EQ(Hint(form1->LinkLabel), QStringLiteral("Saving..."));
    EXPECT_EQ(form9->Session->LinkState, Offline);
    EXPECT_EQ(form9->Session->PendingOp, 3);

    Step(50);
    EXPECT_TRUE(form4->isVisible());
    EXPECT_EQ(form4->LinkLabel->text(), QStringLiteral("状态：保存中..."));
    EXPECT_EQ(form4->Percent, 4);
    EXPECT_TRUE(dialogs->texts(DialogRecord::Notify).isEmpty());

    Step(200);
    EXPECT_EQ(dialogs->texts(DialogRecord::Notify), QStringList{QStringLiteral("保存成功!")});
    EXPECT_EQ(dialogs->records.back().caption, QStringLiteral("提示"));
    EXPECT_EQ(form9->Session->LinkState, Online);
    EXPECT_EQ(form1->LinkLabel->text(), QStringLiteral("设备已连接"));
    EXPECT_FALSE(form4->isVisible());
    EXPECT_EQ(unit->StoreCount(), 1);
    EXPECT_EQ(Params.ParamImage[0][13], 0);
}

TEST_F(MemoryTest, RecallShowsWaitingThenReadsModulesOneToThreeBack) {
    unit->Stored() = unit->Live();
    unit->Stored()[1][0] = 33;
    dialogs->answers = {true};
    DeviceSaveBtnClick(form1->DeviceLoadBtn);
    EXPECT_EQ(dialogs->records.at(0).text, QStringLiteral("恢复调整前参数?"));
    const auto sent = To(Frames(), 12);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].bytes[6] << 8 | sent[0].bytes[7], 0);
    EXPECT_EQ(form1->LinkLabel->text(), QStringLiteral("调用等待中..."));
    EXPECT_EQ(form9->Session->LinkState, Offline);
    EXPECT_TRUE(form4->isVisible());
    EXPECT_EQ(form4->LinkLabel->text(), QStringLiteral("状态：调用等待中..."));

    ClearFrames();
    for (int i = 0; i < 200 && form9->Session->LinkState != Online; ++i)
        Step(25);
    ASSERT_EQ(form9->Session->LinkState, Online);
    std::vector<int> reads;
    for (const auto& r : To(Frames(), 57))
        reads.push_back(r.bytes[6] << 8 | r.bytes[7]);
    ASSERT_FALSE(reads.empty());
    EXPECT_EQ(reads.front(), 0x100);
    EXPECT_EQ(reads.back(), 0x300);
    for (int a : reads)
        EXPECT_GE(a, 0x100);
    EXPECT_EQ(form1->OutLDelayBar->value(), 33);
    EXPECT_EQ(unit->RecallCount(), 1);
    EXPECT_TRUE(dialogs->texts(DialogRecord::Notify).isEmpty());
}

TEST_F(MemoryTest, FactoryResetSendsAddress12WithValue85) {
    dialogs->answers = {true};
    DeviceSaveBtnClick(form1->DeviceResetBtn);
    EXPECT_EQ(dialogs->records.at(0).text, QStringLiteral("恢复出厂参数?"));
    const auto sent = To(Frames(), 12);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].bytes[6] << 8 | sent[0].bytes[7], 85);
}

TEST_F(MemoryTest, EnglishQuestionsKeepTheBlankBeforeTheQuestionMark) {
    Window.LanguageFlag = 0;
    DeviceSaveBtnClick(form1->DeviceResetBtn);
    DeviceSaveBtnClick(form1->DeviceLoadBtn);
    DeviceSaveBtnClick(form1->DeviceSaveBtn);
    EXPECT_EQ(dialogs->texts(DialogRecord::Ask),
              (QStringList{QStringLiteral("Restore Factory settings ?"),
                           QStringLiteral("Restore settings ?"), QStringLiteral("Save Data ?")}));
}

TEST_F(MemoryTest, AnsweringNoSendsNothing) {
    const QString label = form1->LinkLabel->text();
    dialogs->answers = {false, false, false};
    DeviceSaveBtnClick(form1->DeviceSaveBtn);
    DeviceSaveBtnClick(form1->DeviceLoadBtn);
    DeviceSaveBtnClick(form1->DeviceResetBtn);
    EXPECT_EQ(dialogs->records.size(), 3u);
    EXPECT_TRUE(Frames().empty());
    EXPECT_EQ(form1->LinkLabel->text(), label);
    EXPECT_EQ(form9->Session->LinkState, Online);
    EXPECT_EQ(form9->Session->PendingOp, 0);
}

TEST_F(MemoryTest, ButtonsDoNothingWhileNotOnline) {
    form9->RzButton14Click(nullptr);
    dialogs->answers = {true, true, true};
    DeviceSaveBtnClick(form1->DeviceSaveBtn);
    DeviceSaveBtnClick(form1->DeviceLoadBtn);
    DeviceSaveBtnClick(form1->DeviceResetBtn);
    EXPECT_TRUE(dialogs->records.empty());
    EXPECT_TRUE(Frames().empty());
}

TEST_F(MemoryTest, UnansweredSaveEndsInLostLinkAfter51HoldPeriods) {
    dialogs->answers = {true};
    unit->Misbehave().silent = true;
    DeviceSaveBtnClick(form1->DeviceSaveBtn);
    // 51 periods of 50 ticks: 63.75 s, not one tick more or less.
    Step(63750 - 25);
    EXPECT_TRUE(dialogs->texts(DialogRecord::Notify).isEmpty());
    EXPECT_TRUE(form4->isVisible());
    Step(25);
    EXPECT_EQ(dialogs->texts(DialogRecord::Notify), QStringList{QStringLiteral("已断开连接!")});
    EXPECT_FALSE(form9->Session->HoldTimer->isActive());
}

// A memory command clicked while a frame is in flight runs as on an idle link
// once its turn comes.
TEST_F(MemoryTest, RecallAndFactoryResetBehindAFrameInFlightWaitThenReadBack) {
    unit->Stored() = unit->Live();
    unit->Stored()[1][0] = 33;
    const std::tuple<QPushButton*, int, int> commands[] = {{form1->DeviceLoadBtn, 0, 33},
                                                           {form1->DeviceResetBtn, 85, 0}};
    for (auto [button, value, shown] : commands) {
        ClearFrames();
        unit->Misbehave().replyDelayMs = 100;
        SendDatatoMCU(0x102, 5);
        dialogs->answers = {true};
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_TRUE(To(Frames(), 12).empty());
        EXPECT_EQ(form1->LinkLabel->text(), QStringLiteral("调用等待中..."));
        EXPECT_EQ(form9->Session->LinkState, Offline);
        EXPECT_TRUE(form4->isVisible());
        for (int i = 0; i < 400 && form9->Session->LinkState != Online; ++i)
            Step(25);
        ASSERT_EQ(form9->Session->LinkState, Online);
        const auto sent = To(Frames(), 12);
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(sent[0].bytes[6] << 8 | sent[0].bytes[7], value);
        EXPECT_EQ(form1->OutLDelayBar->value(), shown); // read back
    }
    EXPECT_EQ(unit->RecallCount(), 2);
}

TEST_F(MemoryTest, SaveBehindAFrameInFlightReportsSuccessOnlyAfterItsAcknowledgement) {
    unit->Misbehave().replyDelayMs = 100;
    SendDatatoMCU(0x102, 5);
    dialogs->answers = {true};
    QTest::mouseClick(form1->DeviceSaveBtn, Qt::LeftButton);
    EXPECT_EQ(form1->LinkLabel->text(), QStringLiteral("保存中..."));
    EXPECT_EQ(form9->Session->LinkState, Offline);
    int savedAt = -1;
    for (int i = 0; i < 200 && dialogs->texts(DialogRecord::Notify).isEmpty(); ++i) {
        Step(25);
        if (savedAt < 0 && !To(Frames(), 13).empty()) savedAt = clockMs;
    }
    ASSERT_EQ(dialogs->texts(DialogRecord::Notify), QStringList{QStringLiteral("保存成功!")});
    ASSERT_GE(savedAt, 0);
    EXPECT_GE(clockMs - savedAt, 100);
    EXPECT_EQ(unit->Stored()[1][2], 5);
    EXPECT_EQ(form9->Session->LinkState, Online);
    Step(1000);
    EXPECT_EQ(To(Frames(), 13).size(), 1u);
    EXPECT_EQ(unit->StoreCount(), 1);
}

// The resend due for the last write of a burst is dropped by what follows:
// a recall is sent once, an upload is not overwritten by the old value.
TEST_F(MemoryTest, ResendDueAfterABurstGoesNeitherAfterARecallNorOverAnUpload) {
    for (const bool upload : {false, true}) {
        ClearFrames();
        SendDatatoMCU(0x100, 1);
        SendDatatoMCU(0x102, 2);
        Step(25); // the second write goes out and is answered; its resend is due
        ASSERT_EQ(form9->Session->ResendLast, 1);
        Params.DeviceImage[1][2] = 7; // as a loaded preset leaves it
        dialogs->answers = {true};
        if (upload)
            form9->Session->DisCheckWindow(6);
        else
            QTest::mouseClick(form1->DeviceLoadBtn, Qt::LeftButton);
        for (int i = 0; i < 400 && form9->Session->LinkState != Online; ++i)
            Step(25);
        Step(500);
        EXPECT_EQ(To(Frames(), upload ? 0x102 : 12).size(), 1u);
    }
    EXPECT_EQ(unit->Param(1, 2), 7);
}

// Answers 1.5 s late: the recall goes out while the answers to two earlier
// polls are on their way; they must not stand in for the read requests' own.
TEST_F(MemoryTest, RecallReadBackIsNotMovedOnByALateAnswerToAnEarlierFrame) {
    unit->Stored() = EmulatedDevice::FactorySet();
    for (int i = 0; i < 64; ++i)
        unit->Stored()[1][i] = static_cast<uint16_t>(i + 1);
    unit->Stored()[3][0] = 9;
    unit->Misbehave().replyDelayMs = 1500;
    for (int i = 0; i < 400 && !(form9->Session->AckReceived == 1 && unit->HeldReplies() >= 2); ++i)
        Step(25);
    ASSERT_GE(unit->HeldReplies(), 2u);
    dialogs->answers = {true};
    QTest::mouseClick(form1->DeviceLoadBtn, Qt::LeftButton);
    for (int i = 0; i < 1200 && (form9->Session->LinkState != Online || To(Frames(), 57).empty()); ++i)
        Step(25);
    ASSERT_EQ(form9->Session->LinkState, Online);
    for (int m = 1; m <= 3; ++m)
        for (int i = 0; i < (m == 3 ? 10 : 70); ++i)
            EXPECT_EQ(Params.DeviceImage[m][i], unit->Live()[m][i]) << m << " " << i;
}

// ---- Status codes ----

TEST_F(MemoryTest, ErrorAcknowledgementDropsTheLink) {
    unit->Misbehave().forcedCode = 6;
    Step(125);
    EXPECT_EQ(form9->Session->LinkState, NoDevice);
    EXPECT_EQ(form1->LinkLabel->text(), QStringLiteral("设备未连接"));
    EXPECT_EQ(dialogs->texts(DialogRecord::Notify), QStringList{QStringLiteral("错误应答!")});
    EXPECT_FALSE(form9->Session->HoldTimer->isActive());
    EXPECT_FALSE(form9->Session->Timer1->isActive());
    EXPECT_FALSE(form9->Session->Timer2->isActive());
    ClearFrames();
    Step(3000);
    EXPECT_TRUE(Frames().empty());
}

TEST_F(MemoryTest, ChangeAcceptedShowsItsMessageAndReleasesTheQueue) {
    unit->Misbehave().silent = true;
    SendDatatoMCU(0x100, 1);
    SendDatatoMCU(0x102, 2);
    Inject(StatusFrame(14));
    EXPECT_EQ(dialogs->texts(DialogRecord::Notify), QStringList{QStringLiteral("更改成功!")});
    EXPECT_EQ(form9->Session->AckReceived, 1);
    EXPECT_TRUE(form9->Session->HoldTimer->isActive());
    Step(25);
    EXPECT_EQ(To(Frames(), 0x102).size(), 1u);
}

TEST_F(MemoryTest, ChangeRefusedLeavesTheWaitingWriteToTheFiveTickRule) {
    unit->Misbehave().silent = true;
    SendDatatoMCU(0x100, 1);
    SendDatatoMCU(0x102, 2);
    Inject(StatusFrame(13));
    EXPECT_EQ(dialogs->texts(DialogRecord::Notify),
              QStringList{QStringLiteral("操作失败 ,限制次数已到")});
    EXPECT_EQ(form9->Session->AckReceived, 0);
    EXPECT_TRUE(form9->Session->HoldTimer->isActive());
    Step(125);
    EXPECT_TRUE(To(Frames(), 0x102).empty());
    Step(25);
    EXPECT_EQ(To(Frames(), 0x102).size(), 1u);
}

TEST_F(MemoryTest, UnknownCodesChangeNothing) {
    form9->Session->AckReceived = 0;
    form9->Session->LinkAck = 0;
    Inject(StatusFrame(5));
    Inject(StatusFrame(0x0102));
    EXPECT_EQ(form9->Session->AckReceived, 0);
    EXPECT_EQ(form9->Session->LinkAck, 0);
    EXPECT_TRUE(dialogs->records.empty());
}

// ---- Meters and volume ----

TEST(Levels, LevelTable) {
    const std::pair<int, int> table[] = {{0, -22},  {1, 1},    {2, 5},    {16, 23}, {64, 35},
                                         {128, 42}, {227, 46}, {228, 48}, {255, 48}};
    for (auto [byte, level] : table)
        EXPECT_EQ(LinkSession::LevelOf(static_cast<uint8_t>(byte)), level) << byte;
    for (int b = 0; b < 256; ++b)
        EXPECT_NE(LinkSession::LevelOf(static_cast<uint8_t>(b)), 47);
}

class MeterTest : public LinkFixture {};

TEST_F(MeterTest, RingsMoveTheMetersOnEvenPositionsAndTheVolumeFollows) {
    unit->Misbehave().silent = true;
    StartConsole();
    Deliver();
    ASSERT_NE(form9->RxDevice, nullptr);
    form1->LeftMeter->setValue(7);
    Inject(StatusFrame(2, 255, 128, 750));
    EXPECT_EQ(form9->Session->MeterIndex, 1);
    EXPECT_EQ(form1->LeftMeter->value(), 7); // position 1: not moved
    EXPECT_EQ(form1->SysMusNormalVolBar->value(), 750);
    Inject(StatusFrame(4, 255, 128, 0));
    EXPECT_EQ(form1->LeftMeter->value(), (48 + 48) / 5);
    EXPECT_EQ(form1->RightMeter->value(), (42 + 42) / 5);
    EXPECT_EQ(form1->SysMusNormalVolBar->value(), 0);
    // Silence everywhere: the meters go to -22.
    for (int i = 0; i < 5; ++i)
        Inject(StatusFrame(8, 0, 0, 1000));
    EXPECT_EQ(form1->LeftMeter->value(), -22);
    EXPECT_EQ(form1->RightMeter->value(), -22);
    EXPECT_EQ(form1->SysMusNormalVolBar->value(), 1000);
    EXPECT_TRUE(unit->ReceivedFrames().size() <= 1u); // only the start sign went out
}

// ---- Bluetooth ----

class BluetoothTest : public MemoryTest {};

TEST_F(BluetoothTest, NameABGivesTheDocumentedPayload) {
    form1->BLUENameEdit->setText(QStringLiteral("AB"));
    QTest::mouseClick(form1->BLUENameBtn, Qt::LeftButton);
    const auto sent = To(Frames(), 54);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_TRUE(sent[0].checksumOk);
    EXPECT_EQ(sent[0].bytes[2], 24);
    const uint8_t payload[7] = {0x20, 0x05, 0x4E, 0x41, 0x2B, 0x41, 0x42};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(sent[0].bytes[6 + i], payload[i]) << i;
    ASSERT_FALSE(unit->BluetoothTexts().empty());
    EXPECT_EQ(unit->BluetoothTexts().back(), "NA+AB");
}

TEST_F(BluetoothTest, EighteenCharacterNameGoesWholeNineteenIsNotTaken) {
    form1->BLUENameEdit->setText(QStringLiteral("ABCDEFGHIJKLMNOPQR"));
    BleButtonClick(form1->BLUENameBtn);
    auto sent = To(Frames(), 54);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].bytes[7], 21);
    EXPECT_EQ(unit->BluetoothTexts().back(), "NA+ABCDEFGHIJKLMNOPQR");

    // The edit holds no more than can be sent: a 19th typed character is not taken.
    form1->BLUENameEdit->end(false);
    QTest::keyClick(form1->BLUENameEdit, Qt::Key_S);
    EXPECT_EQ(form1->BLUENameEdit->text(), QStringLiteral("ABCDEFGHIJKLMNOPQR"));

    // Free text longer than 21 characters is refused whole.
    ClearFrames();
    form1->BlueStrEdit->setText(QString(22, QLatin1Char('x')));
    BleButtonClick(form1->BleButton);
    EXPECT_TRUE(To(Frames(), 54).empty());
    ASSERT_EQ(dialogs->texts(DialogRecord::Notify).size(), 1);
    EXPECT_TRUE(dialogs->texts(DialogRecord::Notify)[0].contains(QStringLiteral("21")));
}

TEST_F(BluetoothTest, EmptyNameAndShortPinAreRefusedWithTheirQuestions) {
    form1->BLUENameEdit->clear();
    BleButtonClick(form1->BLUENameBtn);
    form1->BluePinEdit->setText(QStringLiteral("123"));
    BleButtonClick(form1->BLUEPinBtn);
    EXPECT_EQ(dialogs->texts(DialogRecord::Ask),
              (QStringList{QStringLiteral("请输入正确的名称"), QStringLiteral("长度必须4位")}));
    EXPECT_EQ(dialogs->records[0].caption, QStringLiteral("Confirm"));
    EXPECT_TRUE(To(Frames(), 54).empty());

    form1->BluePinEdit->setText(QStringLiteral("4321"));
    BleButtonClick(form1->BLUEPinBtn);
    EXPECT_EQ(unit->BluetoothTexts().back(), "PIN+4321");
}

TEST_F(BluetoothTest, FreeTextIsSentAlsoWhileNotOnlineAndLatin1AsItsByte) {
    form9->RzButton14Click(nullptr);
    form1->BlueStrEdit->setText(QStringLiteral("A\u00e9\u00ff"));
    BleButtonClick(form1->BleButton);
    const auto sent = To(Frames(), 54);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].bytes[7], 3);
    EXPECT_EQ(sent[0].bytes[8], 0x41);
    EXPECT_EQ(sent[0].bytes[9], 0xE9);
    EXPECT_EQ(sent[0].bytes[10], 0xFF);
}

TEST_F(BluetoothTest, TextBeyondLatin1IsRefusedInBothLanguages) {
    form1->BLUENameEdit->setText(QStringLiteral("客厅"));
    BleButtonClick(form1->BLUENameBtn);
    Window.LanguageFlag = 0;
    form1->BlueStrEdit->setText(QStringLiteral("A\u0100"));
    BleButtonClick(form1->BleButton);
    EXPECT_TRUE(To(Frames(), 54).empty());
    const QStringList texts = dialogs->texts(DialogRecord::Notify);
    ASSERT_EQ(texts.size(), 2);
    EXPECT_TRUE(texts[0].contains(QStringLiteral("Latin-1")));
    EXPECT_TRUE(texts[0].contains(QStringLiteral("字符")));
    EXPECT_TRUE(texts[1].startsWith(QStringLiteral("Only Latin-1")));
}

// ---- Writing the whole device image ----

class ImageWriteTest : public MemoryTest {};

TEST_F(ImageWriteTest, WritesModulesOneToThreeAndComesBackOnline) {
    for (int i = 0; i < 86; ++i)
        Params.DeviceImage[1][i] = 1000 + i;
    Params.DeviceImage[3][0] = 4242;
    form9->Session->DisCheckWindow(6);
    EXPECT_EQ(form1->LinkLabel->text(), QStringLiteral("下载数据..."));
    EXPECT_EQ(form9->Session->LinkState, Offline);
    for (int i = 0; i < 400 && form9->Session->LinkState != Online; ++i)
        Step(25);
    ASSERT_EQ(form9->Session->LinkState, Online);
    std::vector<int> starts;
    for (const auto& r : To(Frames(), 56)) {
        EXPECT_EQ(r.bytes[2], 24);
        starts.push_back(r.bytes[6] << 8 | r.bytes[7]);
        if ((r.bytes[6] << 8 | r.bytes[7]) == 0x13C) {
            // Indexes 60..69 whatever module 1's parameter count.
            for (int j = 0; j < 10; ++j)
                EXPECT_EQ(r.bytes[8 + 2 * j] << 8 | r.bytes[9 + 2 * j], 1060 + j);
        }
    }
    ASSERT_FALSE(starts.empty());
    EXPECT_EQ(starts.back(), 0x300);
    EXPECT_NE(std::find(starts.begin(), starts.end(), 0x13C), starts.end());
    const auto done = To(Frames(), 58);
    EXPECT_TRUE(
        std::any_of(done.begin(), done.end(), [](const auto& r) { return r.bytes[7] == 0x33; }));
    EXPECT_EQ(unit->Param(1, 64), 1064);
    EXPECT_EQ(unit->Param(3, 0), 4242);
}

TEST_F(ImageWriteTest, NothingIsWrittenWhileNotOnline) {
    form9->RzButton14Click(nullptr);
    form9->Session->DisCheckWindow(6);
    Step(2000);
    EXPECT_TRUE(To(Frames(), 56).empty());
}

// ---- The two secondary windows ----

class WindowsTest : public LinkFixture {};

TEST_F(WindowsTest, StatusBoxAndLinkWindowAsBuilt) {
    StartConsole();
    EXPECT_EQ(form4->windowTitle(), QStringLiteral("设备状态"));
    EXPECT_EQ(form4->size(), QSize(313, 109)); // a line more: why the controls are held
    EXPECT_TRUE(form4->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(form4->palette().color(QPalette::Window), QColor(209, 209, 224));
    EXPECT_EQ(form4->LinkLabel->text(), QStringLiteral("设备未连接"));
    EXPECT_EQ(form4->RzProgressStatus1->width(), 265);
    EXPECT_EQ(form4->Label1->text(), QStringLiteral("请稍等,可能需要几秒钟才能完成操作！"));
    EXPECT_FALSE(form4->isVisible());

    EXPECT_EQ(form9->windowTitle(), QStringLiteral("系统"));
    EXPECT_EQ(form9->ReportID->text(), QStringLiteral("1"));
    EXPECT_EQ(form9->LinkBtn->text(), QStringLiteral("连接"));
    EXPECT_EQ(form9->RzButton14->text(), QStringLiteral("断开"));
    EXPECT_EQ(form9->Session->Timer1->interval(), 1000);
    EXPECT_EQ(form9->Session->Timer2->interval(), 50);
    EXPECT_EQ(form9->Session->HoldTimer->interval(), 25);
    form9->show();
    form9->close();
    EXPECT_FALSE(form9->isVisible());
    EXPECT_EQ(Form9, form9); // closing only hides it
}
