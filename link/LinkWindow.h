#pragma once
// The link window: never shown; hosts the HID component, the diagnostic lists,
// the choice of the unit in use and the link session that talks to it.

#include "link/HidCtl.h"
#include "link/LinkSession.h"

#include <QString>
#include <QWidget>

#include <memory>

class QLineEdit;
class QListWidget;
class QPushButton;
class QTimer;

constexpr uint16_t DeviceVendorId = 0x0483;
constexpr uint16_t DeviceProductId = 0x690E;

// Lines kept in the link history; older ones are dropped so that a console left
// connected for days does not grow.
constexpr int HistoryMaxLines = 5000;

class TForm9 : public QWidget {
    Q_OBJECT
public:
    // images: the parameter images the link reads into and uploads from.
    TForm9(ParamModel& images, std::unique_ptr<HidBackend> backend, QWidget* parent = nullptr);
    ~TForm9() override;

    // ---- Controls ----
    HidCtl* Hid = nullptr; // the HID component ("HidCtl")
    QListWidget* DevListBox = nullptr;
    QListWidget* HistoryListBox = nullptr;
    QLineEdit* ReportID = nullptr;
    QPushButton* LinkBtn = nullptr;
    QPushButton* RzButton14 = nullptr;
    // 1000 ms: lists the devices again while the unit fails or is refused.
    QTimer* RelistTimer = nullptr;

    // ---- Transport ----
    THidDevice* CurrentDevice = nullptr;
    THidDevice* RxDevice = nullptr;
    int Ndata = 0;
    QList<THidDevice*> DevListDevices; // the device attached to each DevListBox entry
    int HistoryScrollWidth = 0;
    bool RelistDue = false;    // the device in use failed since the last re-list
    bool RelistQueued = false; // a re-list waits in the event queue
    int RefusedOpenError = 0;  // open error of the listed unit not opened, 0 if none

    // ---- The link's state machine ----
    LinkSession* Session = nullptr;

    // ---- Choice of the unit among several ----
    // The unit to use when it is listed: its serial number, else its path;
    // empty: the last one listed.
    QString PreferredUnit;
    static QString UnitKey(const HidDeviceInfo& info);
    // The unit of this DevListBox row is used from now on: the one in use is
    // checked in and the devices listed again, which connects to the chosen one.
    void ChooseUnit(int row);

    // ---- Transport handlers (LinkWindow.cpp) ----
    void HidCtlDeviceChange(QObject* Sender);
    bool HidCtlEnumerate(const HidDeviceInfo& HidDev, int Idx);
    void HidCtlDeviceData(THidDevice* HidDev, quint8 reportId, const QByteArray& Data);
    void HidCtlDeviceDataError(THidDevice* HidDev, int Error, const QString& text);
    void HidCtlRemoval(THidDevice* HidDev);
    void HidCtlArrival(const HidDeviceInfo& HidDev);
    void HIDDeviceStaus(int Nindex);
    static QString DeviceName(const HidDeviceInfo& HidDev);
    void AddToHistory(const QString& Str);
    void RzButton14Click(QObject* Sender);
    // The program ends: no timer runs any more, the readers stop and every
    // device is checked in (closed); device changes are no longer followed.
    void StopLink();
    // A read error or a failed write on the device in use: check it in and
    // re-list (at once, then at most once a RelistTimer period).
    void DeviceFailed(THidDevice* HidDev);
    // Releases every device and lists them again, as a device change does.
    void Relist();
    void RelistTimerTimer(QObject* Sender);

    // Link button: a unit in use is linked; with none, the devices are listed again.
    void LinkBtnClick(QObject* Sender);

signals:
    // After every listing: the units that can be used, by name and DevListBox
    // row, and the index of the one in use among them (-1 for none).
    void UnitsListed(const QStringList& names, const QList<int>& rows, int current);
    // The user chose a unit; serial is empty for a unit without one.
    void UnitChosen(const QString& serial);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Writes one report at the device's output length; logs a failure.
    // Returns the bytes written, 0 when nothing was.
    int WriteToDevice(const Report& report);
    void ReleaseDevices();
    bool stopped_ = false;
    // A matching unit is listed but could not be opened: say why, once.
    void ShowOpenRefused(THidDevice* dev);
};

// The single link window; set while it exists.
extern TForm9* Form9;

