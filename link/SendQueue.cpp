// Live writes of an online link: the send queue, the keep-alive poll and the
// waits for the device-memory commands.
#include "link/LinkSession.h"
#include "params/ParamCatalog.h"

#include <QTimer>

#include <unordered_set>

namespace {
// The PendingOp a device-memory command waits with, 0 for any other write.
int MemoryOpOf(int address) {
    return address == MemoryRecallAddress ? 2 : address == MemorySaveAddress ? 3 : 0;
}
} // namespace

int LinkSession::WaitingMemoryOp() const {
    // Nothing joins the queue behind a memory command (the link is off line
    // from its click on), so a waiting one is always the newest.
    return QueueCount > 0 ? MemoryOpOf(QueueAddr[QueueCount]) : 0;
}

void LinkSession::AnnounceMemoryCommand(int ModuleAddr) {
    if (ModuleAddr == MemoryRecallAddress) {
        SetLinkLabel(QStringLiteral("Load Waiting..."), QStringLiteral("调用等待中..."));
        LinkState = Offline;
        HoldCycles = 0;
        ShowLinkStatus(StatusBusy, QString(), 0);
    } else {
        SetLinkLabel(QStringLiteral("Save Waiting..."), QStringLiteral("保存等待中..."));
    }
}

void LinkSession::AwaitSave() {
    if (LinkState == Online) LinkState = Offline;
    HoldCycles = 0;
}

void LinkSession::QueueWrite(int ModuleAddr, int HighLowData) {
    HoldTicks = 0;
    const int memoryOp = MemoryOpOf(ModuleAddr);
    if (AckReceived == 0 || QueueCount != 0) {
        if (memoryOp != 0) {
            // Behind a frame in flight a memory command waits its turn; it is
            // announced now and awaited when the hold timer sends it. The link
            // goes off line at once so that no write queues up behind it.
            AnnounceMemoryCommand(ModuleAddr);
            LinkState = Offline;
        }
        if (QueueCount > 1 && QueueAddr[QueueCount] == ModuleAddr) {
            QueueValue[QueueCount] = HighLowData;
            return;
        }
        if (QueueCount >= QueueMaxWaiting) {
            // Full: make room by dropping the oldest waiting write that a later
            // waiting write to the same address supersedes, so no final value is lost.
            std::unordered_set<int> later;
            int drop = 1;
            for (int i = QueueCount; i >= 1; --i) {
                if (!later.insert(QueueAddr[i]).second) drop = i;
            }
            for (int i = drop; i < QueueCount; ++i) {
                QueueAddr[i] = QueueAddr[i + 1];
                QueueValue[i] = QueueValue[i + 1];
            }
            --QueueCount;
        }
        ++QueueCount;
        QueueAddr[QueueCount] = ModuleAddr;
        QueueValue[QueueCount] = HighLowData;
        UpdateBusy();
        return;
    }
    QueueAddr[0] = ModuleAddr;
    QueueValue[0] = HighLowData;
    TransferPhase = 0;
    if (memoryOp != 0) AnnounceMemoryCommand(ModuleAddr);
    PendingOp = memoryOp;
    // A memory command is awaited, never sent twice; the resend still due for
    // the write before it would go out after it and repeat the command.
    if (memoryOp != 0) ResendLast = 0;
    AckReceived = 0;
    SendData(WriteMode, ModuleAddr, HighLowData);
    UpdateBusy();
}

void LinkSession::HoldTimerTimer(QObject*) {
    HoldTicks = HoldTicks > 50 ? 50 : HoldTicks + 1;

    if (PendingOp != 0 || WaitingMemoryOp() != 0) ShowLinkStatus(StatusBusy, QString(), HoldTicks * 2);

    // Device-memory wait.
    if (AckReceived == 1 && PendingOp != 0) {
        const int op = PendingOp;
        PendingOp = 0;
        DisCheckWindow(op);
        HoldCycles = 0;
        HoldTicks = 0;
    } else if (PendingOp != 0 && HoldTicks == 50) {
        HoldTicks = 0;
        ++HoldCycles;
        if (HoldCycles > 50) {
            HoldCycles = 0;
            HoldTimer->stop();
            DisCheckWindow(StepDropped);
        }
    }

    // Queue.
    if (AckReceived == 1 && (QueueCount != 0 || ResendLast == 1)) {
        HoldCycles = 0;
        HoldTicks = 0;
        if (QueueCount >= 1) {
            for (int i = 0; i < QueueCount; ++i) {
                QueueAddr[i] = QueueAddr[i + 1];
                QueueValue[i] = QueueValue[i + 1];
            }
            --QueueCount;
        }
        AckReceived = 0;
        ResendLast = (QueueCount == 0 && ResendLast == 0) ? 1 : 0;
        if (const int op = MemoryOpOf(QueueAddr[0]); op != 0) {
            // A memory command's turn: awaited from now on, as on an idle link.
            PendingOp = op;
            ResendLast = 0;
        }
        SendData(WriteMode, QueueAddr[0], QueueValue[0]);
    } else if (HoldTicks % 5 == 0 && QueueCount != 0) {
        // Unanswered for 5 ticks: taken as done.
        AckReceived = 1;
        ResendLast = 1;
    }

    // Keep-alive.
    if (PendingOp == 0 && LinkState == Online && HoldTicks % 5 == 0 && QueueCount == 0) {
        HoldTicks = 0;
        ++HoldCycles;
        if (AckReceived == 1) {
            AckReceived = 0;
            HoldCycles = 0;
            PCtoMCUAckSign(SignalPoll);
        } else if (HoldCycles % 5 == 0) {
            PCtoMCUAckSign(SignalPoll);
        }
        if (HoldCycles > 30) {
            HoldCycles = 0;
            HoldTimer->stop();
            DisCheckWindow(StepDropped);
        }
    }
    UpdateBusy();
}
