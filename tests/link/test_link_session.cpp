// The link session on its own: no window, no widget library. Its writer hands
// each report to the emulated unit, whose answers go back to ParseReply; time is
// stepped through the timer handlers.
#include "emulator/EmulatedDevice.h"
#include "link/LinkSession.h"
#include "params/ParamImage.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>

#include <vector>

namespace {

class SessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        session = std::make_unique<LinkSession>(
            Params,
            [this](const Report& r) {
                if (!plugged) return 0;
                unit.Receive(r.data(), r.size());
                return 64;
            },
            [] { return QTime(10, 20, 30, 405); });
        QObject::connect(session.get(), &LinkSession::HistoryLine,
                         [this](const QString& l) { history << l; });
        QObject::connect(session.get(), &LinkSession::StatusShown,
                         [this](int kind, const QString&, int) { kinds.push_back(kind); });
        QObject::connect(session.get(), &LinkSession::TransferFinished, [this](int mode) {
            finished.push_back(mode);
            stateAtFinish = session->LinkState;
        });
        QObject::connect(session.get(), &LinkSession::LevelsChanged,
                         [this](int, int) { ++levels; });
        QObject::connect(session.get(), &LinkSession::ChecksumMismatch,
                         [this](const QStringList& lines) { mismatch = lines; });
    }

    // Answers due on the unit's clock reach the session.
    void Answer() {
        for (const auto& reply : unit.TakeDueReplies())
            session->ParseReply(QByteArray(reinterpret_cast<const char*>(reply.data()),
                                           static_cast<qsizetype>(reply.size())));
    }
    void Step(int ms) {
        for (int t = 0; t < ms; t += 25) {
            clock += 25;
            unit.AdvanceClock(25);
            Answer();
            if (session->HoldTimer->isActive()) session->HoldTimerTimer(nullptr);
            Answer();
            if (clock % 50 == 0 && session->Timer2->isActive()) session->Timer2Timer(nullptr);
            Answer();
            if (clock % 1000 == 0 && session->Timer1->isActive()) session->Timer1Timer(nullptr);
            Answer();
        }
    }
    void Connect() {
        session->LinkState = Offline;
        session->StartLink();
        Answer();
        for (int i = 0; i < 400 && session->LinkState != Online; ++i)
            Step(25);
    }
    int CommandsTo(int address) const {
        int n = 0;
        for (const auto& r : unit.ReceivedFrames())
            n += r.bytes[0] == FrameHead && r.accepted && (r.bytes[4] << 8 | r.bytes[5]) == address;
        return n;
    }

    EmulatedDevice unit;
    bool plugged = true;
    std::unique_ptr<LinkSession> session;
    QStringList history, mismatch;
    std::vector<int> kinds, finished;
    int stateAtFinish = -1, levels = 0, clock = 0;
};

TEST_F(SessionTest, ConnectsWithTheClocksMaskAndReadsTheUnitWhole) {
    unit.Live()[1][20] = 1234;
    Connect();
    ASSERT_EQ(session->LinkState, Online);
    EXPECT_EQ(unit.Mask(), MakeLinkMask(10, 20, 30, 405)); // the injected clock's time of day
    EXPECT_EQ(Params.DeviceImage[1][20], 1234);
    // The screen is refreshed from a settled image, before the link is online.
    EXPECT_EQ(finished, std::vector<int>{0});
    EXPECT_EQ(stateAtFinish, Offline);
    EXPECT_EQ(kinds.back(), 3);
    for (const auto& r : unit.ReceivedFrames())
        EXPECT_TRUE(r.accepted);
    EXPECT_TRUE(session->HoldTimer->isActive());
}

TEST_F(SessionTest, QueuesBehindTheFrameInFlightAndSendsEachFinalValueOnce) {
    Connect();
    unit.ClearReceived();
    unit.Misbehave().replyDelayMs = 60;
    session->QueueWrite(0x120, 1);
    session->QueueWrite(0x121, 2);
    session->QueueWrite(0x121, 3); // supersedes the waiting 2
    session->QueueWrite(0x122, 4);
    EXPECT_EQ(CommandsTo(0x120), 1);
    EXPECT_EQ(CommandsTo(0x121), 0);
    Step(500);
    EXPECT_EQ(unit.Param(1, 0x21), 3);
    EXPECT_EQ(unit.Param(1, 0x22), 4);
    EXPECT_EQ(session->QueueCount, 0);
}

TEST_F(SessionTest, NoDeviceMeansNoHistoryLineAndAnUnansweredConnectFails) {
    plugged = false;
    bool dropped = false;
    QObject::connect(session.get(), &LinkSession::LinkDropped, [&] { dropped = true; });
    session->LinkState = Offline;
    session->StartLink();
    Step(2000);
    EXPECT_TRUE(history.isEmpty());
    EXPECT_TRUE(unit.ReceivedFrames().empty());
    EXPECT_FALSE(dropped); // still waiting for the unit's first answer
    session->LinkAck = 1;  // a start sign answered, then silence
    Step(7000);
    EXPECT_TRUE(dropped);
    EXPECT_FALSE(session->Timer2->isActive());
}

TEST_F(SessionTest, RepliesMoveTheMetersEveryOtherTimeAndReportABadChecksum) {
    Connect();
    levels = 0;
    unit.SetFixedLevels(std::make_pair(uint8_t{200}, uint8_t{100}));
    Step(2000); // keep-alive polls, each answered with levels
    EXPECT_GT(levels, 0);
    EXPECT_LT(levels, session->MeterIndex + 40); // not one per reply

    unit.Misbehave().corruptChecksum = true;
    session->PCtoMCUAckSign(SignalPoll);
    unit.AdvanceClock(0);
    Answer();
    ASSERT_EQ(mismatch.size(), 3);
    EXPECT_TRUE(mismatch[1].startsWith(QStringLiteral("校验数据匹配不一致:")));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv); // timers need one; no widgets are made
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
