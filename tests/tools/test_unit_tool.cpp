// kalviren-unit against emulated units, its time stepped through the timer
// handlers; where it must match the console, the console runs beside it.
#include "app/SingleInstance.h"
#include "params/ParamCatalog.h"
#include "tests/support/LinkFixture.h"
#include "tools/unit/UnitLink.h"
#include "tools/unit/UnitTool.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <sys/stat.h>

namespace {

using FrameList = std::vector<EmulatedDevice::Received>;

// One run of the program over a bus of its own.
struct ToolRun {
    explicit ToolRun(const QString& lockPath = QString()) {
        auto owned = std::make_unique<EmulatorBackend>();
        bus = owned.get();
        tool = std::make_unique<UnitTool>(std::move(owned), lockPath);
    }
    void Step() {
        clock += 25;
        bus->AdvanceClock(25);
        QCoreApplication::sendPostedEvents();
        for (UnitLink* link : tool->Links()) {
            LinkSession* s = link->Session;
            if (s->HoldTimer->isActive()) s->HoldTimerTimer(s->HoldTimer);
            QCoreApplication::sendPostedEvents();
            if (clock % 50 == 0 && s->Timer2->isActive()) s->Timer2Timer(s->Timer2);
            QCoreApplication::sendPostedEvents();
            if (clock % 1000 == 0 && s->Timer1->isActive()) s->Timer1Timer(s->Timer1);
            QCoreApplication::sendPostedEvents();
            answerMs[link] = link->AnswerTimer->isActive() ? answerMs[link] + 25 : 0;
            if (answerMs[link] >= link->AnswerTimer->interval()) link->AnswerTimerTimer();
            QCoreApplication::sendPostedEvents();
        }
    }
    // Steps until the program is done or the condition holds (100 s at most).
    void StepUntil(const std::function<bool()>& until = [] { return false; }) {
        for (int i = 0; i < 4000 && !tool->Done() && !until(); ++i)
            Step();
    }
    int Run(const QStringList& args) {
        tool->Start(args);
        StepUntil();
        return tool->ExitCode();
    }
    QString Out() const { return QString::fromUtf8(tool->Out); }
    QString Err() const { return QString::fromUtf8(tool->Err); }

    EmulatorBackend* bus = nullptr;
    std::unique_ptr<UnitTool> tool;
    std::map<UnitLink*, int> answerMs;
    int clock = 0;
};

int AddressOf(const EmulatedDevice::Received& r) {
    return r.bytes[4] << 8 | r.bytes[5];
}

int CommandsTo(const FrameList& frames, int address) {
    int n = 0;
    for (const auto& r : frames)
        n += r.bytes[0] == FrameHead && r.accepted && AddressOf(r) == address;
    return n;
}

// The upload: from its first bulk packet to the signal that closes it.
FrameList Upload(const FrameList& frames) {
    FrameList out;
    for (const auto& r : frames) {
        if (out.empty() && !(r.bytes[0] == FrameHead && AddressOf(r) == BulkAddress)) continue;
        out.push_back(r);
        if (AddressOf(r) == SignalAddress && r.bytes[7] == SignalWriteDone) break;
    }
    return out;
}

class UnitTool_ : public LinkFixture {
protected:
    void SetUp() override {
        LinkFixture::SetUp();
        WritePreset(204); // band2.freq, 1000 Hz
    }
    // The factory set with band2.freq and band2.gain (-2.4 dB) changed.
    void WritePreset(int band2Freq) {
        PresetImage image{};
        for (int m = 1; m <= 3; ++m)
            for (int s = 0; s <= PresetSlotBound[m]; ++s)
                image[m][s] = EmulatedDevice::FactorySet()[m][s];
        image[1][26] = band2Freq;
        image[1][FindParamByKey("band2.gain")->Index] = 108;
        const std::string bytes = BuildPresetFile(image, 0);
        QFile f(preset);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
    QTemporaryDir dir;
    QString preset = dir.filePath(QStringLiteral("tune.Nddt"));
};

} // namespace

TEST_F(UnitTool_, PullWritesTheUnitsMemoryAfterTheConsolesConnectRead) {
    ToolRun run;
    EmulatedDevice* u = run.bus->PlugUnit(QStringLiteral("SN1"));
    for (int s = 0; s < 70; ++s)
        u->Live()[1][s] = static_cast<uint16_t>(s * 7 + 3);
    u->Live()[3][1] = 4242;
    ASSERT_EQ(run.Run({QStringLiteral("pull")}), 0) << run.Err().toStdString();

    const PresetContents pulled = CheckPresetFile(run.tool->Out.toStdString());
    ASSERT_EQ(pulled.Status, PresetStatus::Ok);
    ASSERT_EQ(pulled.Entries.size(), std::size_t(PresetParamLines));
    for (const PresetEntry& e : pulled.Entries)
        EXPECT_EQ(e.Value, u->Live()[e.Module][e.Slot]) << e.Module << ":" << e.Slot;
    // The start sign, 17 read requests and the closing signal; nothing written.
    EXPECT_EQ(u->ReceivedFrames().size(), 1u + 17u + 1u);
    EXPECT_EQ(CommandsTo(u->ReceivedFrames(), ReadAddress), 17);
}

TEST_F(UnitTool_, PushWritesTheLoadButtonsFramesThenVerifiesAndStoresOnTheAnswer) {
    ConnectUnit();
    ClearFrames();
    dialogs->fileNames = {preset};
    click(form1->LoadFileBtn);
    Step(3000);
    const FrameList console = Upload(Frames());
    ASSERT_EQ(console.size(), 16u);

    ToolRun run;
    EmulatedDevice* u = run.bus->PlugUnit(QStringLiteral("SN1"));
    u->Misbehave().replyDelayMs = 200;
    run.tool->Start({QStringLiteral("push"), preset, QStringLiteral("--store")});
    run.StepUntil([&] { return CommandsTo(u->ReceivedFrames(), MemorySaveAddress) > 0; });
    EXPECT_FALSE(run.tool->Done()); // the save is sent, not yet answered
    run.StepUntil();
    EXPECT_EQ(run.tool->ExitCode(), 0) << run.Err().toStdString();
    EXPECT_EQ(run.Out(), QStringLiteral("SN1: ok (written, verified, stored)\n"));
    EXPECT_EQ(u->StoreCount(), 1);
    EXPECT_EQ(u->Stored()[1][26], 204);

    const FrameList pushed = Upload(u->ReceivedFrames());
    ASSERT_EQ(pushed.size(), console.size());
    for (std::size_t i = 0; i < pushed.size(); ++i) // the checksum follows the mask
        EXPECT_TRUE(std::equal(pushed[i].bytes.begin(), pushed[i].bytes.end() - 1,
                               console[i].bytes.begin()))
            << "frame " << i;
}

TEST_F(UnitTool_, VerifyCatchesAUnitThatAltersAValue) {
    ToolRun run;
    EmulatedDevice* u = run.bus->PlugUnit(QStringLiteral("SN1"));
    run.tool->Start({QStringLiteral("push"), preset});
    run.StepUntil([&] { return Upload(u->ReceivedFrames()).size() == 16; });
    u->Live()[1][26] = 205;
    run.StepUntil();
    EXPECT_EQ(run.tool->ExitCode(), 1);
    EXPECT_TRUE(run.Err().startsWith(QStringLiteral(
        "kalviren-unit: SN1: verify failed: band2.freq reads 205, written 204")))
        << run.Err().toStdString();
}

TEST_F(UnitTool_, AllPushesEveryUnitAndNamesTheOneThatFailed) {
    ToolRun run;
    EmulatedDevice* a = run.bus->PlugUnit(QStringLiteral("A"));
    run.bus->PlugUnit(QStringLiteral("B"))->Misbehave().silent = true;
    EmulatedDevice* c = run.bus->PlugUnit(QStringLiteral("C"));
    EXPECT_EQ(run.Run({QStringLiteral("push"), preset, QStringLiteral("--all")}), 1);
    EXPECT_EQ(run.Out(), QStringLiteral("A: ok (written, verified)\n"
                                        "B: failed (no answer to the start sign)\n"
                                        "C: ok (written, verified)\n"));
    EXPECT_EQ(run.Err(), QStringLiteral("kalviren-unit: B: no answer to the start sign\n"));
    EXPECT_EQ(a->Live()[1][26], 204);
    EXPECT_EQ(c->Live()[1][26], 204);

    ToolRun again; // without --all or --unit several units are not guessed at
    EXPECT_EQ((again.bus->PlugUnit(), again.bus->PlugUnit(), again.Run({QStringLiteral("push"), preset})), 2);
}

// The file is read and checked as the console's loader does before any unit
// is touched: a FIFO is refused at once, a value no control sets only with --force.
TEST_F(UnitTool_, AFifoIsRefusedAtOnceAndAValueNoControlSetsNeedsForce) {
    const QString fifo = dir.filePath(QStringLiteral("fifo.Nddt"));
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    ToolRun run;
    EmulatedDevice* u = run.bus->PlugUnit(QStringLiteral("SN1"));
    EXPECT_EQ(run.Run({QStringLiteral("push"), fifo}), 1);
    EXPECT_EQ(run.Err(), QStringLiteral("kalviren-unit: %1: not a regular file\n").arg(fifo));
    EXPECT_TRUE(u->ReceivedFrames().empty());

    WritePreset(60000); // fits the slot, no control sets it
    ToolRun refused;
    refused.bus->PlugUnit(QStringLiteral("SN1"));
    EXPECT_EQ(refused.Run({QStringLiteral("push"), preset}), 1);
    EXPECT_TRUE(refused.Err().endsWith(QStringLiteral("--force writes them anyway): band2.freq=60000\n")))
        << refused.Err().toStdString();
    ToolRun forced;
    EmulatedDevice* v = forced.bus->PlugUnit(QStringLiteral("SN1"));
    EXPECT_EQ(forced.Run({QStringLiteral("push"), preset, QStringLiteral("--force")}), 0)
        << forced.Err().toStdString();
    EXPECT_EQ(v->Live()[1][26], 60000);
}

TEST_F(UnitTool_, SetByNameSendsTheFrameOfTheMatchingEditAndGetReadsItBack) {
    ConnectUnit();
    ClearFrames();
    typeInto(form1->MusFreEdit3, QStringLiteral("1000"));
    Step(500);
    const int address = FindParamByKey("band3.freq")->Address();
    ASSERT_EQ(CommandsTo(Frames(), address), 1);

    ToolRun run;
    EmulatedDevice* u = run.bus->PlugUnit();
    ASSERT_EQ(run.Run({QStringLiteral("set"), QStringLiteral("band3.freq=1000")}), 0)
        << run.Err().toStdString();
    ASSERT_EQ(CommandsTo(u->ReceivedFrames(), address), 1);
    auto sent = [address](const FrameList& frames) {
        return *std::find_if(frames.begin(), frames.end(),
                             [address](const auto& r) { return AddressOf(r) == address; });
    };
    const auto mine = sent(u->ReceivedFrames()), theirs = sent(Frames());
    EXPECT_TRUE(std::equal(mine.bytes.begin() + 1, mine.bytes.begin() + 8, theirs.bytes.begin() + 1));

    ToolRun get; // the unit's value in user units, and raw by address
    get.bus->PlugUnit()->Live()[1][address % 256] = 204;
    get.Run({QStringLiteral("get"), QStringLiteral("band3.freq"), QStringLiteral("0x%1").arg(address, 0, 16)});
    EXPECT_EQ(get.Out(), QStringLiteral("band3.freq=1000.0 Hz\n0x%1=204\n").arg(address, 0, 16));

    // A raw value the console's controls cannot give is refused before any unit is touched.
    ToolRun refused;
    EmulatedDevice* v = refused.bus->PlugUnit();
    const int gain = FindParamByKey("band3.gain")->Address();
    EXPECT_EQ(refused.Run({QStringLiteral("set"), QStringLiteral("%1=60000").arg(gain)}), 2);
    EXPECT_TRUE(v->ReceivedFrames().empty());
}

TEST_F(UnitTool_, ARunningConsoleKeepsItsUnitsAndIsNamed) {
    SingleInstance console(dir.path(), QStringLiteral("kalviren-console"));
    ASSERT_TRUE(console.TryBecomeFirst());
    ToolRun run(dir.filePath(QStringLiteral("kalviren-console.lock")));
    EmulatedDevice* u = run.bus->PlugUnit(QStringLiteral("SN1"));
    EXPECT_EQ(run.Run({QStringLiteral("pull")}), 1);
    EXPECT_TRUE(run.Err().contains(QStringLiteral("held by %1 (pid %2")
                                       .arg(QFileInfo(QCoreApplication::applicationFilePath()).fileName())
                                       .arg(QCoreApplication::applicationPid())))
        << run.Err().toStdString();
    EXPECT_TRUE(u->ReceivedFrames().empty());
}
