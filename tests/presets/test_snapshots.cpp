// Snapshots of the unit: when they are written, how many are kept, what a
// directory that cannot be written does, and a restore as a person does it.
#include "tests/support/LinkFixture.h"

#include "app/SnapshotDialog.h"
#include "params/ParamCatalog.h"
#include "presets/SnapshotStore.h"
#include "presets/Snapshots.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <sys/stat.h>

namespace {

int Slot(const char* key) {
    return FindParamByKey(key)->Index;
}

// The file's values as nddt decode lists them, by module and slot.
std::vector<PresetEntry> Decode(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    const QByteArray bytes = f.readAll();
    const PresetContents c = CheckPresetFile(std::string_view(bytes.constData(), bytes.size()));
    EXPECT_EQ(c.Status, PresetStatus::Ok);
    return c.Entries;
}

int ValueIn(const std::vector<PresetEntry>& entries, int module, int slot) {
    for (const PresetEntry& e : entries)
        if (e.Module == module && e.Slot == slot) return e.Value;
    return -1;
}

} // namespace

class Snapshot : public LinkFixture {
protected:
    void SetUp() override {
        LinkFixture::SetUp();
        ASSERT_TRUE(dir.isValid());
        previousRoot = Snapshots().Root();
        SetSnapshotRoot(dir.path());
    }
    void TearDown() override {
        LinkFixture::TearDown();
        SetSnapshotRoot(previousRoot); // the run's own temporary root
    }
    QList<SnapshotInfo> Files() const {
        FlushSnapshots();
        return Snapshots().List(UnitInUseName());
    }
    QStringList Reasons() const {
        QStringList out;
        for (const SnapshotInfo& s : Files())
            out.prepend(s.Reason); // oldest first
        return out;
    }
    void Reconnect() {
        form9->LinkBtnClick(form9->LinkBtn);
        for (int i = 0; i < 200 && form9->Session->LinkState != Online; ++i)
            Step(25);
    }
    QTemporaryDir dir;
    QString previousRoot;
};

TEST_F(Snapshot, ConnectWritesWhatTheUnitHeldAndAnUnchangedReconnectNothing) {
    const int gain3 = Slot("band3.gain");
    unit->Live()[1][gain3] = 150;
    unit->Live()[3][1] = 4321; // a slot the unit owns
    ConnectUnit();
    ASSERT_EQ(form9->Session->LinkState, Online);
    EXPECT_EQ(Reasons(), QStringList{QStringLiteral("connect")});
    const auto entries = Decode(Files().front().FilePath);
    ASSERT_EQ(entries.size(), 136u);
    for (const PresetEntry& e : entries)
        EXPECT_EQ(e.Value, unit->Live()[e.Module][e.Slot]) << e.Module << " " << e.Slot;
    EXPECT_EQ(ValueIn(entries, 1, gain3), 150);
    EXPECT_EQ(ValueIn(entries, 3, 1), 4321);
    // The emulated unit's serial number names its directory.
    EXPECT_TRUE(Files().front().FilePath.startsWith(dir.path() + QStringLiteral("/")));

    Reconnect();
    ASSERT_EQ(form9->Session->LinkState, Online);
    EXPECT_EQ(Files().size(), 1);
}

TEST_F(Snapshot, RecallWritesTheConsoleBeforeAndTheUnitAfter) {
    const int freq3 = Slot("band3.freq");
    ConnectUnit();
    const int original = unit->Live()[1][freq3];
    typeInto(form1->MusFreEdit3, QStringLiteral("1020"));
    Step(100);
    const int typed = unit->Live()[1][freq3];
    ASSERT_NE(typed, original);

    dialogs->answers = {true};
    QTest::mouseClick(form1->DeviceLoadBtn, Qt::LeftButton);
    for (int i = 0; i < 200 && form9->Session->LinkState != Online; ++i)
        Step(25);
    ASSERT_EQ(form9->Session->LinkState, Online);
    ASSERT_EQ(Reasons(), (QStringList{QStringLiteral("connect"), QStringLiteral("before-recall"),
                                      QStringLiteral("after-recall")}));
    const auto files = Files(); // newest first
    EXPECT_EQ(ValueIn(Decode(files[1].FilePath), 1, freq3), typed);
    EXPECT_EQ(ValueIn(Decode(files[0].FilePath), 1, freq3), unit->Stored()[1][freq3]);
    EXPECT_EQ(ValueIn(Decode(files[0].FilePath), 1, freq3), original);
}

TEST_F(Snapshot, DirectoryThatCannotBeWrittenIsToldOnceAndTheLinkGoesOn) {
    // A file where the directory should be: no one, root included, can make it.
    const QString blocked = dir.filePath(QStringLiteral("blocked"));
    QFile f(blocked);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    SetSnapshotRoot(blocked);
    ConnectUnit();
    EXPECT_EQ(form9->Session->LinkState, Online);
    FlushSnapshots();
    Deliver();
    ASSERT_EQ(dialogs->texts(DialogRecord::Notify).size(), 1);
    EXPECT_TRUE(dialogs->texts(DialogRecord::Notify)[0].contains(blocked));

    dialogs->answers = {true};
    QTest::mouseClick(form1->DeviceResetBtn, Qt::LeftButton); // factory: before and after
    for (int i = 0; i < 200 && form9->Session->LinkState != Online; ++i)
        Step(25);
    FlushSnapshots();
    Deliver();
    EXPECT_EQ(form9->Session->LinkState, Online);
    EXPECT_EQ(dialogs->texts(DialogRecord::Notify).size(), 1);
}

TEST_F(Snapshot, RestoreAsAPersonDoesIt) {
    const int freq3 = Slot("band3.freq");
    ConnectUnit();
    const int original = unit->Live()[1][freq3];
    typeInto(form1->MusFreEdit3, QStringLiteral("1020"));
    Step(100);
    const int typed = unit->Live()[1][freq3];

    QTest::mouseClick(form1->SnapshotBtn, Qt::LeftButton);
    auto* view = form1->findChild<SnapshotDialog*>();
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->SnapshotList->topLevelItemCount(), 1);
    EXPECT_EQ(view->SnapshotList->topLevelItem(0)->text(2), QStringLiteral("1"));
    ASSERT_EQ(view->DifferenceList->count(), 1);
    const ParamEntry& e = *FindParam(256 + freq3);
    EXPECT_EQ(view->DifferenceList->item(0)->text(),
              QString::fromStdString(ParamDisplayName(e, ParamLanguage::Chinese) + ": " +
                                     FormatParamValue(e, original) + " → 1020.0 Hz"));

    // No: nothing reaches the unit, the view stays.
    ClearFrames();
    dialogs->answers = {false};
    QTest::mouseClick(view->RestoreBtn, Qt::LeftButton);
    Step(100);
    EXPECT_TRUE(FramesTo(56).empty());
    EXPECT_EQ(dialogs->records.back().answer, DefaultAnswer::No);
    EXPECT_EQ(unit->Live()[1][freq3], typed);
    ASSERT_TRUE(view->isVisible());

    dialogs->answers = {true};
    QTest::mouseClick(view->RestoreBtn, Qt::LeftButton);
    for (int i = 0; i < 200 && form9->Session->LinkState != Online; ++i)
        Step(25);
    // The whole image from 0x100 on, as a preset load sends it.
    const auto bulk = FramesTo(56);
    ASSERT_EQ(bulk.size(), 15u);
    EXPECT_EQ(bulk.front().bytes[6] << 8 | bulk.front().bytes[7], 0x100);
    const auto& packet = bulk[static_cast<std::size_t>(freq3 / 10)];
    ASSERT_EQ(packet.bytes[6] << 8 | packet.bytes[7], 0x100 + freq3 / 10 * 10);
    const int j = freq3 % 10;
    EXPECT_EQ(packet.bytes[8 + 2 * j] << 8 | packet.bytes[9 + 2 * j], original);
    EXPECT_EQ(unit->Live()[1][freq3], original);
    EXPECT_EQ(Reasons().back(), QStringLiteral("before-restore"));
    Deliver();
    EXPECT_EQ(form1->findChild<SnapshotDialog*>(), nullptr);

    // One undo step brings the typed value back to the unit.
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : form1, Qt::Key_Z,
                    Qt::ControlModifier);
    for (int i = 0; i < 200 && (form9->Session->LinkState != Online || unit->Live()[1][freq3] != typed); ++i)
        Step(25);
    EXPECT_EQ(unit->Live()[1][freq3], typed);
}

// Compare with file reads as a load does: a FIFO is refused at once (a plain
// open would wait for a writer for ever), so is a file larger than a preset.
TEST_F(Snapshot, CompareWithAFifoOrAHugeFileIsRefusedAtOnce) {
    const QString fifo = dir.filePath(QStringLiteral("fifo.Nddt"));
    const QString big = dir.filePath(QStringLiteral("big.Nddt"));
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    QFile f(big);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(64 * 1024 + 1, 'A'));
    f.close();
    dialogs->fileNames = {fifo, big};
    click(form1->CompareFileBtn);
    click(form1->CompareFileBtn);
    ASSERT_EQ(dialogs->records.size(), 4u); // two file dialogs, two notices
    EXPECT_EQ(dialogs->records[1].text, QStringLiteral("无法读取文件"));
    EXPECT_EQ(dialogs->records[1].detail, fifo + QStringLiteral(": Not a regular file"));
    EXPECT_EQ(dialogs->records[3].detail, big + QStringLiteral(": File too large"));
    EXPECT_EQ(form1->findChild<SnapshotDialog*>(), nullptr);
}

TEST(SnapshotFiles, TheOldestGoBeyondTwoHundredAndForeignFilesStay) {
    QTemporaryDir dir;
    SnapshotStore store(dir.path());
    const QDateTime t0(QDate(2026, 12, 10), QTime(4, 0, 0));
    QDir().mkpath(store.UnitDirectory(QStringLiteral("u")));
    QFile notes(QDir(store.UnitDirectory(QStringLiteral("u"))).filePath(QStringLiteral("notes.Nddt")));
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.close();
    for (int i = 0; i < 201; ++i)
        ASSERT_EQ(store.Write(QStringLiteral("u"), "file " + std::to_string(i), QStringLiteral("connect"),
                              t0.addSecs(i)),
                  SnapshotStore::Result::Written);
    auto list = store.List(QStringLiteral("u"));
    ASSERT_EQ(list.size(), 200);
    EXPECT_EQ(list.back().Time, t0.addSecs(1));
    EXPECT_EQ(list.front().Time, t0.addSecs(200));
    EXPECT_TRUE(notes.exists());
    // The same again is not written; two in one second keep their order.
    EXPECT_EQ(store.Write(QStringLiteral("u"), "file 200", QStringLiteral("connect"), t0.addSecs(300)),
              SnapshotStore::Result::Unchanged);
    ASSERT_EQ(store.Write(QStringLiteral("u"), "x", QStringLiteral("before-recall"), t0.addSecs(400)),
              SnapshotStore::Result::Written);
    ASSERT_EQ(store.Write(QStringLiteral("u"), "y", QStringLiteral("after-recall"), t0.addSecs(400)),
              SnapshotStore::Result::Written);
    list = store.List(QStringLiteral("u"));
    EXPECT_EQ(list[0].Reason, QStringLiteral("after-recall"));
    EXPECT_EQ(list[1].Reason, QStringLiteral("before-recall"));
    EXPECT_EQ(list.back().Time, t0.addSecs(3));
}

TEST(SnapshotFiles, UnitNamesStayInsideTheRoot) {
    EXPECT_EQ(SnapshotUnitName(QStringLiteral("A1B2-C3"), QStringLiteral("DSP"), QStringLiteral("/dev/hidraw0")),
              QStringLiteral("A1B2-C3"));
    const QString hostile = SnapshotUnitName(QStringLiteral("../../etc"), {}, {});
    EXPECT_FALSE(hostile.contains(QLatin1Char('/')));
    EXPECT_FALSE(hostile.startsWith(QLatin1Char('.')));
    EXPECT_NE(hostile, SnapshotUnitName(QStringLiteral("..//..//etc"), {}, {}));
    const QString noSerial = SnapshotUnitName({}, QStringLiteral("KALVIREN DSP"), QStringLiteral("/dev/hidraw3"));
    EXPECT_TRUE(noSerial.startsWith(QStringLiteral("KALVIREN_DSP_dev_hidraw3-")));
    EXPECT_LE(SnapshotUnitName(QString(500, QLatin1Char('x')), {}, {}).size(), 60);
    EXPECT_FALSE(SnapshotUnitName(QStringLiteral(".."), {}, {}).isEmpty());
    EXPECT_NE(SnapshotUnitName(QStringLiteral(".."), {}, {}), QStringLiteral(".."));
}
