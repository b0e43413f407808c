#pragma once
// A HID backend whose devices are emulated units (and, for the listing, plain
// devices that never answer). HidCtl runs on it exactly as on the real
// backend. Everything happens on the thread that calls it: replies are made
// inside Write() or when the clock advances, and handed to the reader callback
// that HidCtl queues to the user-interface thread.

#include "emulator/EmulatedDevice.h"
#include "link/HidCtl.h"

#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>

class EmulatorBackend : public HidBackend {
public:
    static constexpr quint16 UnitVendor = 0x0483;
    static constexpr quint16 UnitProduct = 0x690E;

    EmulatorBackend();
    ~EmulatorBackend() override;

    // HidBackend
    QList<HidDeviceInfo> Enumerate() override;
    std::unique_ptr<HidConnection> Open(const HidDeviceInfo& info, int* errorCode,
                                        QString* errorText) override;
    void WatchChanges(std::function<void()> changed) override;

    // Plugs in an emulated unit; the returned device lives as long as the
    // backend (also while unplugged).
    EmulatedDevice* PlugUnit(const QString& serial = QString());
    // Plugs in a HID device that is listed but never answers (another product
    // of the same vendor, a keyboard, ...).
    void PlugOther(quint16 vendorId, quint16 productId, const QString& product = QString());
    // Unplugs a device: its open connections fail from now on.
    void Unplug(const QString& path);
    void Unplug(const EmulatedDevice* unit);
    // Plugs a previously unplugged device in again, under a new path as the
    // system would give it.
    void Replug(const EmulatedDevice* unit);
    // Unplugs a unit now and plugs it in again after ms of the clock.
    void VanishFor(const EmulatedDevice* unit, int ms);
    // The unit resets: its open connections fail from now on (the reader with
    // ENODEV when readError), and after ms it is back at the same path. The
    // system's notifications are merged into one at the return (notify) or
    // lost (not notify), so the device list never looks different.
    void ResetUnit(const EmulatedDevice* unit, int ms, bool readError, bool notify = true);
    // Opening the unit fails with this code (EACCES, ...); 0 opens it again.
    void SetOpenError(const EmulatedDevice* unit, int code);

    // Advances every unit's clock, delivers the answers that became due and
    // brings back vanished units whose time has come.
    void AdvanceClock(int ms);

    // For the demo: once the console watches for changes (its event loop
    // exists by then), a 5 ms timer advances the clock by the real time that
    // has passed, so late answers come on time.
    void RunOnRealTime() { realTime_ = true; }

    // The reader of the unit's open connection reports a failed read.
    void RaiseReadError(const EmulatedDevice* unit, int code);

    // Makes writes fail (as if the cable were flaky) without unplugging.
    void SetWriteFailure(bool fail) { failWrites_ = fail; }

    QString PathOf(const EmulatedDevice* unit) const;
    QList<EmulatedDevice*> Units() const;
    int OpenConnections() const;

    // The information listed for an emulated unit.
    static HidDeviceInfo UnitInfo(const QString& path, const QString& serial);

    struct Port;

private:
    void Deliver();
    void Changed();
    Port* Find(const QString& path) const;
    Port* Find(const EmulatedDevice* unit) const;

    QList<std::shared_ptr<Port>> ports_;
    std::function<void()> changed_;
    int nextPath_ = 0;
    bool failWrites_ = false;
    bool realTime_ = false;
    std::unique_ptr<QTimer> clockTimer_;
    std::unique_ptr<QElapsedTimer> elapsed_;
    qint64 advancedMs_ = 0;
};
