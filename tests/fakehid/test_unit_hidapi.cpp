// kalviren-unit over the real hidapi backend and a scripted hidapi: the listing
// with its refused unit, and a pull from an emulated unit behind the fake.
#include "emulator/EmulatedDevice.h"
#include "link/HidapiBackend.h"
#include "tests/fakehid/FakeHid.h"
#include "tools/unit/UnitLink.h"
#include "tools/unit/UnitTool.h"

#include <QCoreApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <thread>

namespace {

class UnitHidapi : public ::testing::Test {
protected:
    UnitHidapi() { fakehid::Reset(); }
    ~UnitHidapi() override {
        tool.reset();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(fakehid::OpenHandles(), 0);
        EXPECT_TRUE(fakehid::Violations().empty());
    }
    QByteArray Run(const QStringList& args) {
        tool = std::make_unique<UnitTool>(std::make_unique<HidapiBackend>(), QString());
        QObject::connect(tool->Hid(), &HidCtl::DeviceData, [this] { ++delivered; });
        tool->Start(args);
        return tool->Out;
    }
    // Every answer the unit gave has reached the program: waits for the reader
    // thread (never for a fixed time); a generous limit only ends a hang.
    void Settle() {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        for (; delivered != produced.load() && std::chrono::steady_clock::now() < limit;
             std::this_thread::yield())
            QCoreApplication::sendPostedEvents();
        ASSERT_EQ(delivered, produced.load());
        QCoreApplication::sendPostedEvents(); // what the answers started
    }
    std::unique_ptr<UnitTool> tool;
    int delivered = 0;
    std::atomic<int> produced{0};
};

TEST_F(UnitHidapi, ListsNoneOneAndThreeWithTheRefusedOneSaid) {
    fakehid::Plug({"/dev/hidraw0", 0x046D, 0xC31C, L"Keyboard", L""});
    EXPECT_EQ(Run({QStringLiteral("list")}), QByteArray());
    EXPECT_EQ(tool->ExitCode(), 0);

    fakehid::Plug({"/dev/hidraw1", 0x0483, 0x690E, L"DSP", L"S1"});
    EXPECT_EQ(Run({QStringLiteral("list")}), QByteArray("/dev/hidraw1\tS1\tDSP\tok\n"));

    fakehid::Plug({"/dev/hidraw2", 0x0483, 0x690E, L"DSP", L""});
    fakehid::Plug({"/dev/hidraw3", 0x0483, 0x690E, L"DSP", L"S3"});
    fakehid::SetOpenError("/dev/hidraw2", EACCES);
    EXPECT_EQ(Run({QStringLiteral("list")}).toStdString(),
              "/dev/hidraw1\tS1\tDSP\tok\n"
              "/dev/hidraw2\t-\tDSP\tcannot open: Permission denied\n"
              "/dev/hidraw3\tS3\tDSP\tok\n");
    EXPECT_EQ(Run({QStringLiteral("list"), QStringLiteral("--json")}).count("\"open\": false"), 1);
}

TEST_F(UnitHidapi, PullsAnEmulatedUnitThroughTheBackend) {
    EmulatedDevice unit;
    for (int s = 0; s < 66; ++s)
        unit.Live()[1][s] = static_cast<uint16_t>(1000 + s);
    fakehid::Plug({"/dev/hidraw5", 0x0483, 0x690E, L"DSP", L"S5"});
    fakehid::Respond("/dev/hidraw5", [&](const fakehid::Bytes& written) {
        unit.Receive(written.data(), written.size());
        std::vector<fakehid::Bytes> replies;
        for (const auto& r : unit.TakeDueReplies())
            replies.emplace_back(r.begin(), r.end());
        produced += static_cast<int>(replies.size());
        return replies;
    });
    Run({QStringLiteral("pull"), QStringLiteral("--unit"), QStringLiteral("S5")});
    Settle();
    for (int clock = 25; clock < 10000 && !tool->Done(); clock += 25) {
        LinkSession* s = tool->Links().front()->Session;
        if (s->HoldTimer->isActive()) s->HoldTimerTimer(s->HoldTimer);
        Settle();
        if (clock % 50 == 0 && s->Timer2->isActive()) s->Timer2Timer(s->Timer2);
        Settle();
        if (clock % 1000 == 0 && s->Timer1->isActive()) s->Timer1Timer(s->Timer1);
        Settle();
    }
    ASSERT_EQ(tool->ExitCode(), 0) << tool->Err.constData();
    const PresetContents pulled = CheckPresetFile(tool->Out.toStdString());
    ASSERT_EQ(pulled.Status, PresetStatus::Ok);
    for (const PresetEntry& e : pulled.Entries)
        EXPECT_EQ(e.Value, unit.Live()[e.Module][e.Slot]);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
