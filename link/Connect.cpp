// The connect operation and the link steps that start and end the transfers.
#include "link/LinkWindow.h"
#include "link/MainLinkLabel.h"

#include "app/Dialogs.h"
#include "app/WindowState.h"
#include "params/DispatchState.h"
#include "params/Dispatcher.h"
#include "params/ParamImage.h"

#include <QTime>
#include <QTimer>

namespace {

BulkReadHook bulkReadDone;

void ShowConnected() {
    if (Form9 && Form9->EmulatedUnit)
        SetMainLabel(QStringLiteral("Demo unit connected"), QStringLiteral("演示设备已连接"));
    else
        SetMainLabel(QStringLiteral("The device is connected"), QStringLiteral("设备已连接"));
}

} // namespace

void SetBulkReadHook(BulkReadHook hook) {
    bulkReadDone = std::move(hook);
}

// ---- Connect ----

void TForm9::LinkBtnClick(QObject*) {
    // No unit in use: look again, it may have come back unnoticed.
    if (LinkState == NoDevice) {
        Relist();
        return;
    }
    const QTime now = QTime::currentTime();
    LinkMask = MakeLinkMask(now.hour(), now.minute(), now.second(), now.msec());
    LinkAck = 0;
    HoldTimer->stop();
    if (LinkState != NoDevice) PCtoMCUAckSign(SignalStart);
    Timer1->start();
}

void TForm9::Timer1Timer(QObject*) {
    if (LinkAck == 1) {
        DisCheckWindow(4);
        return;
    }
    if (LinkState != NoDevice) PCtoMCUAckSign(SignalStart);
}

// ---- Link steps ----

void TForm9::DisCheckWindow(int uMode) {
    switch (uMode) {
    case 1:
        RefreshScreen();
        if (TransferMode == 0 && bulkReadDone) bulkReadDone();
        LinkState = Online;
        // The transfer settles the image: the write last sent before it is
        // not to be sent once more over what was read or written.
        QueueCount = 0;
        ResendLast = 0;
        LinkAck = 0;
        ShowConnected();
        ShowLinkStatus(3, MainLinkText(), TransferPercent());
        HoldTimer->start();
        break;
    case 2:
        Timer1->stop();
        QueueCount = 0;
        ResendLast = 0;
        HoldTimer->stop();
        TransferStep = 1;
        TransferLastStep = LastModule;
        TransferMode = 0;
        TransferAddress = 0x100;
        SetMainLabel(QStringLiteral("Downloading..."), QStringLiteral("加载中..."));
        ShowLinkStatus(2, MainLinkText(), 0);
        SendPacketStep(1, 0);
        // Wait for this request's own reply, with the pump's time-outs.
        TransferPhase = 3;
        TransferTicks = 0;
        if (LinkState == Online) LinkState = Offline;
        Timer2->start();
        break;
    case 3:
        LinkState = Online;
        ShowConnected();
        ShowLinkStatus(3, MainLinkText(), 0);
        Dialogs().Notify(this, tr("提示"), tr("保存成功!"));
        break;
    case 4:
        Timer1->stop();
        QueueCount = 0;
        ResendLast = 0;
        HoldTimer->stop();
        TransferLastStep = LastModule;
        TransferMode = 0;
        TransferStep = 0;
        // The first request is timed like every other: resent, then given up.
        TransferPhase = 3;
        TransferTicks = 0;
        TransferAddress = 0;
        PacketIndex = 0;
        if (LinkState == Online) LinkState = Offline;
        SendPacketStep(0, 0);
        SetMainLabel(QStringLiteral("Connecting ..."), QStringLiteral("连接中..."));
        ShowLinkStatus(2, MainLinkText(), 0);
        Timer2->start();
        break;
    case 6:
        if (LinkState != Online) break;
        Timer1->stop();
        QueueCount = 0;
        ResendLast = 0;
        HoldTimer->stop();
        TransferAddress = 0x100;
        TransferStep = 1;
        TransferLastStep = LastModule;
        TransferMode = 1;
        PacketIndex = 0;
        SetMainLabel(QStringLiteral("Downloading..."), QStringLiteral("下载数据..."));
        LinkState = Offline;
        SendPacketStep(1, 1);
        TransferPhase = 3;
        TransferTicks = 0;
        Timer2->start();
        break;
    case 7:
        Timer2->stop();
        Timer1->stop();
        Dispatch.SendSuppressed = 0;
        if (LinkState == Online) LinkState = Offline;
        SetMainLabel(QStringLiteral("OffLine"), QStringLiteral("设备未连接"));
        if (Window.LanguageFlag == 1)
            Dialogs().Notify(this, tr("提示"), tr("已断开连接!"));
        else
            Dialogs().Notify(this, QStringLiteral("Confirm"),
                             QStringLiteral("Device Disconnected!"));
        break;
    case 9:
        Timer2->stop();
        Timer1->stop();
        Dispatch.SendSuppressed = 0;
        SetMainLabel(QStringLiteral("OffLine"), QStringLiteral("设备未连接"));
        Dialogs().Notify(this, tr("提示"), tr("连接失败!"));
        break;
    default:
        break;
    }
}
