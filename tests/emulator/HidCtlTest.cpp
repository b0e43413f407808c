// The HID component over the emulated backend: device-change notification,
// check-out and check-in, report delivery through the UI thread's event queue.
#include "link/HidCtl.h"
#include "emulator/EmulatorBackend.h"
#include "link/HidapiBackend.h"

#include <QCoreApplication>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <array>
#include <cerrno>

namespace {

constexpr std::array<uint8_t, 6> kMask = {0x10, 0x20, 0x30, 0x40, 0x50, 0x60};

std::array<uint8_t, 30> StartSign() {
    std::array<uint8_t, 30> b{};
    b[0] = 0x02;
    b[1] = 1;
    b[2] = 0x57;
    b[3] = 7;
    for (int i = 0; i < 6; ++i) {
        b[4 + i] = kMask[i];
        b[10 + i] = static_cast<uint8_t>(kMask[i] ^ 0xC6 ^ i);
    }
    return b;
}

void Deliver() {
    QCoreApplication::sendPostedEvents();
}

class HidCtlTest : public ::testing::Test {
protected:
    HidCtlTest() {
        auto backend = std::make_unique<EmulatorBackend>();
        emu = backend.get();
        ctl = std::make_unique<HidCtl>(std::move(backend));
    }
    ~HidCtlTest() override {
        ctl.reset();
        Deliver();
    }

    // Checks out every listed device, as the link window does.
    QList<THidDevice*> CheckOutAll() {
        QList<THidDevice*> devices;
        ctl->Enumerate([&](const HidDeviceInfo&, int idx) {
            devices.append(ctl->CheckOut(idx));
            return true;
        });
        return devices;
    }

    EmulatorBackend* emu = nullptr;
    std::unique_ptr<HidCtl> ctl;
};

TEST_F(HidCtlTest, DeviceChangeComesOnceAfterConstructionEvenWithNoDevice) {
    QSignalSpy change(ctl.get(), &HidCtl::DeviceChange);
    EXPECT_EQ(change.count(), 0); // not inside the constructor
    Deliver();
    EXPECT_EQ(change.count(), 1);
    Deliver();
    EXPECT_EQ(change.count(), 1);
}

TEST_F(HidCtlTest, PluggingAndUnpluggingRaiseDeviceChange) {
    Deliver();
    QSignalSpy change(ctl.get(), &HidCtl::DeviceChange);
    QSignalSpy arrival(ctl.get(), &HidCtl::Arrival);
    emu->PlugUnit();
    Deliver();
    EXPECT_EQ(change.count(), 1);
    ASSERT_EQ(arrival.count(), 1);
    EXPECT_EQ(arrival.at(0).at(0).value<HidDeviceInfo>().productId, 0x690E);
    emu->Unplug(emu->Units().at(0));
    Deliver();
    EXPECT_EQ(change.count(), 2);
}

TEST_F(HidCtlTest, EnumerateOffersIdentityAndStopsWhenAsked) {
    emu->PlugOther(0x046D, 0xC31C, QStringLiteral("Keyboard"));
    emu->PlugUnit(QStringLiteral("SN1"));
    QList<HidDeviceInfo> seen;
    ctl->Enumerate([&](const HidDeviceInfo& info, int idx) {
        EXPECT_EQ(idx, seen.size());
        seen.append(info);
        return true;
    });
    ASSERT_EQ(seen.size(), 2);
    EXPECT_EQ(seen[0].vendorId, 0x046D);
    EXPECT_EQ(seen[1].vendorId, 0x0483);
    EXPECT_EQ(seen[1].productId, 0x690E);
    EXPECT_EQ(seen[1].serial, QStringLiteral("SN1"));
    EXPECT_EQ(seen[1].inputReportLength, 30);
    EXPECT_EQ(seen[1].outputReportLength, 30);
    int offered = 0;
    ctl->Enumerate([&](const HidDeviceInfo&, int) {
        ++offered;
        return false;
    });
    EXPECT_EQ(offered, 1);
}

TEST_F(HidCtlTest, ReportsArriveOnlyThroughTheEventQueueWithReportIdSplitOff) {
    EmulatedDevice* unit = emu->PlugUnit();
    const auto devices = CheckOutAll();
    ASSERT_EQ(devices.size(), 1);
    THidDevice* dev = devices[0];
    ASSERT_NE(dev, nullptr);
    EXPECT_TRUE(dev->IsOpen());
    EXPECT_EQ(dev->OutputReportLength(), 30);

    QSignalSpy data(ctl.get(), &HidCtl::DeviceData);
    const auto sign = StartSign();
    int code = -1;
    QString text;
    ASSERT_TRUE(dev->WriteReport(sign.data(), 30, &code, &text));
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(unit->Linked());
    EXPECT_EQ(data.count(), 0); // not delivered inside the write
    Deliver();
    ASSERT_EQ(data.count(), 1);
    EXPECT_EQ(data.at(0).at(0).value<THidDevice*>(), dev);
    EXPECT_EQ(data.at(0).at(1).value<quint8>(), 0x01);
    const QByteArray payload = data.at(0).at(2).toByteArray();
    ASSERT_EQ(payload.size(), 29);
    EXPECT_EQ(static_cast<uint8_t>(payload.at(0)), 0x57);
    EXPECT_EQ(static_cast<uint8_t>(payload.at(4)), 0xFF);
}

TEST_F(HidCtlTest, ReportQueuedBeforeCheckInIsNeverDelivered) {
    emu->PlugUnit();
    THidDevice* dev = CheckOutAll().at(0);
    QSignalSpy data(ctl.get(), &HidCtl::DeviceData);
    const auto sign = StartSign();
    ASSERT_TRUE(dev->WriteReport(sign.data(), 30, nullptr, nullptr));
    ctl->CheckIn(dev);
    Deliver();
    EXPECT_EQ(data.count(), 0);
    EXPECT_EQ(emu->OpenConnections(), 0);
    EXPECT_TRUE(ctl->CheckedOut().isEmpty());
}

TEST_F(HidCtlTest, ReadErrorReachesTheUiThreadOnlyWhileCheckedOut) {
    EmulatedDevice* unit = emu->PlugUnit();
    THidDevice* dev = CheckOutAll().at(0);
    QSignalSpy errors(ctl.get(), &HidCtl::DeviceDataError);
    emu->RaiseReadError(unit, EIO);
    EXPECT_EQ(errors.count(), 0);
    Deliver();
    ASSERT_EQ(errors.count(), 1);
    EXPECT_EQ(errors.at(0).at(0).value<THidDevice*>(), dev);
    EXPECT_EQ(errors.at(0).at(1).toInt(), EIO);
    EXPECT_FALSE(errors.at(0).at(2).toString().isEmpty());
    emu->RaiseReadError(unit, EIO);
    ctl->CheckIn(dev);
    Deliver();
    EXPECT_EQ(errors.count(), 1);
}

TEST_F(HidCtlTest, WriteFailureIsReportedWithCodeAndText) {
    emu->PlugUnit();
    THidDevice* dev = CheckOutAll().at(0);
    emu->SetWriteFailure(true);
    int code = 0;
    QString text;
    EXPECT_FALSE(dev->WriteReport(StartSign().data(), 30, &code, &text));
    EXPECT_NE(code, 0);
    EXPECT_FALSE(text.isEmpty());
    emu->SetWriteFailure(false);
    EXPECT_TRUE(dev->WriteReport(StartSign().data(), 30, &code, &text));
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(text.isEmpty());
}

TEST_F(HidCtlTest, LateReplyArrivesWhenTheEmulatorClockReachesIt) {
    EmulatedDevice* unit = emu->PlugUnit();
    unit->Misbehave().replyDelayMs = 300;
    THidDevice* dev = CheckOutAll().at(0);
    QSignalSpy data(ctl.get(), &HidCtl::DeviceData);
    const auto sign = StartSign();
    ASSERT_TRUE(dev->WriteReport(sign.data(), 30, nullptr, nullptr));
    emu->AdvanceClock(299);
    Deliver();
    EXPECT_EQ(data.count(), 0);
    emu->AdvanceClock(1);
    Deliver();
    EXPECT_EQ(data.count(), 1);
}

TEST_F(HidCtlTest, RemovalOfACheckedOutDeviceComesBeforeDeviceChange) {
    Deliver();
    EmulatedDevice* unit = emu->PlugUnit();
    Deliver();
    THidDevice* dev = CheckOutAll().at(0);
    QStringList order;
    QObject::connect(ctl.get(), &HidCtl::Removal, [&](THidDevice* d) {
        EXPECT_EQ(d, dev);
        order << QStringLiteral("removal");
    });
    QObject::connect(ctl.get(), &HidCtl::DeviceChange, [&] { order << QStringLiteral("change"); });
    emu->Unplug(unit);
    Deliver();
    EXPECT_EQ(order, (QStringList{QStringLiteral("removal"), QStringLiteral("change")}));
    int code = 0;
    QString text;
    EXPECT_FALSE(dev->WriteReport(StartSign().data(), 30, &code, &text));
    EXPECT_NE(code, 0);
    EXPECT_FALSE(text.isEmpty());
    ctl->CheckIn(dev);
}

TEST_F(HidCtlTest, VanishedUnitComesBackAfterItsTime) {
    Deliver();
    EmulatedDevice* unit = emu->PlugUnit();
    Deliver();
    CheckOutAll();
    QSignalSpy change(ctl.get(), &HidCtl::DeviceChange);
    QSignalSpy removal(ctl.get(), &HidCtl::Removal);
    emu->VanishFor(unit, 500);
    Deliver();
    EXPECT_EQ(removal.count(), 1);
    EXPECT_EQ(change.count(), 1);
    for (THidDevice* d : ctl->CheckedOut()) {
        ctl->CheckIn(d);
    }
    emu->AdvanceClock(500);
    Deliver();
    EXPECT_EQ(change.count(), 2);
    const auto devices = CheckOutAll();
    ASSERT_EQ(devices.size(), 1);
    ASSERT_TRUE(devices[0]->WriteReport(StartSign().data(), 30, nullptr, nullptr));
    EXPECT_TRUE(unit->Linked()); // a fresh start sign after power-up
}

TEST_F(HidCtlTest, TwoUnitsDeliverEachToItsOwnDevice) {
    EmulatedDevice* first = emu->PlugUnit(QStringLiteral("A"));
    EmulatedDevice* second = emu->PlugUnit(QStringLiteral("B"));
    const auto devices = CheckOutAll();
    ASSERT_EQ(devices.size(), 2);
    QSignalSpy data(ctl.get(), &HidCtl::DeviceData);
    ASSERT_TRUE(devices[1]->WriteReport(StartSign().data(), 30, nullptr, nullptr));
    Deliver();
    ASSERT_EQ(data.count(), 1);
    EXPECT_EQ(data.at(0).at(0).value<THidDevice*>(), devices[1]);
    EXPECT_FALSE(first->Linked());
    EXPECT_TRUE(second->Linked());
}

TEST_F(HidCtlTest, CheckOutOfAStaleIndexGivesNothing) {
    emu->PlugUnit();
    EXPECT_EQ(ctl->CheckOut(0), nullptr); // no enumeration yet
    CheckOutAll();
    EXPECT_EQ(ctl->CheckOut(5), nullptr);
    EXPECT_EQ(ctl->CheckOut(-1), nullptr);
}

TEST_F(HidCtlTest, UnpluggedBetweenListingAndCheckOutIsHandedOutClosed) {
    EmulatedDevice* unit = emu->PlugUnit();
    THidDevice* dev = nullptr;
    ctl->Enumerate([&](const HidDeviceInfo&, int idx) {
        emu->Unplug(unit);
        dev = ctl->CheckOut(idx);
        return true;
    });
    ASSERT_NE(dev, nullptr);
    EXPECT_FALSE(dev->IsOpen());
    int code = 0;
    QString text;
    EXPECT_FALSE(dev->WriteReport(StartSign().data(), 30, &code, &text));
    EXPECT_NE(code, 0);
    EXPECT_FALSE(text.isEmpty());
}

TEST_F(HidCtlTest, BurstOfNotificationsGivesOneDeviceChange) {
    Deliver();
    QSignalSpy change(ctl.get(), &HidCtl::DeviceChange);
    emu->PlugUnit();
    emu->PlugUnit();
    emu->PlugOther(0x0483, 0x5750);
    Deliver();
    EXPECT_EQ(change.count(), 1);
}

// --- Production backend (no hardware needed) ------------------------------

TEST(HidapiBackendTest, EnumerateWorksWithoutDevices) {
    auto backend = MakeHidapiBackend();
    const QList<HidDeviceInfo> devices = backend->Enumerate();
    for (const HidDeviceInfo& info : devices) {
        EXPECT_FALSE(info.path.isEmpty());
    }
}

TEST(ReportDescriptorTest, LengthsOfReportOneIncludeTheIdByte) {
    // Vendor page, report 1: 29 bytes in, 29 out; report 2: 29 bytes out.
    const uint8_t d[] = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01,       //
                         0x85, 0x01, 0x75, 0x08, 0x95, 0x1D, 0x09, 0x01, //
                         0x81, 0x02, 0x09, 0x01, 0x91, 0x02,             //
                         0x85, 0x02, 0x95, 0x1D, 0x09, 0x01, 0x91, 0x02, //
                         0xC0};
    const HidReportLengths one = ParseReportDescriptor(d, sizeof d, 1);
    EXPECT_EQ(one.input, 30);
    EXPECT_EQ(one.output, 30);
    const HidReportLengths two = ParseReportDescriptor(d, sizeof d, 2);
    EXPECT_EQ(two.input, 0);
    EXPECT_EQ(two.output, 30);
}

TEST(ReportDescriptorTest, TruncatedOrEmptyDescriptorIsHarmless) {
    const uint8_t d[] = {0x85, 0x01, 0x75, 0x08, 0x96, 0x1D}; // count item cut short
    const HidReportLengths r = ParseReportDescriptor(d, sizeof d, 1);
    EXPECT_EQ(r.input, 0);
    EXPECT_EQ(r.output, 0);
    const uint8_t longItem[] = {0xFE, 0xF0, 0x00};
    EXPECT_EQ(ParseReportDescriptor(longItem, sizeof longItem, 1).input, 0);
    EXPECT_EQ(ParseReportDescriptor(nullptr, 0, 1).input, 0);
}

// Declared sizes that would wrap the sum round to a small length, or give a
// report no HID device can have, make the descriptor unreadable.
TEST(ReportDescriptorTest, ImpossibleLengthsAreNoLengths) {
    // Report 1 in: (2^32-1)^2 + 2^33 + 63 bits, 2^64 + 64 in all; out: 29 bytes.
    const uint8_t wraps[] = {0x85, 0x01, 0x77, 0xFF, 0xFF, 0xFF, 0xFF, 0x97, 0xFF, 0xFF, 0xFF, 0xFF,
                             0x81, 0x02, 0x77, 0x00, 0x00, 0x00, 0x80, 0x95, 0x04, 0x81, 0x02, 0x75,
                             0x3F, 0x95, 0x01, 0x81, 0x02, 0x75, 0x08, 0x95, 0x1D, 0x91, 0x02};
    const uint8_t huge[] = {0x85, 0x01, 0x75, 0x08, 0x96, 0xFF, 0xFF, 0x91, 0x02}; // 65535 out
    const uint8_t none[] = {0x85, 0x01, 0x75, 0x00, 0x95, 0x05, 0x81, 0x02};       // 0 bits in
    const uint8_t largest[] = {0x85, 0x01, 0x75, 0x08, 0x96, 0xFF, 0x3F, 0x81, 0x02};
    for (const auto& [d, size] : {std::pair{wraps, sizeof wraps}, std::pair{huge, sizeof huge},
                                  std::pair{none, sizeof none}}) {
        const HidReportLengths r = ParseReportDescriptor(d, size, 1);
        EXPECT_TRUE(r.impossible);
        EXPECT_EQ(r.input, 0);
        EXPECT_EQ(r.output, 0);
    }
    const HidReportLengths r = ParseReportDescriptor(largest, sizeof largest, 1);
    EXPECT_FALSE(r.impossible);
    EXPECT_EQ(r.input, 16384);
}

} // namespace
