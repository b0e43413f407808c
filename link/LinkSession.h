#pragma once
// The state machine of the device link: start sign, connect read, bulk
// transfers, the send queue with its keep-alive, the waits of the memory
// commands, and the replies. No widgets: frames go out through an injected
// writer, the time of day for the link mask comes from an injected clock, and
// what happens is told by signals that start-up wires to the windows.

#include "link/Frames.h"
#include "params/ParamImage.h"
#include "params/UnitPort.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTime>

#include <functional>

class QTimer;

enum TLinkState { NoDevice = 0, Offline = 1, Online = 2 };

// Link signal codes (PCtoMCUAckSign).
constexpr int SignalStart = 0x11;
constexpr int SignalReadDone = 0x22;
constexpr int SignalWriteDone = 0x33;
constexpr int SignalPoll = 0x66;

// Write packets carry indexes up to this one; values replies store those below it.
constexpr int BulkIndexLimit = 85;

// Send queue: slot 0 is the write in flight, 1..QueueCount the waiting writes.
constexpr int QueueSlots = 497;
constexpr int QueueMaxWaiting = 495;

// Characters of text one Bluetooth packet carries (report bytes 8..28), and so
// the longest name that can be sent after its "NA+".
constexpr int MaxBluetoothText = 21;
constexpr int MaxBluetoothName = MaxBluetoothText - 3;

// Kinds of ShowLinkStatus: the link state each stands for.
constexpr int StatusNoUnit = 0;  // text on the link label; the link stops
constexpr int StatusOffline = 1;
constexpr int StatusBusy = 2;    // transfer or wait: shown in the status box
constexpr int StatusDone = 3;

// Link steps (DisCheckWindow).
constexpr int StepTransferDone = 1;
constexpr int StepReadBack = 2;
constexpr int StepSaved = 3;
constexpr int StepConnect = 4;
constexpr int StepWrite = 6;
constexpr int StepDropped = 7;
constexpr int StepFailed = 9;

// Caption of the plain notices of the link.
QString NoticeCaption();

class LinkSession : public QObject, public UnitPort {
    Q_OBJECT
public:
    // Writes one report to the unit in use; returns the bytes written (the
    // device's output report length), 0 when nothing was written.
    using FrameWriter = std::function<int(const Report&)>;
    using Clock = std::function<QTime()>;

    // images: what the link reads into and uploads from, handed by whoever
    // starts it (the console's own; a program linking several units gives each
    // session its own).
    LinkSession(ParamModel& images, FrameWriter writer, Clock clock = &QTime::currentTime,
                QObject* parent = nullptr);

    // ---- Timers (real QTimers; tests call the handlers to step time) ----
    QTimer* Timer1 = nullptr;    // 1000 ms start-sign poll
    QTimer* Timer2 = nullptr;    // 50 ms transfer pump
    QTimer* HoldTimer = nullptr; // 25 ms send queue and keep-alive

    // The images this link reads into and uploads from.
    ParamModel* const Images;

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
    int ReadStep = 0; // link step that started the last read: StepConnect or StepReadBack
    int PacketsPerModule[4]{};
    int LastPercent = 0;       // percent last handed to the status display
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

    // ---- Frames out, link signals and requests (FramesOut.cpp) ----
    void SendData(int WRMode, int ControlModule, int HighLowByte);
    void SendPacktData(int WRMode, int ControlModule, int DataSize);
    void Send_StartSign(uint8_t mode, uint8_t iDatabyte);
    void PCtoMCUAckSign(int numm);
    void SendPacketStep(int Nstep, int mode);

    // ---- Connect and link steps (Connect.cpp) ----
    // The link button's work on a unit in use: a fresh mask, then the start
    // sign once a second until the unit answers.
    void StartLink();
    void Timer1Timer(QObject* Sender);
    void DisCheckWindow(int uMode);
    // The program ends: no timer runs any more.
    void Stop();

    // A transfer runs or a memory command is awaited: the console's values may
    // not change until it ends (its read or write settles them).
    bool Busy() const;

    // ---- Transfer pump (Transfer.cpp) ----
    void Timer2Timer(QObject* Sender);
    int TransferPercent() const;

    // ---- Status (LinkSession.cpp) ----
    // The link state a kind stands for (Status*), told to the display:
    // StatusNoUnit puts text on the link label, StatusBusy shows it in the
    // status box; a null text stands for the link label's own.
    void ShowLinkStatus(int kind, const QString& text, int percent);
    // StatusNoUnit with a message pair on the link label.
    void ShowLinkStatus(int kind, const QString& english, const QString& chinese);
    // A notice, in the Chinese or the English form by the console's language.
    void Notify(const QString& captionChinese, const QString& textChinese,
                const QString& captionEnglish, const QString& textEnglish);
    // A notice whose texts are already in the console's language.
    void Notify(const QString& caption, const QString& text);
    void SetLinkLabel(const QString& english, const QString& chinese);

    // ---- Replies (Replies.cpp) ----
    void ParseReply(const QByteArray& frame);
    void ValuesReply(const uint8_t* frame, std::size_t size);
    void StatusReply(const uint8_t* frame, std::size_t size, uint16_t code);
    static int LevelOf(uint8_t byte);

    // ---- Send queue (SendQueue.cpp) ----
    void QueueWrite(int ModuleAddr, int HighLowData) override;
    bool UnitOnline() const override { return LinkState == Online; }
    // PendingOp of a memory command waiting in the queue for its turn, else 0.
    int WaitingMemoryOp() const;
    // Wait label (and, for a recall, Offline and the status box) of a memory command.
    void AnnounceMemoryCommand(int ModuleAddr);
    // A save was handed over: it is awaited (the link goes off line) once sent.
    void AwaitSave();
    void HoldTimerTimer(QObject* Sender);

    // ---- Bluetooth (Bluetooth.cpp) ----
    // One text packet for the receiver module: Latin-1, at most MaxBluetoothText.
    void SendBluetoothText(const QString& text);

signals:
    // A line for the link history.
    void HistoryLine(const QString& line);
    // What ShowLinkStatus shows: the link label's colour, the status box.
    void StatusShown(int kind, const QString& text, int percent);
    void LinkLabelChanged(const QString& english, const QString& chinese);
    void Notice(const QString& captionChinese, const QString& textChinese,
                const QString& captionEnglish, const QString& textEnglish);
    // Averages of the level meters, and the unit's volume.
    void LevelsChanged(int left, int right);
    void VolumeChanged(int volume);
    // The lines that record a reply whose checksum did not match.
    void ChecksumMismatch(const QStringList& lines);
    // A bulk read (mode 0) or write (mode 1) has settled, before the link is
    // online again: the screen shows what was read.
    void TransferFinished(int mode);
    // The link was lost or the connect failed: sending is no longer held back.
    void LinkDropped();
    // Busy() began (true) or ended (false): the windows hold the user's
    // changes meanwhile.
    void BusyChanged(bool busy);

private:
    FrameWriter writer_;
    Clock clock_;
    bool busy_ = false;
    void ShowConnected();
    // A transfer takes the link: no start sign, no queued write and no
    // keep-alive goes out meanwhile.
    void StopTraffic();
    // Tells BusyChanged when Busy() differs from what was told last.
    void UpdateBusy();
    // The link restarts or is gone: no memory command is awaited any longer.
    void EndMemoryWait();
};
