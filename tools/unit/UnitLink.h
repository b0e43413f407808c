#pragma once
// One unit driven by kalviren-unit: its own link session over its own images,
// and the job run on it (read it, write some values, or upload a preset, read
// it back and compare, then store). Qt Core only.

#include "link/HidCtl.h"
#include "link/LinkSession.h"
#include "params/ParamImage.h"
#include "presets/PresetCodec.h"

#include <QObject>
#include <QString>

#include <memory>
#include <utility>
#include <vector>

class QTimer;

class UnitLink : public QObject {
    Q_OBJECT
public:
    enum class Stage { Idle, Connect, Writes, Upload, Verify, Store, Done, Failed };

    UnitLink(THidDevice* device, QObject* parent = nullptr);
    ~UnitLink() override;

    // The connect read alone (pull, get).
    void StartRead();
    // The connect read, then each write through the send queue, one after the
    // other, each acknowledged (set).
    void StartWrites(std::vector<std::pair<int, int>> writes);
    // The connect read, the preset stored into the image as the load button
    // does and the whole-image upload; then (verify) a fresh connect read
    // compared slot by slot, then (store) the save command and its answer.
    void StartPush(const PresetContents& preset, bool verify, bool store);

    // A report from this unit.
    void Receive(quint8 reportId, const QByteArray& data);
    // The job ends with this reason (a read or write failure, a time-out).
    void Fail(const QString& reason);

    // What the unit is called in messages: its serial number, else its path.
    QString Name() const;
    // 0 while the unit reports the main variant, as the console sets it.
    int VariantFlag() const;

    THidDevice* const Device;

private:
    // Before the session, which is handed them.
    std::unique_ptr<ParamModel> images_;

public:
    LinkSession* const Session;
    ParamModel& Images() { return *images_; }
    // Waits for the unit's first answer to a start sign (5 s); the link's own
    // time-outs cover everything after it.
    QTimer* const AnswerTimer;
    void AnswerTimerTimer();

    Stage CurrentStage = Stage::Idle;
    QString Reason;   // why it failed
    bool Verified = false, Stored = false;

signals:
    // The job has ended (CurrentStage Done or Failed); emitted from the event loop.
    void Finished();

private:
    void Connect(Stage stage);
    void Settled();
    void NextWrite();
    void CheckAcknowledged();
    bool Compare();
    void Finish(Stage stage);
    int WriteFrame(const Report& report);

    PresetContents preset_;
    bool push_ = false, verify_ = false, store_ = false;
    int32_t expected_[ModuleCount][DeviceSlots]{};
    std::vector<std::pair<int, int>> writes_;
    std::size_t nextWrite_ = 0;
    bool writeSent_ = false;
};
