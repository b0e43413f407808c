// Frames out, the connect operation, the link steps and the transfer pump.
#include "link/LinkWindow.h"

#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "app/WindowState.h"
#include "params/DispatchState.h"
#include "params/Dispatcher.h"
#include "params/ParamImage.h"
#include "presets/StatusBox.h"

#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QTime>
#include <QTimer>

#include <cmath>
#include <vector>

namespace {

QLabel* MainLinkLabel() {
    return Form1 ? Form1->LinkLabel : nullptr;
}

QString MainLinkText() {
    QLabel* l = MainLinkLabel();
    return l ? l->text() : QString();
}

void SetMainLabel(const QString& english, const QString& chinese) {
    SetLabelPair(MainLinkLabel(), Window.LanguageFlag, english, chinese);
}

BulkReadHook bulkReadDone;

void ShowConnected() {
    if (Form9 && Form9->EmulatedUnit)
        SetMainLabel(QStringLiteral("Demo unit connected"), QStringLiteral("演示设备已连接"));
    else
        SetMainLabel(QStringLiteral("The device is connected"), QStringLiteral("设备已连接"));
}

void SetTextColour(QWidget* w, const QColor& c) {
    if (!w) return;
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, c);
    w->setPalette(pal);
}

} // namespace

void SetBulkReadHook(BulkReadHook hook) {
    bulkReadDone = std::move(hook);
}

// ---- Frames out ----

bool TForm9::WriteToDevice(const Report& report) {
    ReportID->setText(QString::asprintf("%.2x", unsigned(report[0])));
    const int length = CurrentDevice->OutputReportLength();
    if (length < FrameSize) {
        // A frame cut short would lose its checksum; the device cannot take it.
        AddToHistory(QStringLiteral("WRITE ERROR: output report length %1 is shorter than %2 (%3)")
                         .arg(length)
                         .arg(FrameSize)
                         .arg(QString::number(0, 16)));
        return false;
    }
    std::vector<quint8> buffer(static_cast<std::size_t>(length), 0);
    std::copy(report.begin(), report.end(), buffer.begin());
    int code = 0;
    QString text;
    if (!CurrentDevice->WriteReport(buffer.data(), length, &code, &text)) {
        AddToHistory(
            QStringLiteral("WRITE ERROR: %1 (%2)").arg(text, QString::number(unsigned(code), 16)));
        DeviceFailed(CurrentDevice);
        return false;
    }
    return true;
}

void TForm9::SendData(int WRMode, int ControlModule, int HighLowByte) {
    std::string line;
    const Report r = BuildCommand(TxBuffer, WRMode, ControlModule, HighLowByte, LinkMask, &line);
    if (CurrentDevice == nullptr) return;
    if (WriteToDevice(r)) AddToHistory(QString::fromStdString(line));
}

void TForm9::SendPacktData(int WRMode, int ControlModule, int DataSize) {
    std::string line;
    const Report r = BuildBulk(TxBuffer, WRMode, ControlModule, DataSize, LinkMask, &line);
    if (CurrentDevice == nullptr) return;
    if (WriteToDevice(r)) AddToHistory(QString::fromStdString(line));
}

void TForm9::Send_StartSign(uint8_t mode, uint8_t iDatabyte) {
    const Report r = BuildStartSign(mode, iDatabyte, LinkMask);
    if (CurrentDevice == nullptr) return;
    if (!WriteToDevice(r)) return;
    const int written = CurrentDevice->OutputReportLength();
    QString line = QString::asprintf("W %.2x  ", unsigned(r[0]));
    for (int i = 1; i < written; ++i)
        line += QString::asprintf("%.2x ", unsigned(i < FrameSize ? r[i] : 0));
    AddToHistory(line);
}

// ---- Link signals and requests ----

void TForm9::PCtoMCUAckSign(int numm) {
    switch (numm) {
    case SignalStart:
        Send_StartSign(1, DeviceId);
        break;
    case SignalReadDone:
    case SignalWriteDone:
    case SignalPoll:
        SendData(WriteMode, SignalAddress, numm);
        break;
    default:
        break;
    }
}

void TForm9::SendPacketStep(int Nstep, int mode) {
    if (mode == 0) {
        if (Nstep <= LastModule)
            SendData(ReadMode, ReadAddress, TransferAddress);
        else if (Nstep == TransferLastStep + 1)
            PCtoMCUAckSign(SignalReadDone);
        return;
    }
    if (mode != 1) return;
    if (Nstep <= LastModule) {
        const int module = (TransferAddress / 256) & 0xFF;
        const int start = TransferAddress % 256;
        TxBuffer[0] = static_cast<uint8_t>(module);
        TxBuffer[1] = static_cast<uint8_t>(start);
        for (int i = 0; i < 10; ++i) {
            const int index = start + i;
            int value = 0;
            if (index <= BulkIndexLimit && module <= LastModule)
                value = Params.DeviceImage[module][index];
            TxBuffer[2 + 2 * i] = static_cast<uint8_t>((value / 256) & 0xFF);
            TxBuffer[3 + 2 * i] = static_cast<uint8_t>((value % 256) & 0xFF);
        }
        SendPacktData(WriteMode, BulkAddress, 20);
    } else if (Nstep == TransferLastStep + 1) {
        PCtoMCUAckSign(SignalWriteDone);
    }
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

int TForm9::TransferPercent() const {
    if (TransferLastStep == 0) return 0;
    return static_cast<int>(std::nearbyint(double(TransferStep) / TransferLastStep * 100.0));
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

// ---- Transfer pump ----

void TForm9::Timer2Timer(QObject*) {
    if (TransferTicks < 100) ++TransferTicks;
    ShowLinkStatus(2, MainLinkText(), TransferPercent());
    if (TransferPhase == 2) {
        if (TransferStep > TransferLastStep) {
            TransferPhase = 0;
            Timer2->stop();
            DisCheckWindow(1);
            return;
        }
        if (TransferStep <= LastModule) {
            if (PacketIndex == PacketsPerModule[TransferStep]) {
                PacketIndex = 0;
                ++TransferStep;
            } else {
                ++PacketIndex;
            }
            TransferAddress = TransferStep * 256 + PacketIndex * 10;
        } else {
            ++TransferStep;
        }
        SendPacketStep(TransferStep, TransferMode);
        TransferPhase = 3;
        TransferTicks = 0;
    } else if (TransferPhase == 3 && TransferTicks > 10) {
        if (TransferStep == 0) SendPacketStep(0, TransferMode);
        TransferPhase = 4;
        TransferTicks = 0;
    } else if (TransferPhase == 4 && TransferTicks >= 100) {
        TransferPhase = 0;
        DisCheckWindow(9);
    }
}

// ---- Status display ----

void TForm9::ShowLinkStatus(int kind, const QString& text, int percent) {
    LastPercent = percent;
    QLabel* label = MainLinkLabel();
    switch (kind) {
    case 0:
        SetTextColour(label, QColor(242, 242, 242));
        if (label) label->setText(text);
        Timer2->stop();
        Timer1->stop();
        HoldTimer->stop();
        LinkState = NoDevice;
        break;
    case 1:
        LinkState = Offline;
        SetTextColour(label, QColor(0, 227, 0));
        break;
    case 2:
        SetTextColour(label, QColor(0, 227, 0));
        if (Form4) {
            SetLabelPair(Form4->LinkLabel, Window.LanguageFlag, QStringLiteral("Staus：") + text,
                         QStringLiteral("状态：") + text);
            Form4->SetPercent(percent);
            Form4->ShowOnTop();
        }
        break;
    case 3:
        SetTextColour(label, QColor(255, 255, 0));
        if (Form4) {
            Form4->SetPercent(percent);
            Form4->hide();
        }
        break;
    default:
        break;
    }
}

void TForm9::ShowLinkStatus(int kind, const QString& english, const QString& chinese) {
    ShowLinkStatus(kind, Lang(chinese, english), 0);
    SetMainLabel(english, chinese);
}
