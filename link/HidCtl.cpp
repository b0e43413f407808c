#include "link/HidCtl.h"

#include <QMetaObject>

HidConnection::~HidConnection() = default;
HidBackend::~HidBackend() = default;

namespace {

bool SameDevice(const HidDeviceInfo& a, const HidDeviceInfo& b) {
    return a.path == b.path && a.vendorId == b.vendorId && a.productId == b.productId;
}

bool Contains(const QList<HidDeviceInfo>& list, const HidDeviceInfo& info) {
    for (const HidDeviceInfo& other : list) {
        if (SameDevice(other, info)) {
            return true;
        }
    }
    return false;
}

} // namespace

// ---------------------------------------------------------------------------

THidDevice::THidDevice(HidCtl* owner, HidDeviceInfo info, std::unique_ptr<HidConnection> connection)
    : QObject(owner), Info(std::move(info)), connection_(std::move(connection)),
      alive_(std::make_shared<std::atomic<bool>>(true)) {}

THidDevice::~THidDevice() {
    alive_->store(false);
    if (connection_) {
        connection_->Close();
    }
}

bool THidDevice::IsOpen() const {
    return connection_ != nullptr && alive_->load();
}

bool THidDevice::WriteReport(const quint8* data, int length, int* errorCode, QString* errorText) {
    if (!IsOpen()) {
        if (errorCode) {
            *errorCode = openErrorCode_;
        }
        if (errorText) {
            *errorText = openErrorText_;
        }
        return false;
    }
    int code = 0;
    QString text;
    const bool ok = connection_->Write(data, length, &code, &text);
    if (errorCode) {
        *errorCode = ok ? 0 : code;
    }
    if (errorText) {
        *errorText = ok ? QString() : text;
    }
    return ok;
}

int THidDevice::OutputReportLength() const {
    return Info.outputReportLength;
}

int THidDevice::InputReportLength() const {
    return Info.inputReportLength;
}

// ---------------------------------------------------------------------------

HidCtl::HidCtl(std::unique_ptr<HidBackend> backend, QObject* parent)
    : QObject(parent), backend_(std::move(backend)) {
    // Notifications may come from a monitor thread; the queued call runs the
    // comparison on the UI thread. The backend dies before this object, so
    // no notification can outlive it.
    backend_->WatchChanges([this] {
        // A burst of notifications collapses into one comparison.
        if (changePending_.exchange(true)) {
            return;
        }
        QMetaObject::invokeMethod(
            this,
            [this] {
                changePending_.store(false);
                HandleDevicesChanged(false);
            },
            Qt::QueuedConnection);
    });
    // The first notification always reaches DeviceChange, so a unit that is
    // already plugged in is found without user action.
    QMetaObject::invokeMethod(
        this, [this] { HandleDevicesChanged(true); }, Qt::QueuedConnection);
}

HidCtl::~HidCtl() {
    const QList<THidDevice*> devices = checkedOut_;
    for (THidDevice* dev : devices) {
        CheckIn(dev);
    }
    backend_.reset();
}

HidBackend& HidCtl::Backend() {
    return *backend_;
}

QList<THidDevice*> HidCtl::CheckedOut() const {
    return checkedOut_;
}

void HidCtl::Enumerate(const std::function<bool(const HidDeviceInfo& info, int idx)>& offer) {
    devices_ = backend_->Enumerate();
    // Work on a copy: the callback may check devices out, which must not
    // disturb the list being walked.
    const QList<HidDeviceInfo> snapshot = devices_;
    for (int i = 0; i < snapshot.size(); ++i) {
        if (!offer(snapshot.at(i), i)) {
            break;
        }
    }
}

THidDevice* HidCtl::CheckOut(int idx) {
    lastErrorCode_ = 0;
    lastErrorText_.clear();
    if (idx < 0 || idx >= devices_.size()) {
        lastErrorCode_ = -1;
        lastErrorText_ = QStringLiteral("No such device index");
        return nullptr;
    }
    const HidDeviceInfo info = devices_.at(idx);
    int code = 0;
    QString text;
    std::unique_ptr<HidConnection> connection = backend_->Open(info, &code, &text);
    HidDeviceInfo opened = info;
    if (connection) {
        connection->ReportLengths(&opened.inputReportLength, &opened.outputReportLength);
    }
    const QString lengthsNote = connection ? connection->ReportLengthsNote() : QString();
    auto* dev = new THidDevice(this, opened, std::move(connection));
    dev->lengthsNote_ = lengthsNote;
    if (!dev->connection_) {
        // Known from the enumeration but not opened for reading and writing:
        // handed out without a reader; its writes fail with the open error.
        dev->openErrorCode_ = code;
        dev->openErrorText_ = text;
        lastErrorCode_ = code;
        lastErrorText_ = text;
    }
    checkedOut_.append(dev);
    if (dev->connection_) {
        const std::shared_ptr<std::atomic<bool>> alive = dev->alive_;
        dev->connection_->StartReading(
            [this, dev, alive](QByteArray report) {
                QMetaObject::invokeMethod(
                    this,
                    [this, dev, alive, report] {
                        // A device checked in after the report was queued is
                        // gone for its user: drop the report.
                        if (alive->load()) {
                            DeliverReport(dev, report);
                        }
                    },
                    Qt::QueuedConnection);
            },
            [this, dev, alive](int error, QString errorText) {
                QMetaObject::invokeMethod(
                    this,
                    [this, dev, alive, error, errorText] {
                        if (alive->load()) {
                            emit DeviceDataError(dev, error, errorText);
                        }
                    },
                    Qt::QueuedConnection);
            });
    }
    return dev;
}

void HidCtl::CheckIn(THidDevice* dev) {
    if (dev == nullptr || !checkedOut_.contains(dev)) {
        return;
    }
    checkedOut_.removeAll(dev);
    dev->alive_->store(false);
    if (dev->connection_) {
        dev->connection_->Close();
    }
    dev->deleteLater();
}

void HidCtl::DeliverReport(THidDevice* dev, const QByteArray& report) {
    if (report.isEmpty()) {
        return;
    }
    emit DeviceData(dev, static_cast<quint8>(report.at(0)), report.mid(1));
}

void HidCtl::HandleDevicesChanged(bool always) {
    const QList<HidDeviceInfo> present = backend_->Enumerate();

    // Removals first, so that the user has logged them before it re-lists.
    const QList<THidDevice*> devices = checkedOut_;
    for (THidDevice* dev : devices) {
        if (!dev->removalReported_ && !Contains(present, dev->Info)) {
            dev->removalReported_ = true;
            emit Removal(dev);
        }
    }
    bool changed = present.size() != known_.size();
    for (const HidDeviceInfo& info : present) {
        if (!Contains(known_, info)) {
            changed = true;
            emit Arrival(info);
        }
    }
    for (const HidDeviceInfo& info : known_) {
        if (!Contains(present, info)) {
            changed = true;
        }
    }
    known_ = present;
    if (changed || always) {
        emit DeviceChange();
    }
}
