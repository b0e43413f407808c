#include "link/LinkApi.h"

#include "params/DispatchState.h"
#include "params/ParamImage.h"

// Stand-in until the link lands: store into both images, never send.
namespace {
SendTap tap;
}

void SetSendTap(SendTap t) { tap = std::move(t); }

void SendDatatoMCU(int ModuleAddr, int HighLowData) {
    StoreParam(ModuleAddr, HighLowData);
    if (tap)
        tap(ModuleAddr, HighLowData, Dispatch.SendSuppressed == 1);
}

int CurrentLinkState() { return NoDevice; }

void MainLinkBtnClick() {}

void BleButtonClick(QObject*) {}
