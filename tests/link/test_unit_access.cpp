// A unit that resets at the same path, and a unit the system will not let us
// open: what the console writes, shows and logs.
#include "tests/support/LinkFixture.h"

#include "app/MainWindow.h"
#include "app/WindowState.h"
#include "params/ControlProps.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cerrno>

namespace {

int CountReads(const std::vector<EmulatedDevice::Received>& frames) {
    return static_cast<int>(std::count_if(frames.begin(), frames.end(), [](const auto& r) {
        return r.accepted && r.bytes[3] == 0xA0 && r.bytes[5] == 57;
    }));
}

int CountStarting(const QStringList& lines, const QString& prefix) {
    return static_cast<int>(std::count_if(lines.begin(), lines.end(),
                                          [&](const QString& l) { return l.startsWith(prefix); }));
}

} // namespace

class UnitAccessTest : public LinkFixture {
protected:
    // Steps until the unit has been read whole again and the link is up.
    int StepUntilReconnected(int limitMs) {
        int ms = 0;
        while (ms < limitMs && !(form9->Session->LinkState == Online && CountReads(Frames()) == 17)) {
            Step(25);
            ms += 25;
        }
        return ms;
    }
};

TEST_F(UnitAccessTest, UnitResetAtTheSamePathIsOpenedAfreshAndReadAgain) {
    struct Case {
        bool readError;
        int ms;
    };
    for (const Case c : {Case{false, 0}, Case{true, 0}, Case{false, 400}, Case{true, 400}}) {
        SCOPED_TRACE(testing::Message() << "read error " << c.readError << ", " << c.ms << " ms");
        ConnectUnit();
        ASSERT_EQ(form9->Session->LinkState, Online);
        Step(100);
        ClearFrames();
        const int before = static_cast<int>(History().size());
        backend->ResetUnit(unit, c.ms, c.readError);
        const int took = StepUntilReconnected(c.ms + 2000);
        EXPECT_EQ(form9->Session->LinkState, Online);
        EXPECT_EQ(CountReads(Frames()), 17);
        EXPECT_LE(took, c.ms + 2000);
        const QStringList since = History().mid(before);
        EXPECT_LE(CountStarting(since, QStringLiteral("WRITE ERROR")), 1)
            << since.join('\n').toStdString();
        Step(2000); // and it stays up: nothing goes to the dead handle any more
        EXPECT_EQ(CountStarting(History().mid(before), QStringLiteral("WRITE ERROR")),
                  CountStarting(since, QStringLiteral("WRITE ERROR")));
        EXPECT_EQ(form9->Session->LinkState, Online);
        EXPECT_EQ(backend->OpenConnections(), 1);
    }
    EXPECT_TRUE(dialogs->records.empty());
}

TEST_F(UnitAccessTest, LinkButtonFindsAUnitWhoseReturnWentUnnoticed) {
    ConnectUnit();
    backend->ResetUnit(unit, 300, false, /*notify=*/false);
    Step(3000);
    EXPECT_EQ(form9->Session->LinkState, NoDevice);
    EXPECT_EQ(form1->LinkLabel->text(), QStringLiteral("设备未连接"));
    EXPECT_EQ(CountStarting(History(), QStringLiteral("Removal of ")), 1);
    ClearFrames();
    QTest::mouseClick(form1->LinkBtn, Qt::LeftButton);
    EXPECT_LE(StepUntilReconnected(2000), 2000);
    EXPECT_EQ(form9->Session->LinkState, Online);
}

TEST_F(UnitAccessTest, RefusedUnitIsNamedOnceNeverWrittenAndTakenWhenAllowed) {
    backend->SetOpenError(unit, EACCES);
    StartConsole();
    Deliver();
    Step(5000);
    EXPECT_EQ(form9->Session->LinkState, NoDevice);
    EXPECT_EQ(form9->CurrentDevice, nullptr);
    EXPECT_EQ(form1->LinkLabel->text(), QStringLiteral("无法打开设备：没有权限"));
    EXPECT_EQ(Hint(form1->LinkLabel), QStringLiteral("Cannot open the device: permission denied"));
    const QStringList notices = dialogs->texts(DialogRecord::Notify);
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(notices[0].startsWith(QStringLiteral("无法打开设备：没有权限\n")));
    EXPECT_TRUE(notices[0].contains(QStringLiteral("packaging/70-kalviren-dsp.rules")));
    EXPECT_EQ(notices[0].count('\n'), 1);
    const QStringList history = History();
    EXPECT_EQ(CountStarting(history, QStringLiteral("WRITE ERROR")), 0);
    EXPECT_EQ(CountStarting(history, QStringLiteral("W ")), 0);
    EXPECT_EQ(CountStarting(history, QStringLiteral("OPEN ERROR: ")), 1);
    EXPECT_TRUE(Frames().empty());

    // The rule installed: the console opens it by itself (retried once a
    // second, then the start sign's one-second poll).
    backend->SetOpenError(unit, 0);
    EXPECT_LE(StepUntilReconnected(2500), 2000);
    EXPECT_EQ(form1->LinkLabel->text(), QStringLiteral("设备已连接"));
    EXPECT_EQ(dialogs->texts(DialogRecord::Notify).size(), 1);
}

TEST_F(UnitAccessTest, RefusalSpeaksEnglishUnderTheEnglishFlag) {
    Window.LanguageFlag = 0;
    backend->SetOpenError(unit, EACCES);
    StartConsole();
    Deliver();
    EXPECT_EQ(form1->LinkLabel->text(),
              QStringLiteral("Cannot open the device: permission denied"));
    EXPECT_EQ(Hint(form1->LinkLabel), QStringLiteral("无法打开设备：没有权限"));
    const QStringList notices = dialogs->texts(DialogRecord::Notify);
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(
        notices[0].startsWith(QStringLiteral("Cannot open the device: permission denied\n")));
    EXPECT_TRUE(notices[0].contains(QStringLiteral("packaging/70-kalviren-dsp.rules")));
}

TEST_F(UnitAccessTest, OpenedUnitIsUsedWhenALaterListedOneIsRefused) {
    EmulatedDevice* refused = backend->PlugUnit(QStringLiteral("B"));
    backend->SetOpenError(refused, EACCES);
    ConnectUnit();
    EXPECT_EQ(form9->Session->LinkState, Online);
    EXPECT_EQ(form9->CurrentDevice, form9->DevListDevices.at(0));
    EXPECT_TRUE(dialogs->records.empty());
    EXPECT_TRUE(refused->ReceivedFrames().empty());
}

TEST_F(UnitAccessTest, SeveralUnitsAreOfferedAndTheChosenOneIsReadWholeAndKept) {
    // The fixture's unit has no serial number; two more have one.
    EmulatedDevice* a = backend->PlugUnit(QStringLiteral("A-1"));
    EmulatedDevice* b = backend->PlugUnit(QStringLiteral("B-2"));
    QStringList chosen;
    StartConsole();
    QObject::connect(form9, &TForm9::UnitChosen, [&](const QString& s) { chosen << s; });
    ConnectUnit();
    QComboBox* box = form1->UnitChoiceBox;
    ASSERT_TRUE(box->isVisibleTo(form1));
    ASSERT_EQ(box->count(), 3);
    EXPECT_EQ(box->currentIndex(), 2); // the last one listed, as before
    EXPECT_EQ(box->itemText(1), QStringLiteral("A-1"));
    EXPECT_EQ(box->itemData(1, Qt::ToolTipRole).toString(),
              QStringLiteral("A-1 \u2014 ") + backend->PathOf(a));
    EXPECT_EQ(CountReads(b->ReceivedFrames()), 17);

    b->ClearReceived();
    selectCombo(box, 1);
    Step(25);
    EXPECT_EQ(form9->CurrentDevice->Info.serial, QStringLiteral("A-1"));
    for (int i = 0; i < 200 && form9->Session->LinkState != Online; ++i)
        Step(25);
    EXPECT_EQ(CountReads(a->ReceivedFrames()), 17);
    EXPECT_TRUE(b->ReceivedFrames().empty()); // checked in, never written again
    EXPECT_EQ(chosen, QStringList{QStringLiteral("A-1")});

    // A later listing (another device comes) keeps the choice.
    backend->PlugOther(0x046D, 0xC31C);
    Step(25);
    EXPECT_EQ(form9->CurrentDevice->Info.serial, QStringLiteral("A-1"));
    EXPECT_EQ(box->currentIndex(), 1);
}
