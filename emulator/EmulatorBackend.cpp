#include "emulator/EmulatorBackend.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

struct EmulatorBackend::Port {
    HidDeviceInfo info;
    std::unique_ptr<EmulatedDevice> unit; // null for a device that never answers
    bool plugged = true;
    int64_t replugAt = -1; // clock time of a planned return, -1 for none
    bool samePath = false; // the planned return is a reset: same path
    bool notifyReturn = true;
    int openError = 0;
    int64_t clock = 0;
    // The open connection's reader; only one connection reads per port.
    std::function<void(QByteArray)> onReport;
    std::function<void(int, QString)> onError;
    int openCount = 0;
    int generation = 0; // bumped on every unplug: stale connections fail
};

namespace {

class EmulatorConnection : public HidConnection {
public:
    EmulatorConnection(std::shared_ptr<EmulatorBackend::Port> port, const bool* failWrites,
                       std::function<void()> deliver)
        : port_(std::move(port)), generation_(port_->generation), failWrites_(failWrites),
          deliver_(std::move(deliver)) {
        ++port_->openCount;
    }
    ~EmulatorConnection() override { Close(); }

    bool Write(const quint8* data, int length, int* errorCode, QString* errorText) override {
        if (closed_ || !port_->plugged || port_->generation != generation_ || *failWrites_) {
            if (errorCode) {
                *errorCode = closed_ ? EBADF : ENODEV;
            }
            if (errorText) {
                *errorText = QString::fromLocal8Bit(std::strerror(closed_ ? EBADF : ENODEV));
            }
            return false;
        }
        if (data == nullptr || length <= 0) {
            if (errorCode) {
                *errorCode = EINVAL;
            }
            if (errorText) {
                *errorText = QString::fromLocal8Bit(std::strerror(EINVAL));
            }
            return false;
        }
        if (port_->unit) {
            port_->unit->Receive(data, static_cast<std::size_t>(length));
            deliver_();
        }
        return true;
    }

    void StartReading(std::function<void(QByteArray)> onReport,
                      std::function<void(int, QString)> onError) override {
        if (!closed_ && port_->generation == generation_) {
            port_->onReport = std::move(onReport);
            port_->onError = std::move(onError);
            reading_ = true;
        }
    }

    void Close() override {
        if (closed_) {
            return;
        }
        closed_ = true;
        if (reading_ && port_->generation == generation_) {
            port_->onReport = nullptr;
            port_->onError = nullptr;
        }
        --port_->openCount;
    }

private:
    std::shared_ptr<EmulatorBackend::Port> port_;
    int generation_;
    const bool* failWrites_;
    std::function<void()> deliver_;
    bool closed_ = false;
    bool reading_ = false;
};

} // namespace

EmulatorBackend::EmulatorBackend() = default;
EmulatorBackend::~EmulatorBackend() {
    clockTimer_.reset();
}

HidDeviceInfo EmulatorBackend::UnitInfo(const QString& path, const QString& serial) {
    HidDeviceInfo info;
    info.path = path;
    info.vendorId = UnitVendor;
    info.productId = UnitProduct;
    info.product = QStringLiteral("Emulated DSP");
    info.serial = serial;
    info.inputReportLength = EmulatedDevice::ReportSize;
    info.outputReportLength = EmulatedDevice::ReportSize;
    return info;
}

QList<HidDeviceInfo> EmulatorBackend::Enumerate() {
    QList<HidDeviceInfo> list;
    for (const auto& port : ports_) {
        if (port->plugged) {
            list.append(port->info);
        }
    }
    return list;
}

std::unique_ptr<HidConnection> EmulatorBackend::Open(const HidDeviceInfo& info, int* errorCode,
                                                     QString* errorText) {
    Port* port = Find(info.path);
    if (port == nullptr || !port->plugged || port->openError != 0) {
        const int code = port && port->plugged ? port->openError : ENOENT;
        if (errorCode) {
            *errorCode = code;
        }
        if (errorText) {
            *errorText = QString::fromLocal8Bit(std::strerror(code));
        }
        return nullptr;
    }
    for (const auto& p : ports_) {
        if (p.get() == port) {
            return std::make_unique<EmulatorConnection>(p, &failWrites_, [this] { Deliver(); });
        }
    }
    return nullptr;
}

void EmulatorBackend::WatchChanges(std::function<void()> changed) {
    changed_ = std::move(changed);
    if (realTime_ && !clockTimer_) {
        elapsed_ = std::make_unique<QElapsedTimer>();
        elapsed_->start();
        clockTimer_ = std::make_unique<QTimer>();
        clockTimer_->setInterval(5);
        QObject::connect(clockTimer_.get(), &QTimer::timeout, [this] {
            const qint64 now = elapsed_->elapsed();
            const qint64 step = now - advancedMs_;
            if (step > 0) {
                advancedMs_ = now;
                AdvanceClock(static_cast<int>(std::min<qint64>(step, 60000)));
            }
        });
        clockTimer_->start();
    }
}

EmulatedDevice* EmulatorBackend::PlugUnit(const QString& serial) {
    auto port = std::make_shared<Port>();
    port->info = UnitInfo(QStringLiteral("emulated:%1").arg(nextPath_++), serial);
    port->unit = std::make_unique<EmulatedDevice>();
    EmulatedDevice* unit = port->unit.get();
    ports_.append(port);
    Changed();
    return unit;
}

void EmulatorBackend::PlugOther(quint16 vendorId, quint16 productId, const QString& product) {
    auto port = std::make_shared<Port>();
    port->info.path = QStringLiteral("emulated:%1").arg(nextPath_++);
    port->info.vendorId = vendorId;
    port->info.productId = productId;
    port->info.product = product;
    ports_.append(port);
    Changed();
}

void EmulatorBackend::Unplug(const QString& path) {
    Port* port = Find(path);
    if (port == nullptr || !port->plugged) {
        return;
    }
    port->plugged = false;
    port->replugAt = -1;
    port->samePath = false;
    port->onReport = nullptr;
    port->onError = nullptr;
    ++port->generation;
    Changed();
}

void EmulatorBackend::Unplug(const EmulatedDevice* unit) {
    if (Port* port = Find(unit)) {
        Unplug(port->info.path);
    }
}

void EmulatorBackend::Replug(const EmulatedDevice* unit) {
    Port* port = Find(unit);
    if (port == nullptr || port->plugged) {
        return;
    }
    const bool reset = port->samePath;
    const bool notify = !reset || port->notifyReturn;
    port->plugged = true;
    port->replugAt = -1;
    port->samePath = false;
    if (!reset) {
        port->info.path = QStringLiteral("emulated:%1").arg(nextPath_++);
    }
    if (port->unit) {
        port->unit->PowerCycle();
    }
    if (notify) {
        Changed();
    }
}

void EmulatorBackend::ResetUnit(const EmulatedDevice* unit, int ms, bool readError, bool notify) {
    Port* port = Find(unit);
    if (port == nullptr || !port->plugged) {
        return;
    }
    if (readError && port->onError) {
        port->onError(ENODEV, QString::fromLocal8Bit(std::strerror(ENODEV)));
    }
    port->plugged = false;
    port->onReport = nullptr;
    port->onError = nullptr;
    ++port->generation;
    port->samePath = true;
    port->notifyReturn = notify;
    port->replugAt = port->clock + std::max(0, ms);
    if (ms <= 0) {
        Replug(unit);
    }
}

void EmulatorBackend::SetOpenError(const EmulatedDevice* unit, int code) {
    if (Port* port = Find(unit)) {
        port->openError = code;
    }
}

void EmulatorBackend::VanishFor(const EmulatedDevice* unit, int ms) {
    Port* port = Find(unit);
    if (port == nullptr || !port->plugged) {
        return;
    }
    Unplug(port->info.path);
    port->replugAt = port->clock + std::max(0, ms);
}

void EmulatorBackend::AdvanceClock(int ms) {
    QList<EmulatedDevice*> returning;
    for (const auto& port : ports_) {
        port->clock += std::max(0, ms);
        if (port->unit) {
            port->unit->AdvanceClock(ms);
        }
        if (!port->plugged && port->replugAt >= 0 && port->clock >= port->replugAt) {
            returning.append(port->unit.get());
        }
    }
    Deliver();
    for (EmulatedDevice* unit : returning) {
        Replug(unit);
    }
}

void EmulatorBackend::Deliver() {
    // Copy the list: a callback may not change it today, but stay safe.
    const QList<std::shared_ptr<Port>> ports = ports_;
    for (const auto& port : ports) {
        if (!port->unit) {
            continue;
        }
        const std::vector<EmulatedDevice::Report> due = port->unit->TakeDueReplies();
        if (!port->plugged || !port->onReport) {
            continue; // nobody reads: the answers are lost as on a real bus
        }
        for (const EmulatedDevice::Report& r : due) {
            port->onReport(QByteArray(reinterpret_cast<const char*>(r.data()),
                                      static_cast<qsizetype>(r.size())));
        }
    }
}

void EmulatorBackend::RaiseReadError(const EmulatedDevice* unit, int code) {
    Port* port = Find(unit);
    if (port != nullptr && port->onError) {
        port->onError(code, QString::fromLocal8Bit(std::strerror(code)));
    }
}

void EmulatorBackend::Changed() {
    if (changed_) {
        changed_();
    }
}

EmulatorBackend::Port* EmulatorBackend::Find(const QString& path) const {
    for (const auto& port : ports_) {
        if (port->info.path == path) {
            return port.get();
        }
    }
    return nullptr;
}

EmulatorBackend::Port* EmulatorBackend::Find(const EmulatedDevice* unit) const {
    if (unit == nullptr) {
        return nullptr;
    }
    for (const auto& port : ports_) {
        if (port->unit.get() == unit) {
            return port.get();
        }
    }
    return nullptr;
}

QString EmulatorBackend::PathOf(const EmulatedDevice* unit) const {
    const Port* port = Find(unit);
    return port ? port->info.path : QString();
}

QList<EmulatedDevice*> EmulatorBackend::Units() const {
    QList<EmulatedDevice*> units;
    for (const auto& port : ports_) {
        if (port->unit) {
            units.append(port->unit.get());
        }
    }
    return units;
}

int EmulatorBackend::OpenConnections() const {
    int n = 0;
    for (const auto& port : ports_) {
        n += port->openCount;
    }
    return n;
}
