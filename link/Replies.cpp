// Checking of received frames, the values and status handlers, the meters.
#include "link/LinkWindow.h"

#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "app/WindowState.h"
#include "params/ParamImage.h"

#include <QPlainTextEdit>
#include <QSlider>
#include <QTimer>

void TForm9::ParseReply(const QByteArray& frame) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(frame.constData());
    const auto size = static_cast<std::size_t>(frame.size());
    if (size < 2 || bytes[1] != DeviceId) return;
    const ReplyView v = ViewReply(bytes, size);
    if (!v.ok) {
        // Too short to carry an address field and a code.
        AddToHistory(QStringLiteral("SHORT REPLY:") +
                     QString::fromLatin1((' ' + HexText(bytes, size)).c_str()));
        return;
    }
    if (v.expectedChecksum != v.receivedChecksum && Form1 && Form1->Memo1) {
        QPlainTextEdit* memo = Form1->Memo1;
        memo->appendPlainText(QString::number(v.addrHigh) + QStringLiteral("********************"));
        memo->appendPlainText(
            QStringLiteral("校验数据匹配不一致:") + QString::number(v.expectedChecksum) +
            QStringLiteral("得到的验证数据：") + QString::number(v.receivedChecksum));
        memo->appendPlainText(QStringLiteral("接收到的错误数据：") +
                              QString::fromLatin1((' ' + HexText(bytes, size)).c_str()));
    }
    if (v.addrHigh != 0) return;
    if (v.addrLow == ReadAddress)
        ValuesReply(bytes, size);
    else if (v.addrLow == StatusAddress)
        StatusReply(bytes, size, v.code);
}

void TForm9::ValuesReply(const uint8_t* frame, std::size_t size) {
    // Values belong to a running read: a late one arriving after it, or during
    // an upload, would put old values into the image or advance the upload.
    if (!Timer2->isActive() || TransferMode != 0) {
        AddToHistory(QStringLiteral("VALUES IGNORED: no read in progress"));
        return;
    }
    const ValuesView v = ViewValues(frame, size, LastModule);
    if (!v.ok) {
        AddToHistory(
            QStringLiteral("VALUES REJECTED: module %1, index %2, count %3, frame %4 bytes")
                .arg(v.module)
                .arg(v.start)
                .arg(v.count)
                .arg(size));
        TransferPhase = 2;
        return;
    }
    for (int j = 0; j < v.count; ++j) {
        if (v.start + j < BulkIndexLimit)
            Params.DeviceImage[v.module][v.start + j] = ValueAt(frame, j);
    }
    TransferPhase = 2;
}

int TForm9::LevelOf(uint8_t byte) {
    return MeterLevel(byte);
}

void TForm9::StatusReply(const uint8_t* frame, std::size_t size, uint16_t code) {
    switch (code) {
    case 6:
        ShowLinkStatus(0, tr("设备未连接"), 0);
        Dialogs().Notify(this, NoticeCaption(),
                         Lang(QStringLiteral("错误应答!"), QStringLiteral("Ack Error!")));
        break;
    case 12:
    case 14:
    {
        AckReceived = 1;
        // Paused under the message, resumed after it: but only if it ran, so a
        // late acknowledgement never restarts it during a transfer or after a lost link.
        const bool holding = HoldTimer->isActive();
        HoldTimer->stop();
        Dialogs().Notify(this, NoticeCaption(),
                         Lang(QStringLiteral("更改成功!"), QStringLiteral("Successful change!")));
        if (holding) HoldTimer->start();
        break;
    }
    case 13:
    {
        const bool holding = HoldTimer->isActive();
        HoldTimer->stop();
        Dialogs().Notify(this, NoticeCaption(),
                         Lang(QStringLiteral("操作失败 ,限制次数已到"),
                              QStringLiteral("Error! Changing the number of restrictions!")));
        if (holding) HoldTimer->start();
        break;
    }
    case 2:
    case 4:
    case 7:
    case 8: {
        LinkAck = 1;
        // A read request is answered by its values; a status reply meanwhile is
        // a late answer to an earlier frame and must not move the read on.
        if (!(Timer2->isActive() && TransferMode == 0 && TransferStep <= LastModule))
            TransferPhase = 2;
        AckReceived = 1;
        if (++MeterIndex >= 5) MeterIndex = 0;
        // A report shorter than the device's usual one carries no levels or volume.
        const StatusLevelsView levels = ViewStatusLevels(frame, size);
        if (levels.hasLevels) {
            LevelMeter* meters[2] = {Form1 ? Form1->LeftMeter : nullptr,
                                     Form1 ? Form1->RightMeter : nullptr};
            const uint8_t bytes[2] = {levels.left, levels.right};
            for (int side = 0; side < 2; ++side) {
                MeterRing[side][MeterIndex] = LevelOf(bytes[side]);
                if (MeterIndex % 2 == 0 && meters[side]) {
                    int sum = 0;
                    for (int k = 0; k < 5; ++k)
                        sum += MeterRing[side][k];
                    meters[side]->setValue(sum / 5);
                }
            }
        }
        if (levels.hasVolume && Form1 && Form1->SysMusNormalVolBar)
            Form1->SysMusNormalVolBar->setValue(levels.volume);
        break;
    }
    default:
        break;
    }
}
