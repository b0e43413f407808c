// The hidapi backend and the HID component over the scripted hidapi: the
// backend's reader thread, its locks, errors, opens and the one-second poll.
#include "link/HidapiBackend.h"
#include "tests/fakehid/FakeHid.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <thread>

namespace {

const std::string kUnit = "/dev/hidraw3";

fakehid::Bytes Report(uint8_t tag) {
    fakehid::Bytes r(30, 0);
    r[0] = 0x01;
    r[1] = tag;
    return r;
}

// Waits for the reader thread (never for a fixed time): posted events are
// delivered until the condition holds; a generous limit only ends a hang.
template <typename Pred> bool WaitFor(Pred pred) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!pred()) {
        if (std::chrono::steady_clock::now() > limit) return false;
        std::this_thread::yield();
        QCoreApplication::sendPostedEvents();
    }
    return true;
}

class HidapiBackendTest : public ::testing::Test {
protected:
    HidapiBackendTest() {
        fakehid::Reset();
        fakehid::Plug({kUnit, 0x0483, 0x690E, L"DSP", L"S1"});
    }
    ~HidapiBackendTest() override {
        ctl.reset();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(fakehid::OpenHandles(), 0);
        EXPECT_TRUE(fakehid::Violations().empty());
    }
    void Start() {
        auto owned = std::make_unique<HidapiBackend>();
        backend = owned.get();
        ctl = std::make_unique<HidCtl>(std::move(owned));
        QCoreApplication::sendPostedEvents();
    }
    // Checks out the listed device with this path.
    THidDevice* CheckOut(const std::string& path) {
        THidDevice* dev = nullptr;
        ctl->Enumerate([&](const HidDeviceInfo& info, int idx) {
            if (info.path == QString::fromStdString(path)) dev = ctl->CheckOut(idx);
            return dev == nullptr;
        });
        return dev;
    }

    HidapiBackend* backend = nullptr;
    std::unique_ptr<HidCtl> ctl;
};

TEST_F(HidapiBackendTest, WithoutUdevTheListIsComparedOnceASecond) {
    fakehid::Plug({"/dev/hidraw4", 0x046D, 0xC31C, L"Keyboard", L""});
    Start();
    ASSERT_NE(backend->PollTimer(), nullptr);
    EXPECT_TRUE(backend->PollTimer()->isActive());
    EXPECT_EQ(backend->PollTimer()->interval(), 1000);
    QList<HidDeviceInfo> seen;
    ctl->Enumerate([&](const HidDeviceInfo& info, int) {
        seen.append(info);
        return true;
    });
    ASSERT_EQ(seen.size(), 2);
    EXPECT_EQ(seen[0].path, QStringLiteral("/dev/hidraw3"));
    EXPECT_EQ(seen[0].productId, 0x690E);
    EXPECT_EQ(seen[0].product, QStringLiteral("DSP"));
    EXPECT_EQ(seen[0].serial, QStringLiteral("S1"));

    QSignalSpy change(ctl.get(), &HidCtl::DeviceChange);
    backend->PollTimerTimer();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(change.count(), 0);
    fakehid::Unplug("/dev/hidraw4");
    backend->PollTimerTimer();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(change.count(), 1);

    // The unit resets between two ticks. Its failure made the link re-list
    // while it was away; back at the same path, the next tick must show it.
    THidDevice* dev = CheckOut(kUnit);
    fakehid::Unplug(kUnit);
    ctl->CheckIn(dev);
    ctl->HandleDevicesChanged(true);
    EXPECT_EQ(change.count(), 2);
    fakehid::Plug({kUnit, 0x0483, 0x690E, L"DSP", L"S1"});
    backend->PollTimerTimer();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(change.count(), 3);
    dev = CheckOut(kUnit);
    ASSERT_NE(dev, nullptr);
    EXPECT_TRUE(dev->IsOpen());
    EXPECT_TRUE(dev->WriteReport(Report(7).data(), 30, nullptr, nullptr));
}

TEST_F(HidapiBackendTest, ReportsComeFromTheReaderThreadAndWritesGoOutWhole) {
    Start();
    THidDevice* dev = CheckOut(kUnit);
    ASSERT_NE(dev, nullptr);
    EXPECT_TRUE(dev->IsOpen());
    EXPECT_EQ(fakehid::Opens(kUnit), 2); // a reader handle of its own
    EXPECT_EQ(dev->InputReportLength(), 30);
    EXPECT_EQ(dev->OutputReportLength(), 30);
    QSignalSpy data(ctl.get(), &HidCtl::DeviceData);
    fakehid::Push(kUnit, Report(0x57));
    ASSERT_TRUE(WaitFor([&] { return data.count() == 1; }));
    EXPECT_EQ(data.at(0).at(0).value<THidDevice*>(), dev);
    EXPECT_EQ(data.at(0).at(1).value<quint8>(), 0x01);
    EXPECT_EQ(data.at(0).at(2).toByteArray().size(), 29);
    EXPECT_EQ(static_cast<uint8_t>(data.at(0).at(2).toByteArray().at(0)), 0x57);

    int code = -1;
    QString text;
    ASSERT_TRUE(dev->WriteReport(Report(9).data(), 30, &code, &text));
    EXPECT_EQ(code, 0);
    EXPECT_EQ(fakehid::Written(kUnit), std::vector<fakehid::Bytes>{Report(9)});
}

TEST_F(HidapiBackendTest, OneSharedHandleTakesTurnsBetweenReaderAndWriter) {
    fakehid::SetExclusive(kUnit, true);
    Start();
    THidDevice* dev = CheckOut(kUnit);
    ASSERT_TRUE(dev && dev->IsOpen());
    EXPECT_EQ(fakehid::Opens(kUnit), 1);
    QSignalSpy data(ctl.get(), &HidCtl::DeviceData);
    fakehid::Stream(kUnit, Report(1));
    for (int i = 0; i < 100; ++i)
        ASSERT_TRUE(dev->WriteReport(Report(2).data(), 30, nullptr, nullptr));
    EXPECT_EQ(fakehid::Written(kUnit).size(), 100u);
    EXPECT_TRUE(WaitFor([&] { return data.count() > 0; }));
    fakehid::Stream(kUnit, {});
    EXPECT_TRUE(fakehid::Violations().empty());
}

TEST_F(HidapiBackendTest, CheckInWaitsForTheReadInProgress) {
    Start();
    THidDevice* dev = CheckOut(kUnit);
    ASSERT_TRUE(WaitFor([] { return fakehid::ReadsWaiting(kUnit) == 1; }));
    ctl->CheckIn(dev);
    EXPECT_EQ(fakehid::ReadsWaiting(kUnit), 0);
    EXPECT_EQ(fakehid::OpenHandles(), 0); // closed after the read returned: no violation
}

TEST_F(HidapiBackendTest, ReadAndWriteErrorsCarryCodeAndText) {
    Start();
    THidDevice* dev = CheckOut(kUnit);
    QSignalSpy errors(ctl.get(), &HidCtl::DeviceDataError);
    fakehid::FailReads(kUnit, EIO);
    ASSERT_TRUE(WaitFor([&] { return errors.count() == 1; }));
    EXPECT_EQ(errors.at(0).at(0).value<THidDevice*>(), dev);
    EXPECT_EQ(errors.at(0).at(1).toInt(), EIO);
    EXPECT_EQ(errors.at(0).at(2).toString(), QString::fromLocal8Bit(std::strerror(EIO)));
    // A failed handle keeps failing: the reader stops instead of spinning.
    const int reads = fakehid::ReadsReturned(kUnit);
    ctl->CheckIn(dev);
    EXPECT_EQ(fakehid::ReadsReturned(kUnit), reads);

    fakehid::FailReads(kUnit, 0);
    dev = CheckOut(kUnit);
    fakehid::Unplug(kUnit);
    ASSERT_TRUE(WaitFor([&] { return errors.count() == 2; }));
    EXPECT_EQ(errors.at(1).at(1).toInt(), EIO); // a disconnect sets no errno
    EXPECT_TRUE(errors.at(1).at(2).toString().contains(QStringLiteral("disconnected")));
    int code = 0;
    QString text;
    EXPECT_FALSE(dev->WriteReport(Report(3).data(), 30, &code, &text));
    EXPECT_EQ(code, ENODEV);
    EXPECT_EQ(text, QString::fromLocal8Bit(std::strerror(ENODEV)));
}

TEST_F(HidapiBackendTest, RefusedOpenIsHandedOutClosedAndNeverWritten) {
    for (int refusal : {EACCES, ENODEV}) {
        fakehid::SetOpenError(kUnit, refusal);
        Start();
        THidDevice* dev = CheckOut(kUnit);
        ASSERT_NE(dev, nullptr);
        EXPECT_FALSE(dev->IsOpen());
        EXPECT_EQ(dev->OpenErrorCode(), refusal);
        EXPECT_TRUE(dev->OpenErrorText().contains(QString::fromLocal8Bit(std::strerror(refusal))));
        int code = 0;
        EXPECT_FALSE(dev->WriteReport(Report(4).data(), 30, &code, nullptr));
        EXPECT_EQ(code, refusal);
        EXPECT_TRUE(fakehid::Written(kUnit).empty());
        EXPECT_EQ(fakehid::OpenHandles(), 0);
        ctl.reset();
    }
}

TEST_F(HidapiBackendTest, FailedInitListsNothingAndOpensNothing) {
    fakehid::SetInitFails(true);
    Start();
    EXPECT_TRUE(backend->Enumerate().isEmpty());
    HidDeviceInfo info;
    info.path = QString::fromStdString(kUnit);
    int code = 0;
    EXPECT_EQ(backend->Open(info, &code, nullptr), nullptr);
    EXPECT_EQ(code, ENODEV);
    ctl.reset();
    EXPECT_EQ(fakehid::ExitCalls(), 0);
}

TEST_F(HidapiBackendTest, ReportLengthsComeFromTheSysfsDescriptor) {
    QTemporaryDir root;
    ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("hidraw3/device")));
    QFile file(root.path() + QStringLiteral("/hidraw3/device/report_descriptor"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    // Report 1: 63 bytes in, 63 out.
    const char d[] = {0x06, 0x00, '\xFF', 0x09,   0x01, '\xA1', 0x01, '\x85',
                      0x01, 0x75, 0x08,   '\x95', 0x3F, 0x09,   0x01, '\x81',
                      0x02, 0x09, 0x01,   '\x91', 0x02, '\xC0'};
    file.write(d, sizeof d);
    file.close();
    Start();
    backend->SetSysfsRoot(root.path());
    THidDevice* dev = CheckOut(kUnit);
    EXPECT_EQ(dev->InputReportLength(), 64);
    EXPECT_EQ(dev->OutputReportLength(), 64);
    ASSERT_TRUE(dev->WriteReport(fakehid::Bytes(64, 1).data(), 64, nullptr, nullptr));
    EXPECT_EQ(fakehid::Written(kUnit).at(0).size(), 64u);
    ctl.reset();
    EXPECT_EQ(fakehid::ExitCalls(), 1);
}

// A descriptor declaring an impossible report keeps the frame length and says
// why; a write that hidapi reports shorter than asked is a failed write.
TEST_F(HidapiBackendTest, ImpossibleLengthsAndShortWritesFail) {
    QTemporaryDir root;
    ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("hidraw3/device")));
    QFile file(root.path() + QStringLiteral("/hidraw3/device/report_descriptor"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const char d[] = {'\x85', 0x01, 0x75, 0x08, '\x96', '\xFF', '\xFF', '\x91', 0x02};
    file.write(d, sizeof d);
    file.close();
    Start();
    backend->SetSysfsRoot(root.path());
    THidDevice* dev = CheckOut(kUnit);
    EXPECT_EQ(dev->OutputReportLength(), 30);
    EXPECT_EQ(dev->InputReportLength(), 30);
    EXPECT_EQ(dev->LengthsNote(), "REPORT DESCRIPTOR UNREADABLE: a report of no or more than "
                                  "16384 bytes; using 30 bytes");
    fakehid::ShortWrites(kUnit, 1);
    int code = 0;
    QString text;
    EXPECT_FALSE(dev->WriteReport(Report(5).data(), 30, &code, &text));
    EXPECT_EQ(code, EIO);
    EXPECT_EQ(text, QString::fromLocal8Bit(std::strerror(EIO)));
    fakehid::ShortWrites(kUnit, 0);
    EXPECT_TRUE(dev->WriteReport(Report(6).data(), 30, &code, &text));
}

// The reader calls back from its own thread while the UI thread checks the
// device in and lists again: nothing of a checked-in device is delivered, and
// nothing of it is touched after it is gone (the sanitizer build checks that).
TEST_F(HidapiBackendTest, CheckInRacesAReaderCallingBack) {
    Start();
    fakehid::Stream(kUnit, Report(5));
    int lateReports = 0;
    QObject::connect(ctl.get(), &HidCtl::DeviceData, [&](THidDevice* dev, quint8, QByteArray) {
        if (!ctl->CheckedOut().contains(dev)) ++lateReports;
    });
    for (int round = 0; round < 40; ++round) {
        THidDevice* dev = CheckOut(kUnit);
        ASSERT_NE(dev, nullptr);
        const int reads = fakehid::ReadsReturned(kUnit);
        ASSERT_TRUE(WaitFor([&] { return fakehid::ReadsReturned(kUnit) > reads + round % 5; }));
        if (round % 2 == 0) {
            ctl->CheckIn(dev);
        } else {
            // As the link does after a failure: every device back, list again.
            for (THidDevice* d : ctl->CheckedOut())
                ctl->CheckIn(d);
            ctl->HandleDevicesChanged(true);
        }
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_EQ(lateReports, 0);
    fakehid::Stream(kUnit, {});
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
