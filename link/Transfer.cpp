// The transfer pump: one request of a bulk read or write per step, with its
// time-outs.
#include "link/LinkSession.h"

#include "params/ParamImage.h"

#include <QTimer>

#include <cmath>

int LinkSession::TransferPercent() const {
    if (TransferLastStep == 0) return 0;
    return static_cast<int>(std::nearbyint(double(TransferStep) / TransferLastStep * 100.0));
}

void LinkSession::Timer2Timer(QObject*) {
    if (TransferTicks < 100) ++TransferTicks;
    ShowLinkStatus(StatusBusy, QString(), TransferPercent());
    if (TransferPhase == 2) {
        if (TransferStep > TransferLastStep) {
            TransferPhase = 0;
            Timer2->stop();
            DisCheckWindow(StepTransferDone);
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
        DisCheckWindow(StepFailed);
    }
}
