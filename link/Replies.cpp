// Checking of received frames, the values and status handlers, the meters.
#include "link/LinkSession.h"

#include "params/ParamImage.h"

#include <QTimer>

void LinkSession::ParseReply(const QByteArray& frame) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(frame.constData());
    const auto size = static_cast<std::size_t>(frame.size());
    if (size < 2 || bytes[1] != DeviceId) return;
    const ReplyView v = ViewReply(bytes, size);
    if (!v.ok) {
        // Too short to carry an address field and a code.
        emit HistoryLine(QStringLiteral("SHORT REPLY:") +
                     QString::fromLatin1((' ' + HexText(bytes, size)).c_str()));
        return;
    }
    if (v.expectedChecksum != v.receivedChecksum) {
        emit ChecksumMismatch(
            {QString::number(v.addrHigh) + QStringLiteral("********************"),
             QStringLiteral("校验数据匹配不一致:") + QString::number(v.expectedChecksum) +
                 QStringLiteral("得到的验证数据：") + QString::number(v.receivedChecksum),
             QStringLiteral("接收到的错误数据：") +
                 QString::fromLatin1((' ' + HexText(bytes, size)).c_str())});
    }
    if (v.addrHigh != 0) return;
    if (v.addrLow == ReadAddress)
        ValuesReply(bytes, size);
    else if (v.addrLow == StatusAddress)
        StatusReply(bytes, size, v.code);
}

void LinkSession::ValuesReply(const uint8_t* frame, std::size_t size) {
    // Values belong to a running read: a late one arriving after it, or during
    // an upload, would put old values into the image or advance the upload.
    if (!Timer2->isActive() || TransferMode != 0) {
        emit HistoryLine(QStringLiteral("VALUES IGNORED: no read in progress"));
        return;
    }
    const ValuesView v = ViewValues(frame, size, LastModule);
    if (!v.ok) {
        emit HistoryLine(
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
            Images->DeviceImage[v.module][v.start + j] = ValueAt(frame, j);
    }
    TransferPhase = 2;
}

int LinkSession::LevelOf(uint8_t byte) {
    return MeterLevel(byte);
}

void LinkSession::StatusReply(const uint8_t* frame, std::size_t size, uint16_t code) {
    switch (code) {
    case 6:
        ShowLinkStatus(StatusNoUnit, tr("设备未连接"), 0);
        Notify(NoticeCaption(), QStringLiteral("错误应答!"), NoticeCaption(),
               QStringLiteral("Ack Error!"));
        break;
    case 12:
    case 14:
    {
        AckReceived = 1;
        // Paused under the message, resumed after it: but only if it ran, so a
        // late acknowledgement never restarts it during a transfer or after a lost link.
        const bool holding = HoldTimer->isActive();
        HoldTimer->stop();
        Notify(NoticeCaption(), QStringLiteral("更改成功!"), NoticeCaption(),
               QStringLiteral("Successful change!"));
        if (holding) HoldTimer->start();
        break;
    }
    case 13:
    {
        const bool holding = HoldTimer->isActive();
        HoldTimer->stop();
        Notify(NoticeCaption(), QStringLiteral("操作失败 ,限制次数已到"), NoticeCaption(),
               QStringLiteral("Error! Changing the number of restrictions!"));
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
            const uint8_t bytes[2] = {levels.left, levels.right};
            for (int side = 0; side < 2; ++side)
                MeterRing[side][MeterIndex] = LevelOf(bytes[side]);
            // The meters move every other reply, by the average of the last five.
            if (MeterIndex % 2 == 0) {
                int average[2]{};
                for (int side = 0; side < 2; ++side) {
                    for (int k = 0; k < 5; ++k)
                        average[side] += MeterRing[side][k];
                    average[side] /= 5;
                }
                emit LevelsChanged(average[0], average[1]);
            }
        }
        if (levels.hasVolume) emit VolumeChanged(levels.volume);
        break;
    }
    default:
        break;
    }
}
