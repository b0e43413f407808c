// The session's timers, its status and its notices.
#include "link/LinkSession.h"

#include "params/ParamImage.h"

#include <QTimer>

QString NoticeCaption() {
    return QStringLiteral("KALVIREN Audio Controller");
}

LinkSession::LinkSession(ParamModel& images, FrameWriter writer, Clock clock, QObject* parent)
    : QObject(parent), Images(&images), writer_(std::move(writer)), clock_(std::move(clock)) {
    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    Timer2 = new QTimer(this);
    Timer2->setInterval(50);
    HoldTimer = new QTimer(this);
    HoldTimer->setInterval(25);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(Timer1); });
    connect(Timer2, &QTimer::timeout, this, [this] { Timer2Timer(Timer2); });
    connect(HoldTimer, &QTimer::timeout, this, [this] { HoldTimerTimer(HoldTimer); });
    for (int m = 0; m <= LastModule; ++m)
        PacketsPerModule[m] = ModuleParamCount[m] / 10;
}

void LinkSession::Stop() {
    Timer1->stop();
    Timer2->stop();
    HoldTimer->stop();
    LinkState = NoDevice;
    EndMemoryWait();
    UpdateBusy();
}

bool LinkSession::Busy() const {
    return Timer2->isActive() || PendingOp != 0 || WaitingMemoryOp() != 0;
}

void LinkSession::UpdateBusy() {
    const bool busy = Busy();
    if (busy == busy_) return;
    busy_ = busy;
    emit BusyChanged(busy);
}

void LinkSession::EndMemoryWait() {
    // Its answer can no longer come; taken for one later it would report a
    // save that never happened, or read the unit back unasked.
    PendingOp = 0;
    QueueCount = 0;
}

void LinkSession::ShowLinkStatus(int kind, const QString& text, int percent) {
    LastPercent = percent;
    switch (kind) {
    case StatusNoUnit:
        emit StatusShown(kind, text, percent);
        Timer2->stop();
        Timer1->stop();
        HoldTimer->stop();
        LinkState = NoDevice;
        EndMemoryWait();
        UpdateBusy();
        break;
    case StatusOffline:
        LinkState = Offline;
        emit StatusShown(kind, text, percent);
        break;
    case StatusBusy:
    case StatusDone:
        emit StatusShown(kind, text, percent);
        break;
    default:
        break;
    }
}

void LinkSession::ShowLinkStatus(int kind, const QString& english, const QString& chinese) {
    ShowLinkStatus(kind, QString(), 0);
    SetLinkLabel(english, chinese);
}

void LinkSession::Notify(const QString& captionChinese, const QString& textChinese,
                         const QString& captionEnglish, const QString& textEnglish) {
    emit Notice(captionChinese, textChinese, captionEnglish, textEnglish);
}

void LinkSession::Notify(const QString& caption, const QString& text) {
    emit Notice(caption, text, caption, text);
}

void LinkSession::SetLinkLabel(const QString& english, const QString& chinese) {
    emit LinkLabelChanged(english, chinese);
}
