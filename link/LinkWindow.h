#pragma once
// The link window: never shown; hosts the HID component, the three link timers,
// the diagnostic lists and all the state of the device link.

#include "link/Frames.h"
#include "link/HidCtl.h"
#include "link/LinkApi.h"

#include <QString>
#include <QWidget>

#include <memory>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTimer;

// Link signal codes (PCtoMCUAckSign).
constexpr int SignalStart = 0x11;
constexpr int SignalReadDone = 0x22;
constexpr int SignalWriteDone = 0x33;
constexpr int SignalPoll = 0x66;

constexpr uint16_t DeviceVendorId = 0x0483;
constexpr uint16_t DeviceProductId = 0x690E;

// Write packets carry indexes up to this one; values replies store those below it.
constexpr int BulkIndexLimit = 85;

// Send queue: slot 0 is the write in flight, 1..QueueCount the waiting writes.
constexpr int QueueSlots = 497;
constexpr int QueueMaxWaiting = 495;

// Lines kept in the link history; older ones are dropped so that a console left
// connected for days does not grow.
constexpr int HistoryMaxLines = 5000;

class TForm9 : public QWidget {
    Q_OBJECT
public:
    explicit TForm9(std::unique_ptr<HidBackend> backend, QWidget* parent = nullptr);
    ~TForm9() override;

    // ---- Controls ----
    HidCtl* Hid = nullptr; // the HID component ("HidCtl")
    QListWidget* DevListBox = nullptr;
    QListWidget* HistoryListBox = nullptr;
    QLineEdit* ReportID = nullptr;
    QPushButton* LinkBtn = nullptr;
    QPushButton* RzButton14 = nullptr;
    QTimer* Timer1 = nullptr;    // 1000 ms start-sign poll
    QTimer* Timer2 = nullptr;    // 50 ms transfer pump
    QTimer* HoldTimer = nullptr; // 25 ms send queue and keep-alive
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

    // ---- Frames ----
    Report TxBuffer{};
    LinkMaskBytes LinkMask{};

    // ---- Link state and transfer ----
    int LinkState = NoDevice;
    int LinkAck = 0;
    int TransferPhase = 0;
    uint8_t TransferStep = 0;
    uint8_t TransferLastStep = 0;
    uint8_t TransferTicks = 0;
    int TransferAddress = 0;
    int TransferMode = 0;
    int PacketIndex = 0;
    int PacketsPerModule[4]{};
    int LastPercent = 0; // percent last handed to the status display
    bool EmulatedUnit = false; // the demo: the label names the unit as emulated

    // ---- Replies and meters ----
    int MeterRing[2][5]{};
    int MeterIndex = 0;

    // ---- Send queue ----
    int QueueAddr[QueueSlots]{};
    int QueueValue[QueueSlots]{};
    int QueueCount = 0;
    uint8_t AckReceived = 0;
    uint8_t ResendLast = 0;
    int PendingOp = 0;
    int HoldTicks = 0;
    int HoldCycles = 0;

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

    // ---- Frames out, link signals and requests (FramesOut.cpp) ----
    void SendData(int WRMode, int ControlModule, int HighLowByte);
    void SendPacktData(int WRMode, int ControlModule, int DataSize);
    void Send_StartSign(uint8_t mode, uint8_t iDatabyte);
    void PCtoMCUAckSign(int numm);
    void SendPacketStep(int Nstep, int mode);

    // ---- Connect and link steps (Connect.cpp) ----
    void LinkBtnClick(QObject* Sender);
    void Timer1Timer(QObject* Sender);
    void DisCheckWindow(int uMode);

    // ---- Transfer pump (Transfer.cpp) ----
    void Timer2Timer(QObject* Sender);
    int TransferPercent() const;

    // ---- Status display (LinkStatus.cpp) ----
    void ShowLinkStatus(int kind, const QString& text, int percent);
    // Kind 0 with a message pair: the text of the current language on the
    // main link label, the other one in its Hint.
    void ShowLinkStatus(int kind, const QString& english, const QString& chinese);

    // ---- Replies (Replies.cpp) ----
    void ParseReply(const QByteArray& frame);
    void ValuesReply(const uint8_t* frame, std::size_t size);
    void StatusReply(const uint8_t* frame, std::size_t size, uint16_t code);
    static int LevelOf(uint8_t byte);

    // ---- Send queue (SendQueue.cpp) ----
    void QueueWrite(int ModuleAddr, int HighLowData);
    // PendingOp of a memory command waiting in the queue for its turn, else 0.
    int WaitingMemoryOp() const;
    // Wait label (and, for a recall, Offline and the status box) of a memory command.
    void AnnounceMemoryCommand(int ModuleAddr);
    void HoldTimerTimer(QObject* Sender);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Writes one report at the device's output length; logs a failure.
    bool WriteToDevice(const Report& report);
    void ReleaseDevices();
    bool stopped_ = false;
    // A matching unit is listed but could not be opened: say why, once.
    void ShowOpenRefused(THidDevice* dev);
};

// The single link window; set while it exists.
extern TForm9* Form9;

// Shows the text of the current language on a label (or any widget with a text
// property) and keeps the other one in its Hint.
void SetLabelPair(QWidget* control, int languageFlag, const QString& english,
                  const QString& chinese);

// Caption of the plain notices of the link.
QString NoticeCaption();
