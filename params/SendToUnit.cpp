#include "params/SendToUnit.h"

#include "params/DispatchState.h"
#include "params/ParamImage.h"
#include "params/UnitPort.h"

namespace {
SendTap tap;
UnitPort* port = nullptr;
} // namespace

void SetUnitPort(UnitPort* p) {
    port = p;
}

UnitPort* CurrentUnitPort() {
    return port;
}

void SetSendTap(SendTap t) {
    tap = std::move(t);
}

void SendDatatoMCU(int ModuleAddr, int HighLowData) {
    const bool suppressed = Dispatch.SendSuppressed == 1;
    if (tap) tap(ModuleAddr, HighLowData, suppressed);
    // The controls are held while a transfer or a memory command's wait runs;
    // a change that still gets here would stay behind it, never sent.
    if (!suppressed && Dispatch.InputHeld == 1) return;
    StoreParam(ModuleAddr, HighLowData);
    if (suppressed || !port || !port->UnitOnline()) return;
    port->QueueWrite(ModuleAddr, HighLowData);
}
