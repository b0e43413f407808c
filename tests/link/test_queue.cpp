// Live writes of an online link: the send queue, the keep-alive poll and the
// lost-link rule, end to end through the emulated unit.
#include "tests/support/LinkFixture.h"

#include "app/MainWindow.h"
#include "app/WindowState.h"
#include "link/LinkApi.h"
#include "params/DispatchState.h"
#include "params/ParamImage.h"
#include "params/SendToUnit.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <map>

namespace {

// (address, value) of accepted writes, in order, leaving out polls and signals.
std::vector<std::pair<int, int>> Writes(const std::vector<EmulatedDevice::Received>& frames) {
    std::vector<std::pair<int, int>> out;
    for (const auto& r : frames) {
        const int address = r.bytes[4] << 8 | r.bytes[5];
        if (r.bytes[0] == 0x01 && r.bytes[3] == 0xA7 && address != 58)
            out.emplace_back(address, r.bytes[6] << 8 | r.bytes[7]);
    }
    return out;
}

int Polls(const std::vector<EmulatedDevice::Received>& frames) {
    int n = 0;
    for (const auto& r : frames)
        if (r.bytes[0] == 0x01 && r.bytes[5] == 58 && r.bytes[7] == 0x66) ++n;
    return n;
}

using W = std::vector<std::pair<int, int>>;

} // namespace

class QueueTest : public LinkFixture {
protected:
    void SetUp() override {
        LinkFixture::SetUp();
        ConnectUnit();
        ASSERT_EQ(form9->Session->LinkState, Online);
        ClearFrames();
    }
};

TEST_F(QueueTest, TypedChangeArrivesUnmaskedAndCorrect) {
    ParamEdit* edit = form1->MusGainEdit1;
    QTest::mouseClick(edit, Qt::LeftButton);
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("6"));
    QTest::keyClick(edit, Qt::Key_Return);
    Deliver();
    const auto frames = Frames();
    ASSERT_EQ(frames.size(), 1u);
    const auto& r = frames.front();
    EXPECT_TRUE(r.accepted);
    const uint8_t expected[8] = {0x01, 0x57, 0x06, 0xA7, 0x01, 0x16, 0x00, 0x96};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(r.bytes[i], expected[i]) << "byte " << i;
    EXPECT_EQ(unit->Param(1, 22), 150);
}

TEST_F(QueueTest, WriteMatchesAFrameBuiltByHand) {
    SendDatatoMCU(0x0105, 300);
    const auto frames = Frames();
    ASSERT_EQ(frames.size(), 1u);
    const auto& r = frames.front();
    uint8_t plain[30];
    for (int i = 0; i < 30; ++i)
        plain[i] = r.bytes[i];
    const uint8_t head[8] = {0x01, 0x57, 0x06, 0xA7, 0x01, 0x05, 0x01, 0x2C};
    unsigned sum = 0;
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(plain[i], head[i]) << "byte " << i;
    }
    for (int i = 0; i < 29; ++i)
        sum += plain[i];
    EXPECT_EQ(plain[29], static_cast<uint8_t>(-sum & 0xFF));
    // On the wire bytes 2..7 were masked with the mask the start sign carried.
    EXPECT_TRUE(r.checksumOk);
    EXPECT_EQ(Params.ParamImage[1][5], 300);
    EXPECT_EQ(Params.DeviceImage[1][5], 300);
}

TEST_F(QueueTest, SingleWriteIsSentOnceAndTwoWritesGiveThreeFrames) {
    SendDatatoMCU(0x100, 7);
    Step(1000);
    EXPECT_EQ(Writes(Frames()), (W{{0x100, 7}}));

    ClearFrames();
    SendDatatoMCU(0x100, 8);
    SendDatatoMCU(0x102, 9);
    Step(1000);
    EXPECT_EQ(Writes(Frames()), (W{{0x100, 8}, {0x102, 9}, {0x102, 9}}));
}

TEST_F(QueueTest, ThreeQuickWritesToOneAddressBehindAFrameInFlight) {
    SendDatatoMCU(0x101, 1); // in flight
    SendDatatoMCU(0x100, 10);
    SendDatatoMCU(0x100, 11);
    SendDatatoMCU(0x100, 12);
    EXPECT_EQ(form9->Session->QueueCount, 2);
    EXPECT_EQ(form9->Session->QueueValue[1], 10);
    EXPECT_EQ(form9->Session->QueueValue[2], 12);
    Step(1000);
    EXPECT_EQ(Writes(Frames()), (W{{0x101, 1}, {0x100, 10}, {0x100, 12}, {0x100, 12}}));
    EXPECT_EQ(unit->Param(1, 0), 12);
}

TEST_F(QueueTest, BurstGoesOutAtThePaceOfTheAnswers) {
    unit->Misbehave().replyDelayMs = 50; // each answer comes two ticks later
    for (int i = 0; i < 6; ++i)
        SendDatatoMCU(0x200 + i, 100 + i);
    EXPECT_EQ(Writes(Frames()).size(), 1u); // the first at once
    Step(25);
    EXPECT_EQ(Writes(Frames()).size(), 1u); // not answered yet
    Step(25);
    EXPECT_EQ(Writes(Frames()).size(), 2u); // answered: the next one goes
    Step(25);
    EXPECT_EQ(Writes(Frames()).size(), 2u);
    Step(1000);
    W expected;
    for (int i = 0; i < 6; ++i)
        expected.emplace_back(0x200 + i, 100 + i);
    expected.emplace_back(0x205, 105); // the last one once more
    EXPECT_EQ(Writes(Frames()), expected);
}

TEST_F(QueueTest, UnansweredWriteIsTakenAsDoneAfterFiveTicks) {
    unit->Misbehave().silent = true;
    SendDatatoMCU(0x100, 1);
    SendDatatoMCU(0x102, 2);
    Step(125);
    EXPECT_EQ(Writes(Frames()).size(), 1u);
    Step(25); // the sixth tick
    EXPECT_EQ(Writes(Frames()), (W{{0x100, 1}, {0x102, 2}}));
}

TEST_F(QueueTest, WritesWhileSuppressedOrNotOnlineOnlyChangeTheImages) {
    Dispatch.SendSuppressed = 1;
    SendDatatoMCU(0x100, 33);
    Dispatch.SendSuppressed = 0;
    form9->RzButton14Click(form9->RzButton14);
    EXPECT_EQ(form9->Session->LinkState, Offline);
    SendDatatoMCU(0x102, 44);
    Step(500);
    EXPECT_TRUE(Writes(Frames()).empty());
    EXPECT_EQ(Params.ParamImage[1][0], 33);
    EXPECT_EQ(Params.DeviceImage[1][2], 44);
}

TEST_F(QueueTest, FullQueueLosesNoFinalValue) {
    unit->Misbehave().silent = true;
    std::map<int, int> finalValue;
    auto write = [&](int address, int value) {
        SendDatatoMCU(address, value);
        finalValue[address] = value;
    };
    write(0x300, 1); // in flight
    // Fill the queue and go well past it, cycling over 60 addresses, then a
    // few writes to addresses not seen before.
    for (int k = 0; k < 700; ++k)
        write(0x200 + k % 60, k);
    for (int k = 0; k < 5; ++k)
        write(0x100 + k, 1000 + k);
    EXPECT_LE(form9->Session->QueueCount, QueueMaxWaiting);
    EXPECT_EQ(form9->Session->QueueAddr[form9->Session->QueueCount], 0x104);
    EXPECT_EQ(form9->Session->QueueValue[form9->Session->QueueCount], 1004);

    // Drain it into the unit: every address ends with its final value.
    unit->Behave();
    for (int i = 0; i < 2000 && (form9->Session->QueueCount > 0 || form9->Session->ResendLast); ++i)
        Step(25);
    EXPECT_EQ(form9->Session->QueueCount, 0);
    for (const auto& [address, value] : finalValue)
        EXPECT_EQ(unit->Param(address >> 8, address & 0xFF), value) << std::hex << address;
}

TEST_F(QueueTest, ConsecutiveWritesToOneAddressStillCollapseWhenFull) {
    unit->Misbehave().silent = true;
    SendDatatoMCU(0x300, 1);
    for (int k = 0; k < QueueMaxWaiting; ++k)
        SendDatatoMCU(0x200 + k % 60, k);
    ASSERT_EQ(form9->Session->QueueCount, QueueMaxWaiting);
    const int last = form9->Session->QueueAddr[QueueMaxWaiting];
    SendDatatoMCU(last, 9999);
    EXPECT_EQ(form9->Session->QueueCount, QueueMaxWaiting);
    EXPECT_EQ(form9->Session->QueueValue[QueueMaxWaiting], 9999);
}

TEST_F(QueueTest, IdleLinkPollsEvery125ms) {
    std::vector<int> pollTimes;
    int seen = 0;
    for (int i = 0; i < 80; ++i) {
        Step(25);
        const int n = Polls(Frames());
        if (n > seen) {
            pollTimes.push_back(clockMs);
            seen = n;
        }
    }
    ASSERT_GE(pollTimes.size(), 10u);
    for (std::size_t i = 1; i < pollTimes.size(); ++i)
        EXPECT_EQ(pollTimes[i] - pollTimes[i - 1], 125) << i;
    EXPECT_EQ(form9->Session->LinkState, Online);
}

TEST_F(QueueTest, SilenceDeclaresTheLinkLostAfterAbout3_9s) {
    Step(250);
    unit->Misbehave().silent = true;
    const int start = clockMs;
    std::vector<int> pollTimes;
    int seen = Polls(Frames());
    while (dialogs->records.empty() && clockMs - start < 10000) {
        Step(25);
        const int n = Polls(Frames());
        if (n > seen) {
            pollTimes.push_back(clockMs);
            seen = n;
        }
    }
    const int elapsed = clockMs - start;
    EXPECT_GE(elapsed, 3800);
    EXPECT_LE(elapsed, 4050);
    ASSERT_EQ(dialogs->texts(DialogRecord::Notify), QStringList{QStringLiteral("已断开连接!")});
    EXPECT_EQ(dialogs->records.back().caption, QStringLiteral("提示"));
    // Unanswered, the poll repeats every 625 ms.
    ASSERT_GE(pollTimes.size(), 3u);
    for (std::size_t i = 2; i < pollTimes.size(); ++i)
        EXPECT_EQ(pollTimes[i] - pollTimes[i - 1], 625) << i;
    EXPECT_EQ(form9->Session->LinkState, Offline);
    EXPECT_FALSE(form9->Session->HoldTimer->isActive());
    EXPECT_EQ(form1->LinkLabel->text(), QStringLiteral("设备未连接"));

    // The user connects again with the link button.
    unit->Behave();
    QTest::mouseClick(form1->LinkBtn, Qt::LeftButton);
    ConnectUnit();
    EXPECT_EQ(form9->Session->LinkState, Online);
}

TEST_F(QueueTest, LostLinkMessageInEnglish) {
    Window.LanguageFlag = 0;
    unit->Misbehave().silent = true;
    Step(5000);
    ASSERT_EQ(dialogs->records.size(), 1u);
    EXPECT_EQ(dialogs->records[0].caption, QStringLiteral("Confirm"));
    EXPECT_EQ(dialogs->records[0].text, QStringLiteral("Device Disconnected!"));
    EXPECT_EQ(form1->LinkLabel->text(), QStringLiteral("OffLine"));
}
