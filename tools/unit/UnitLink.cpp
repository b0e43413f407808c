#include "tools/unit/UnitLink.h"

#include "params/ParamCatalog.h"

#include <QTimer>

#include <algorithm>
#include <cstring>

namespace {
constexpr int AnswerMs = 5000;
} // namespace

UnitLink::UnitLink(THidDevice* device, QObject* parent)
    : QObject(parent), Device(device),
      images_(std::make_unique<ParamModel>()),
      Session(new LinkSession(
          *images_, [this](const Report& r) { return WriteFrame(r); }, &QTime::currentTime, this)),
      AnswerTimer(new QTimer(this)) {
    AnswerTimer->setSingleShot(true);
    AnswerTimer->setInterval(AnswerMs);
    connect(AnswerTimer, &QTimer::timeout, this, &UnitLink::AnswerTimerTimer);
    // The session is done with a transfer only once its step 1 has run.
    connect(Session, &LinkSession::TransferFinished, this,
            [this] { QMetaObject::invokeMethod(this, &UnitLink::Settled, Qt::QueuedConnection); });
    connect(Session, &LinkSession::LinkDropped, this, [this] {
        Fail(CurrentStage == Stage::Connect || CurrentStage == Stage::Verify ||
                     CurrentStage == Stage::Upload
                 ? QStringLiteral("the transfer got no answer (connection failed)")
                 : QStringLiteral("the unit stopped answering (link lost)"));
    });
    connect(Session, &LinkSession::StatusShown, this, [this](int kind, const QString&, int) {
        if (kind == 0)
            Fail(QStringLiteral("the unit answered with an error acknowledgement (Ack Error!)"));
        else if (kind == 3 && CurrentStage == Stage::Store && Session->LinkState == Online) {
            Stored = true;
            Finish(Stage::Done);
        }
    });
    connect(Session, &LinkSession::Notice, this,
            [this](const QString&, const QString&, const QString&, const QString& english) {
                if (english == QLatin1String("Error! Changing the number of restrictions!"))
                    Fail(QStringLiteral("the unit refused the change (limit reached)"));
            });
}

UnitLink::~UnitLink() {
    Session->Stop();
}

QString UnitLink::Name() const {
    return Device->Info.serial.isEmpty() ? Device->Info.path : Device->Info.serial;
}

int UnitLink::VariantFlag() const {
    return (images_->DeviceImage[0][VariantSlot] & 0xFF) == 1 ? 0 : 1;
}

void UnitLink::StartRead() {
    Connect(Stage::Connect);
}

void UnitLink::StartWrites(std::vector<std::pair<int, int>> writes) {
    writes_ = std::move(writes);
    Connect(Stage::Connect);
}

void UnitLink::StartPush(const PresetContents& preset, bool verify, bool store) {
    preset_ = preset;
    push_ = true;
    verify_ = verify;
    store_ = store;
    Connect(Stage::Connect);
}

void UnitLink::Connect(Stage stage) {
    CurrentStage = stage;
    if (Session->LinkState == NoDevice) Session->ShowLinkStatus(StatusOffline, QString(), 0);
    Session->StartLink();
    AnswerTimer->start();
}

void UnitLink::Receive(quint8 reportId, const QByteArray& data) {
    if (CurrentStage == Stage::Done || CurrentStage == Stage::Failed) return;
    QByteArray frame;
    frame.reserve(data.size() + 1);
    frame.append(static_cast<char>(reportId));
    frame.append(data);
    Session->ParseReply(frame);
    if (Session->LinkAck == 1 || Session->Timer2->isActive()) AnswerTimer->stop();
    if (CurrentStage == Stage::Writes) CheckAcknowledged();
}

int UnitLink::WriteFrame(const Report& report) {
    if (CurrentStage == Stage::Done || CurrentStage == Stage::Failed) return 0;
    const int length = Device->OutputReportLength();
    if (length < FrameSize) {
        Fail(QStringLiteral("output report length %1 is shorter than %2").arg(length).arg(FrameSize));
        return 0;
    }
    std::vector<quint8> buffer(static_cast<std::size_t>(length), 0);
    std::copy(report.begin(), report.end(), buffer.begin());
    int code = 0;
    QString text;
    if (!Device->WriteReport(buffer.data(), length, &code, &text)) {
        Fail(QStringLiteral("write failed: %1").arg(text));
        return 0;
    }
    // The write of this step leaves slot 0 of an empty queue; a poll sent
    // while it waits behind another frame leaves it in slot 1.
    if (CurrentStage == Stage::Writes && !writeSent_ && nextWrite_ < writes_.size() &&
        report[0] == FrameHead && Session->QueueCount == 0 &&
        Session->QueueAddr[0] == writes_[nextWrite_].first &&
        Session->QueueValue[0] == writes_[nextWrite_].second)
        writeSent_ = true;
    return length;
}

void UnitLink::Settled() {
    if (Session->LinkState != Online) return;
    switch (CurrentStage) {
    case Stage::Connect:
        if (push_) {
            // As the load button: a file without parameter lines uploads the image as read.
            ApplyPresetEntries(preset_, VariantFlag(), images_->DeviceImage);
            std::memcpy(expected_, images_->DeviceImage, sizeof expected_);
            CurrentStage = Stage::Upload;
            Session->DisCheckWindow(6);
        } else if (!writes_.empty()) {
            CurrentStage = Stage::Writes;
            NextWrite();
        } else {
            Finish(Stage::Done);
        }
        break;
    case Stage::Upload:
        if (verify_) {
            // The protocol's only read: a fresh start sign and connect read.
            Connect(Stage::Verify);
            break;
        }
        [[fallthrough]];
    case Stage::Verify:
        if (verify_ && !Compare()) break;
        Verified = verify_;
        if (store_) {
            CurrentStage = Stage::Store;
            // As the save button: the command through the queue, then awaited.
            Session->QueueWrite(MemorySaveAddress, MemorySaveValue);
            Session->AwaitSave();
        } else {
            Finish(Stage::Done);
        }
        break;
    default:
        break;
    }
}

bool UnitLink::Compare() {
    QStringList differences;
    int count = 0;
    for (const PresetEntry& e : preset_.Entries) {
        const int32_t want = expected_[e.Module][e.Slot];
        const int32_t got = images_->DeviceImage[e.Module][e.Slot];
        if (want == got) continue;
        if (++count <= 3)
            differences << QStringLiteral("%1 reads %2, written %3")
                               .arg(QString::fromStdString(ParamKeyOf(e.Module * 256 + e.Slot)))
                               .arg(got)
                               .arg(want);
    }
    if (count == 0) return true;
    QString reason = QStringLiteral("verify failed: ") + differences.join(QStringLiteral("; "));
    if (count > 3) reason += QStringLiteral(" (%1 slots differ)").arg(count);
    Fail(reason);
    return false;
}

void UnitLink::NextWrite() {
    if (nextWrite_ >= writes_.size()) {
        Finish(Stage::Done);
        return;
    }
    writeSent_ = false;
    Session->QueueWrite(writes_[nextWrite_].first, writes_[nextWrite_].second);
}

void UnitLink::CheckAcknowledged() {
    if (!writeSent_ || Session->AckReceived != 1) return;
    ++nextWrite_;
    NextWrite();
}

void UnitLink::AnswerTimerTimer() {
    Fail(QStringLiteral("no answer to the start sign"));
}

void UnitLink::Fail(const QString& reason) {
    if (CurrentStage == Stage::Done || CurrentStage == Stage::Failed) return;
    Reason = reason;
    Finish(Stage::Failed);
}

void UnitLink::Finish(Stage stage) {
    CurrentStage = stage;
    AnswerTimer->stop();
    Session->Stop();
    QMetaObject::invokeMethod(this, &UnitLink::Finished, Qt::QueuedConnection);
}
