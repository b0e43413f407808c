#pragma once
// The production HID backend on hidapi (hidraw on Linux). Device arrival and
// removal come from a udev monitor where libudev is available, otherwise from
// comparing the device list once a second.

#include "link/HidCtl.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

class QSocketNotifier;
class QTimer;
struct hid_device_;
struct udev;
struct udev_monitor;

std::unique_ptr<HidBackend> MakeHidapiBackend();

class HidapiBackend : public HidBackend {
public:
    HidapiBackend();
    ~HidapiBackend() override;

    QList<HidDeviceInfo> Enumerate() override;
    std::unique_ptr<HidConnection> Open(const HidDeviceInfo& info, int* errorCode,
                                        QString* errorText) override;
    void WatchChanges(std::function<void()> changed) override;

    // Without a udev monitor: the one-second poll, null otherwise. Every tick
    // asks HidCtl to compare, which alone keeps the list it last acted on.
    QTimer* PollTimer() const { return pollTimer_.get(); }
    void PollTimerTimer();

    // Folder of the hidraw nodes' sysfs entries, where report descriptors are
    // read on Linux ("/sys/class/hidraw").
    void SetSysfsRoot(const QString& root) { sysfsRoot_ = root; }

private:
    void ReadLengths(hid_device_* dev, const HidDeviceInfo& info, int* input, int* output,
                     QString* note) const;
    bool StartUdevMonitor();

    bool initialised_ = false;
    std::function<void()> changed_;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::unique_ptr<QTimer> pollTimer_;
    QString sysfsRoot_;
    ::udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
};

// Input and output report lengths (report-ID byte included) that a HID report
// descriptor declares for one report ID; 0 where it declares none. For a
// descriptor without report IDs the lengths of its single report are given,
// with the 0 byte hidapi puts in front counted.
// A declared length of no bytes, or above what a HID report can be, makes the
// descriptor unreadable: impossible is set and both lengths are 0.
struct HidReportLengths {
    int input = 0;
    int output = 0;
    bool impossible = false;
};
// The largest report hidraw carries (report-ID byte included).
constexpr int kMaxHidReportLength = 16384;
HidReportLengths ParseReportDescriptor(const uint8_t* descriptor, std::size_t size, int reportId);
