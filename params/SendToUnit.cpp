#include "params/SendToUnit.h"

#include "link/LinkApi.h"
#include "params/DispatchState.h"
#include "params/ParamImage.h"

namespace {
SendTap tap;
} // namespace

void SetSendTap(SendTap t) {
    tap = std::move(t);
}

void SendDatatoMCU(int ModuleAddr, int HighLowData) {
    const bool suppressed = Dispatch.SendSuppressed == 1;
    if (tap) tap(ModuleAddr, HighLowData, suppressed);
    StoreParam(ModuleAddr, HighLowData);
    if (suppressed || CurrentLinkState() != Online) return;
    QueueLinkWrite(ModuleAddr, HighLowData);
}
