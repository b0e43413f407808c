// The connect operation and the link steps that start and end the transfers.
#include "link/LinkSession.h"

#include "params/ParamCatalog.h"
#include "params/ParamImage.h"

#include <QTimer>

void LinkSession::ShowConnected() {
    if (EmulatedUnit)
        SetLinkLabel(QStringLiteral("Demo unit connected"), QStringLiteral("演示设备已连接"));
    else
        SetLinkLabel(QStringLiteral("The device is connected"), QStringLiteral("设备已连接"));
}

void LinkSession::StopTraffic() {
    Timer1->stop();
    QueueCount = 0;
    ResendLast = 0;
    HoldTimer->stop();
}

// ---- Connect ----

void LinkSession::StartLink() {
    const QTime now = clock_();
    LinkMask = MakeLinkMask(now.hour(), now.minute(), now.second(), now.msec());
    LinkAck = 0;
    HoldTimer->stop();
    EndMemoryWait();
    if (LinkState != NoDevice) PCtoMCUAckSign(SignalStart);
    Timer1->start();
    UpdateBusy();
}

void LinkSession::Timer1Timer(QObject*) {
    if (LinkAck == 1) {
        DisCheckWindow(StepConnect);
        return;
    }
    if (LinkState != NoDevice) PCtoMCUAckSign(SignalStart);
}

// ---- Link steps ----

void LinkSession::DisCheckWindow(int uMode) {
    switch (uMode) {
    case StepTransferDone:
        emit TransferFinished(TransferMode);
        LinkState = Online;
        // The transfer settles the image: the write last sent before it is
        // not to be sent once more over what was read or written.
        QueueCount = 0;
        ResendLast = 0;
        LinkAck = 0;
        ShowConnected();
        ShowLinkStatus(StatusDone, QString(), TransferPercent());
        HoldTimer->start();
        break;
    case StepReadBack:
        StopTraffic();
        TransferStep = 1;
        TransferLastStep = LastModule;
        TransferMode = 0;
        ReadStep = StepReadBack;
        TransferAddress = SlotAddress(1, 0); // module 1 on
        SetLinkLabel(QStringLiteral("Downloading..."), QStringLiteral("加载中..."));
        ShowLinkStatus(StatusBusy, QString(), 0);
        SendPacketStep(1, 0);
        // Wait for this request's own reply, with the pump's time-outs.
        TransferPhase = 3;
        TransferTicks = 0;
        if (LinkState == Online) LinkState = Offline;
        Timer2->start();
        break;
    case StepSaved:
        LinkState = Online;
        ShowConnected();
        ShowLinkStatus(StatusDone, QString(), 0);
        UpdateBusy();
        Notify(tr("提示"), tr("保存成功!"));
        break;
    case StepConnect:
        StopTraffic();
        TransferLastStep = LastModule;
        TransferMode = 0;
        ReadStep = StepConnect;
        TransferStep = 0;
        // The first request is timed like every other: resent, then given up.
        TransferPhase = 3;
        TransferTicks = 0;
        TransferAddress = 0;
        PacketIndex = 0;
        if (LinkState == Online) LinkState = Offline;
        SendPacketStep(0, 0);
        SetLinkLabel(QStringLiteral("Connecting ..."), QStringLiteral("连接中..."));
        ShowLinkStatus(StatusBusy, QString(), 0);
        Timer2->start();
        break;
    case StepWrite:
        if (LinkState != Online) break;
        StopTraffic();
        TransferAddress = SlotAddress(1, 0); // module 1 on
        TransferStep = 1;
        TransferLastStep = LastModule;
        TransferMode = 1;
        PacketIndex = 0;
        SetLinkLabel(QStringLiteral("Downloading..."), QStringLiteral("下载数据..."));
        LinkState = Offline;
        SendPacketStep(1, 1);
        TransferPhase = 3;
        TransferTicks = 0;
        Timer2->start();
        break;
    case StepDropped:
        Timer2->stop();
        Timer1->stop();
        emit LinkDropped();
        EndMemoryWait();
        UpdateBusy();
        if (LinkState == Online) LinkState = Offline;
        SetLinkLabel(QStringLiteral("OffLine"), QStringLiteral("设备未连接"));
        Notify(tr("提示"), tr("已断开连接!"), QStringLiteral("Confirm"),
               QStringLiteral("Device Disconnected!"));
        break;
    case StepFailed:
        Timer2->stop();
        Timer1->stop();
        emit LinkDropped();
        EndMemoryWait();
        UpdateBusy();
        SetLinkLabel(QStringLiteral("OffLine"), QStringLiteral("设备未连接"));
        Notify(tr("提示"), tr("连接失败!"));
        break;
    default:
        break;
    }
    UpdateBusy();
}
