// Frames out: commands, bulk packets and the start sign, the link signals and
// the request of each transfer step.
#include "link/LinkWindow.h"

#include "params/ParamImage.h"

#include <QLineEdit>

#include <vector>

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
