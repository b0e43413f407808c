// Finding the unit, the connect read and the checking of replies, end to end
// through the emulated unit.
#include "tests/support/LinkFixture.h"

#include "app/MainWindow.h"
#include "params/ControlProps.h"
#include "params/ParamImage.h"
#include "presets/StatusBox.h"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSlider>
#include <QTimer>

#include <algorithm>
#include <cstring>

namespace {

// Values asked for by read requests, in the order they went out.
std::vector<int> ReadRequests(const std::vector<EmulatedDevice::Received>& frames) {
    std::vector<int> out;
    for (const auto& r : frames)
        if (r.accepted && r.bytes[3] == 0xA0 && r.bytes[5] == 57)
            out.push_back(r.bytes[6] << 8 | r.bytes[7]);
    return out;
}

int CountStartSigns(const std::vector<EmulatedDevice::Received>& frames) {
    return static_cast<int>(std::count_if(frames.begin(), frames.end(),
                                          [](const auto& r) { return r.bytes[0] == 0x02; }));
}

} // namespace

class ConnectTest : public LinkFixture {
protected:
    // The pump runs a read (its timer is never fired here; the test steps by hand).
    void ReadInProgress() {
        form9->Session->Timer2->start();
        form9->Session->TransferMode = 0;
    }
    void TearDown() override {
        if (form9) form9->Session->Timer2->stop();
        LinkFixture::TearDown();
    }
};

TEST_F(ConnectTest, ReadRequestsAllModulesInOrderThenSignalsReadDone) {
    ConnectUnit();
    ASSERT_EQ(form9->Session->LinkState, Online);
    const auto frames = Frames();
    std::vector<int> expected = {0x000, 0x00A};
    for (int m = 1; m <= 2; ++m)
        for (int p = 0; p < 7; ++p)
            expected.push_back(m * 256 + p * 10);
    expected.push_back(0x300);
    EXPECT_EQ(ReadRequests(frames), expected);

    // The closing signal follows the last read request; every frame checks out.
    auto lastRead = std::find_if(frames.rbegin(), frames.rend(), [](const auto& r) {
        return r.bytes[3] == 0xA0 && r.bytes[5] == 57;
    });
    ASSERT_NE(lastRead, frames.rend());
    auto next = lastRead.base();
    ASSERT_NE(next, frames.end());
    EXPECT_EQ(next->bytes[3], 0xA7);
    EXPECT_EQ(next->bytes[4] << 8 | next->bytes[5], 58);
    EXPECT_EQ(next->bytes[6] << 8 | next->bytes[7], 0x22);
    for (const auto& r : frames)
        EXPECT_TRUE(r.accepted);
}

TEST_F(ConnectTest, ScreenCaptionAndVersionFollowTheUnit) {
    unit->Live()[0][1] = 1;
    unit->Live()[0][4] = 2;
    unit->Live()[0][6] = 3;
    unit->Live()[1][0] = 77;   // left delay 7.7 ms
    unit->Live()[1][22] = 150; // band 1 gain +6 dB
    StartConsole();
    EXPECT_FALSE(form1->windowTitle().contains(QStringLiteral("[Connected]")));
    ConnectUnit();
    ASSERT_EQ(form9->Session->LinkState, Online);
    EXPECT_EQ(Params.DeviceImage[1][22], 150);
    EXPECT_EQ(form1->OutLDelayBar->value(), 77);
    EXPECT_EQ(form1->OutLDelayPane->text(), QStringLiteral("7.7ms"));
    EXPECT_EQ(form1->MusGainEdit1->text(), QStringLiteral("6.0dB"));
    EXPECT_EQ(form1->DeviceVersionLabel->text(), QStringLiteral("版本号:1.2.3"));
    EXPECT_EQ(form1->windowTitle(), QStringLiteral("QZ系列 DSP控制软件 v3.4.2 Beta[Connected]"));
    EXPECT_EQ(form1->LinkLabel->text(), QStringLiteral("设备已连接"));
    EXPECT_EQ(Hint(form1->LinkLabel), QStringLiteral("The device is connected"));
    EXPECT_FALSE(form4->isVisible());
    EXPECT_TRUE(form9->Session->HoldTimer->isActive());
    EXPECT_FALSE(form9->Session->Timer1->isActive());
    EXPECT_FALSE(form9->Session->Timer2->isActive());
}

TEST_F(ConnectTest, PercentReaches133WhenTheClosingSignalGoesOut) {
    StartConsole();
    Deliver();
    int highest = 0;
    bool boxShown = false;
    for (int i = 0; i < 400 && form9->Session->LinkState != Online; ++i) {
        Step(25);
        highest = std::max(highest, form4->Percent);
        boxShown = boxShown || form4->isVisible();
    }
    ASSERT_EQ(form9->Session->LinkState, Online);
    EXPECT_EQ(highest, 133);
    EXPECT_TRUE(boxShown);
    EXPECT_EQ(form4->LinkLabel->text().left(3), QStringLiteral("状态："));
}

TEST_F(ConnectTest, SilentUnitGetsTheStartSignOnceASecondAndTheLabelStays) {
    unit->Misbehave().silent = true;
    StartConsole();
    const QString before = form1->LinkLabel->text();
    Deliver();
    EXPECT_EQ(CountStartSigns(Frames()), 1);
    Step(5000);
    EXPECT_EQ(CountStartSigns(Frames()), 6);
    EXPECT_EQ(form1->LinkLabel->text(), before);
    EXPECT_EQ(form9->Session->LinkState, Offline);
    EXPECT_TRUE(dialogs->records.empty());
}

TEST_F(ConnectTest, FirstRequestIsResentAndTimesOutWithConnectFailed) {
    StartConsole();
    Deliver();
    // Start sign answered; go silent before the connect read starts.
    Step(25);
    ASSERT_EQ(form9->Session->LinkAck, 1);
    unit->Misbehave().silent = true;
    Step(975); // the read starts on the next second
    ASSERT_TRUE(form9->Session->Timer2->isActive());
    ASSERT_EQ(ReadRequests(Frames()), (std::vector<int>{0}));
    Step(525);
    EXPECT_EQ(ReadRequests(Frames()).size(), 1u);
    Step(25); // 550 ms: resent
    EXPECT_EQ(ReadRequests(Frames()), (std::vector<int>{0, 0}));
    Step(4975);
    EXPECT_TRUE(dialogs->texts(DialogRecord::Notify).isEmpty());
    Step(25);
    ASSERT_EQ(dialogs->texts(DialogRecord::Notify), QStringList{QStringLiteral("连接失败!")});
    EXPECT_EQ(form1->LinkLabel->text(), QStringLiteral("设备未连接"));
    EXPECT_FALSE(form9->Session->Timer2->isActive());
}

TEST_F(ConnectTest, LaterRequestTimesOutWithConnectFailed) {
    StartConsole();
    Deliver();
    Step(25);
    ASSERT_EQ(form9->Session->LinkAck, 1);
    unit->Misbehave().dropEvery = 3; // the start sign and the first read are answered
    Step(975);
    ASSERT_EQ(ReadRequests(Frames()), (std::vector<int>{0}));
    unit->Misbehave().silent = true;
    Step(50);
    ASSERT_EQ(ReadRequests(Frames()), (std::vector<int>{0, 10}));
    Step(550); // 11 ticks without an answer: resent during module step 0
    EXPECT_EQ(ReadRequests(Frames()), (std::vector<int>{0, 10, 10}));
    Step(4900);
    EXPECT_TRUE(dialogs->texts(DialogRecord::Notify).isEmpty());
    Step(100);
    ASSERT_EQ(dialogs->texts(DialogRecord::Notify), QStringList{QStringLiteral("连接失败!")});
    EXPECT_EQ(dialogs->records.back().caption, QStringLiteral("提示"));
    EXPECT_EQ(form1->LinkLabel->text(), QStringLiteral("设备未连接"));
    EXPECT_FALSE(form9->Session->Timer2->isActive());
    EXPECT_FALSE(form9->Session->Timer1->isActive());
    EXPECT_EQ(form9->Session->LinkState, Offline);
}

// The checksum covers every byte but the last, the spare ones included.
TEST_F(ConnectTest, ValidReplyWithASetByteBeforeTheChecksumChecksOut) {
    ConnectUnit();
    auto f = StatusFrame(2, 0, 0, 640);
    f[28] = 0x5A;
    f[29] = FrameChecksum(f.data(), 29);
    form1->Memo1->clear();
    Inject(f);
    EXPECT_TRUE(form1->Memo1->toPlainText().isEmpty());
    EXPECT_EQ(form1->SysMusNormalVolBar->value(), 640);
}

TEST_F(ConnectTest, HistoryKeepsOnlyItsMostRecentLines) {
    StartConsole();
    form9->HistoryListBox->clear();
    for (int i = 0; i < HistoryMaxLines + 10; ++i)
        form9->AddToHistory(QString::number(i));
    const QStringList history = History();
    ASSERT_EQ(history.size(), HistoryMaxLines);
    EXPECT_EQ(history.first(), QStringLiteral("10"));
    EXPECT_EQ(history.last(), QString::number(HistoryMaxLines + 9));
    EXPECT_EQ(form9->HistoryListBox->currentRow(), HistoryMaxLines - 1);
}

TEST_F(ConnectTest, WrongChecksumIsLoggedInTheMemoAndStillDispatched) {
    ConnectUnit();
    ASSERT_EQ(form9->Session->LinkState, Online);
    unit->Misbehave().corruptChecksum = true;
    form1->Memo1->clear();
    Step(3000);
    const QStringList lines = form1->Memo1->toPlainText().split('\n');
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("0********************"));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("校验数据匹配不一致:")));
    EXPECT_TRUE(lines[1].contains(QStringLiteral("得到的验证数据：")));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("接收到的错误数据： 01 57 ")));
    // Dispatched all the same: the polls are answered, the link stays up.
    EXPECT_EQ(form9->Session->LinkState, Online);
    EXPECT_TRUE(dialogs->records.empty());
}

TEST_F(ConnectTest, WrongChecksumWithNonZeroAddressHighByteIsLoggedButNotDispatched) {
    ConnectUnit();
    auto f = StatusFrame(6);
    f[4] = 1;
    f[29] ^= 0x55;
    form1->Memo1->clear();
    Inject(f);
    EXPECT_EQ(form1->Memo1->toPlainText().split('\n').first(),
              QStringLiteral("1********************"));
    EXPECT_EQ(form9->Session->LinkState, Online);
    EXPECT_TRUE(dialogs->records.empty());
}

TEST_F(ConnectTest, ForeignDeviceIdentifierIsDroppedWithoutTrace) {
    ConnectUnit();
    auto f = StatusFrame(6);
    f[1] = 0x58;
    form1->Memo1->clear();
    const int historyBefore = form9->HistoryListBox->count();
    Inject(f);
    EXPECT_EQ(form9->Session->LinkState, Online);
    EXPECT_TRUE(form1->Memo1->toPlainText().isEmpty());
    EXPECT_EQ(form9->HistoryListBox->count(), historyBefore);
    EXPECT_TRUE(dialogs->records.empty());

    // The same through the unit's own answers.
    unit->Misbehave().foreignDeviceId = true;
    Step(5000);
    EXPECT_TRUE(form1->Memo1->toPlainText().isEmpty());
    EXPECT_EQ(dialogs->texts(DialogRecord::Notify), QStringList{QStringLiteral("已断开连接!")});
}

TEST_F(ConnectTest, LastOfTwoMatchingUnitsIsUsed) {
    EmulatedDevice* second = backend->PlugUnit(QStringLiteral("B"));
    ConnectUnit();
    ASSERT_EQ(form9->DevListBox->count(), 2);
    EXPECT_TRUE(
        form9->DevListBox->item(1)->text().endsWith(QStringLiteral(" (自定义HID描述符=B)")));
    EXPECT_EQ(form9->CurrentDevice, form9->DevListDevices.at(1));
    EXPECT_EQ(form9->RxDevice, form9->DevListDevices.at(1));
    EXPECT_EQ(form9->DevListBox->currentRow(), 0);
    EXPECT_FALSE(second->ReceivedFrames().empty());
    EXPECT_TRUE(unit->ReceivedFrames().empty());
    EXPECT_EQ(form9->Session->LinkState, Online);
}

TEST_F(ConnectTest, OnlyAnotherProductOfTheVendorIsListedButNotUsed) {
    backend->Unplug(unit);
    backend->PlugOther(0x0483, 0x690F);
    backend->PlugOther(0x046D, 0xC31C, QStringLiteral("Keyboard"));
    StartConsole();
    Deliver();
    ASSERT_EQ(form9->DevListBox->count(), 1);
    EXPECT_EQ(form9->DevListBox->item(0)->text(), QStringLiteral("Device VID=0483 PID=690f"));
    EXPECT_EQ(form1->LinkLabel->text(), QStringLiteral("设备未连接"));
    EXPECT_EQ(form9->Session->LinkState, NoDevice);
    EXPECT_EQ(form9->CurrentDevice, nullptr);
    EXPECT_FALSE(form9->Session->Timer1->isActive());
}

TEST_F(ConnectTest, RemovalStopsTheLinkAndReArrivalReadsEverythingAgain) {
    ConnectUnit();
    ASSERT_EQ(form9->Session->LinkState, Online);
    backend->Unplug(unit);
    Deliver();
    const QStringList history = History();
    EXPECT_TRUE(std::any_of(history.begin(), history.end(), [](const QString& l) {
        return l.startsWith(QStringLiteral("Removal of ")) &&
               l.contains(QStringLiteral("VID=0483"));
    }));
    EXPECT_EQ(form9->Session->LinkState, NoDevice);
    EXPECT_EQ(form1->LinkLabel->text(), QStringLiteral("设备未连接"));
    EXPECT_FALSE(form9->Session->HoldTimer->isActive());

    unit->Live()[1][0] = 42;
    ClearFrames();
    backend->Replug(unit);
    ConnectUnit();
    EXPECT_EQ(form9->Session->LinkState, Online);
    EXPECT_EQ(ReadRequests(Frames()).size(), 17u);
    EXPECT_EQ(form1->OutLDelayBar->value(), 42);
}

TEST_F(ConnectTest, AnotherHidDeviceArrivingMakesTheConsoleReconnect) {
    ConnectUnit();
    ClearFrames();
    backend->PlugOther(0x046D, 0xC31C, QStringLiteral("Keyboard"));
    ConnectUnit();
    EXPECT_EQ(form9->Session->LinkState, Online);
    EXPECT_EQ(ReadRequests(Frames()).size(), 17u);
}

TEST_F(ConnectTest, ReportsFromAListedDeviceOtherThanTheChosenOneAreIgnored) {
    backend->PlugUnit(QStringLiteral("B"));
    ConnectUnit();
    THidDevice* other = form9->DevListDevices.at(0);
    ASSERT_NE(other, form9->RxDevice);
    const auto f = StatusFrame(6);
    form9->HidCtlDeviceData(other, f[0],
                            QByteArray(reinterpret_cast<const char*>(f.data()) + 1, 29));
    EXPECT_EQ(form9->Session->LinkState, Online);
    EXPECT_TRUE(dialogs->records.empty());
}

// ---- Values replies that do not fit ----

// A stale values reply outside a read (late, or during an upload) must not
// overwrite the image nor move the transfer on.
TEST_F(ConnectTest, ValuesReplyOutsideAReadChangesNothing) {
    ConnectUnit();
    const ParamModel before = Params;
    form9->Session->TransferPhase = 3;
    Inject(ValuesFrame(1, 0, {9, 9, 9, 9, 9, 9, 9, 9, 9, 9}));
    EXPECT_EQ(std::memcmp(before.DeviceImage, Params.DeviceImage, sizeof before.DeviceImage), 0);
    EXPECT_EQ(form9->Session->TransferPhase, 3);
    form9->Session->Timer2->start();
    form9->Session->TransferMode = 1; // an upload is running
    Inject(ValuesFrame(1, 0, {9, 9, 9, 9, 9, 9, 9, 9, 9, 9}));
    EXPECT_EQ(std::memcmp(before.DeviceImage, Params.DeviceImage, sizeof before.DeviceImage), 0);
    EXPECT_EQ(form9->Session->TransferPhase, 3);
    form9->Session->Timer2->stop();
}

TEST_F(ConnectTest, ValuesReplyAtIndex80StoresUpToIndex84Only) {
    ConnectUnit();
    ReadInProgress();
    Params.DeviceImage[1][85] = -7;
    Inject(ValuesFrame(1, 80, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Params.DeviceImage[1][80 + i], i + 1);
    EXPECT_EQ(Params.DeviceImage[1][85], -7);
    EXPECT_EQ(form9->Session->TransferPhase, 2);
}

TEST_F(ConnectTest, ValuesReplyForAModuleAboveThreeIsRejectedWhole) {
    ConnectUnit();
    ReadInProgress();
    const ParamModel before = Params;
    form9->Session->TransferPhase = 3;
    const int historyBefore = form9->HistoryListBox->count();
    Inject(ValuesFrame(4, 0, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    Inject(ValuesFrame(255, 80, {1, 2, 3, 4, 5}));
    EXPECT_EQ(std::memcmp(before.DeviceImage, Params.DeviceImage, sizeof before.DeviceImage), 0);
    EXPECT_EQ(form9->HistoryListBox->count(), historyBefore + 2);
    EXPECT_TRUE(History().last().startsWith(QStringLiteral("VALUES REJECTED")));
    EXPECT_EQ(form9->Session->TransferPhase, 2);
}

TEST_F(ConnectTest, ValuesReplyWhoseCountReachesPastTheFrameIsRejectedWhole) {
    ConnectUnit();
    ReadInProgress();
    for (int i = 0; i < 30; ++i)
        Params.DeviceImage[2][i] = -1;
    form9->Session->TransferPhase = 3;
    // Length byte 254: 124 values claimed in a 30-byte report.
    Inject(ValuesFrame(2, 0, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 254));
    // Eleven values would run into the checksum byte.
    Inject(ValuesFrame(2, 0, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    for (int i = 0; i < 30; ++i)
        EXPECT_EQ(Params.DeviceImage[2][i], -1) << i;
    EXPECT_EQ(form9->Session->TransferPhase, 2);
    // The same frame in a report shorter than 30 bytes.
    auto shortFrame = ValuesFrame(2, 0, {9, 9, 9, 9, 9, 9, 9, 9, 9, 9});
    shortFrame.resize(12);
    Inject(shortFrame);
    EXPECT_EQ(Params.DeviceImage[2][0], -1);
}

TEST_F(ConnectTest, ShortReportsAreHarmless) {
    ConnectUnit();
    Inject({0x01, 0x57, 0x06});
    EXPECT_TRUE(History().last().startsWith(QStringLiteral("SHORT REPLY")));
    // A status reply cut after its code: link flags, but no levels or volume.
    form1->SysMusNormalVolBar->setValue(321);
    auto f = StatusFrame(2, 255, 255, 900);
    f.resize(8);
    form9->Session->AckReceived = 0;
    Inject(f);
    EXPECT_EQ(form9->Session->AckReceived, 1);
    EXPECT_EQ(form1->SysMusNormalVolBar->value(), 321);
    EXPECT_EQ(form9->Session->LinkState, Online);
}

// An upload whose first packet gets no answer must end in "连接失败!" through
// the pump's time-outs, not leave the console waiting for ever.
TEST_F(ConnectTest, UploadWithoutAnswerFailsInsteadOfHanging) {
    ConnectUnit();
    unit->Misbehave().silent = true;
    form9->Session->DisCheckWindow(6);
    ASSERT_TRUE(form9->Session->Timer2->isActive());
    for (int t = 0; t < 120 && form9->Session->Timer2->isActive(); ++t)
        form9->Session->Timer2Timer(nullptr);
    EXPECT_FALSE(form9->Session->Timer2->isActive());
    EXPECT_TRUE(dialogs->texts(DialogRecord::Notify).contains(QStringLiteral("连接失败!")));
}

// A late acknowledgement with its message must not start the hold timer
// again when it was not running (during a transfer, after a lost link).
TEST_F(ConnectTest, ChangeMessageResumesTheHoldTimerOnlyIfItRan) {
    ConnectUnit();
    ASSERT_TRUE(form9->Session->HoldTimer->isActive());
    Inject(StatusFrame(12));
    EXPECT_TRUE(form9->Session->HoldTimer->isActive());
    form9->Session->HoldTimer->stop();
    Inject(StatusFrame(12));
    Inject(StatusFrame(13));
    EXPECT_FALSE(form9->Session->HoldTimer->isActive());
}
