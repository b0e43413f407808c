#pragma once
// HID device control: enumeration, check-out/check-in, synchronous output
// reports, one read thread per opened device with its input reports handed to
// the user-interface thread, and device-change notification. The operating
// system side sits behind HidBackend so the program, the tests and the demo
// share everything above it.

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QtGlobal>

#include <atomic>
#include <functional>
#include <memory>

struct HidDeviceInfo {
    QString path;
    quint16 vendorId = 0, productId = 0;
    QString product, serial;
    // Report lengths include the report-ID byte.
    int inputReportLength = 30, outputReportLength = 30;
};

class HidConnection {
public:
    virtual ~HidConnection();
    // Synchronous output report (data[0] = report ID).
    virtual bool Write(const quint8* data, int length, int* errorCode, QString* errorText) = 0;
    // Starts the reader; callbacks may come from any thread; onReport gets a
    // whole input report (byte 0 = report ID).
    virtual void StartReading(std::function<void(QByteArray)> onReport,
                              std::function<void(int, QString)> onError) = 0;
    // Stops the reader and waits for it, then closes; idempotent.
    virtual void Close() = 0;
    // Report lengths the opened device declares (report-ID byte included);
    // leaves the values alone when the backend cannot tell.
    virtual void ReportLengths(int* inputLength, int* outputLength) const {
        (void)inputLength;
        (void)outputLength;
    }
    // Why the declared lengths were not used (for the link history), or empty.
    virtual QString ReportLengthsNote() const { return {}; }
};

class HidBackend {
public:
    virtual ~HidBackend();
    virtual QList<HidDeviceInfo> Enumerate() = 0;
    virtual std::unique_ptr<HidConnection> Open(const HidDeviceInfo& info, int* errorCode,
                                                QString* errorText) = 0;
    // changed() may be called from any thread.
    virtual void WatchChanges(std::function<void()> changed) = 0;
};

class HidCtl;

class THidDevice : public QObject {
    Q_OBJECT
public:
    HidDeviceInfo Info;
    bool IsOpen() const;
    bool WriteReport(const quint8* data, int length, int* errorCode, QString* errorText);
    int OutputReportLength() const;
    int InputReportLength() const;
    // Why a device handed out closed could not be opened (0 / empty if open).
    int OpenErrorCode() const { return openErrorCode_; }
    QString OpenErrorText() const { return openErrorText_; }
    // Why its report lengths are the defaults although it declared others.
    QString LengthsNote() const { return lengthsNote_; }

private:
    friend class HidCtl;
    THidDevice(HidCtl* owner, HidDeviceInfo info, std::unique_ptr<HidConnection> connection);
    ~THidDevice() override;

    std::unique_ptr<HidConnection> connection_;
    int openErrorCode_ = 0;
    QString openErrorText_;
    QString lengthsNote_;
    bool removalReported_ = false;
    // Guards the reader's view of whether reports may still be delivered.
    std::shared_ptr<std::atomic<bool>> alive_;
};

class HidCtl : public QObject {
    Q_OBJECT
public:
    explicit HidCtl(std::unique_ptr<HidBackend> backend, QObject* parent = nullptr);
    ~HidCtl() override;

    // Offers each present device (index into the current list); stops when the
    // callback returns false.
    void Enumerate(const std::function<bool(const HidDeviceInfo& info, int idx)>& offer);
    // Opens it for read/write and starts its read thread; nullptr if it cannot
    // be identified (no such index). A listed device that cannot be opened is
    // handed out closed: no reader, its writes fail with the open error.
    THidDevice* CheckOut(int idx);
    // Stops its reader (waits), closes it, deletes it later.
    void CheckIn(THidDevice* dev);
    HidBackend& Backend();

    // Last error of CheckOut (code and text from the backend).
    int LastErrorCode() const { return lastErrorCode_; }
    QString LastErrorText() const { return lastErrorText_; }
    // Devices currently checked out.
    QList<THidDevice*> CheckedOut() const;

    // The handler behind the device-change notification: re-reads the device
    // list, raises Removal and Arrival, then DeviceChange when the list differs
    // from the last one seen (or always: the start-up notification, and the
    // link's re-list after its unit failed, which no list comparison shows).
    void HandleDevicesChanged(bool always = false);

signals:
    // All emitted on the UI thread (queued from reader/monitor threads).
    // Once shortly after construction (the first queued event, so the event
    // loop or sendPostedEvents delivers it) and whenever the device set changed.
    void DeviceChange();
    // data = the bytes after the report ID.
    void DeviceData(THidDevice* dev, quint8 reportId, QByteArray data);
    void DeviceDataError(THidDevice* dev, int error, QString text);
    // A checked-out device disappeared (emitted before DeviceChange).
    void Removal(THidDevice* dev);
    void Arrival(const HidDeviceInfo& info);

private:
    void DeliverReport(THidDevice* dev, const QByteArray& report);

    std::unique_ptr<HidBackend> backend_;
    QList<HidDeviceInfo> devices_; // the list CheckOut indexes refer to
    QList<HidDeviceInfo> known_;   // the list the change detection compares with
    QList<THidDevice*> checkedOut_;
    int lastErrorCode_ = 0;
    QString lastErrorText_;
    std::atomic<bool> changePending_{false};
};
