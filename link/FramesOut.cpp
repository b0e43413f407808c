// Frames out: commands, bulk packets and the start sign, the link signals and
// the request of each transfer step.
#include "link/LinkSession.h"

#include "params/ParamImage.h"

// ---- Frames out ----

void LinkSession::SendData(int WRMode, int ControlModule, int HighLowByte) {
    std::string line;
    const Report r = BuildCommand(TxBuffer, WRMode, ControlModule, HighLowByte, LinkMask, &line);
    if (writer_(r) > 0) emit HistoryLine(QString::fromStdString(line));
}

void LinkSession::SendPacktData(int WRMode, int ControlModule, int DataSize) {
    std::string line;
    const Report r = BuildBulk(TxBuffer, WRMode, ControlModule, DataSize, LinkMask, &line);
    if (writer_(r) > 0) emit HistoryLine(QString::fromStdString(line));
}

void LinkSession::Send_StartSign(uint8_t mode, uint8_t iDatabyte) {
    const Report r = BuildStartSign(mode, iDatabyte, LinkMask);
    const int written = writer_(r);
    if (written == 0) return;
    QString line = QString::asprintf("W %.2x  ", unsigned(r[0]));
    for (int i = 1; i < written; ++i)
        line += QString::asprintf("%.2x ", unsigned(i < FrameSize ? r[i] : 0));
    emit HistoryLine(line);
}

// ---- Link signals and requests ----

void LinkSession::PCtoMCUAckSign(int numm) {
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

void LinkSession::SendPacketStep(int Nstep, int mode) {
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
                value = Images->DeviceImage[module][index];
            TxBuffer[2 + 2 * i] = static_cast<uint8_t>((value / 256) & 0xFF);
            TxBuffer[3 + 2 * i] = static_cast<uint8_t>((value % 256) & 0xFF);
        }
        SendPacktData(WriteMode, BulkAddress, 20);
    } else if (Nstep == TransferLastStep + 1) {
        PCtoMCUAckSign(SignalWriteDone);
    }
}
