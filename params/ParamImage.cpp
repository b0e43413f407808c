#include "params/ParamImage.h"

ParamModel Params;

namespace {
StoreObserver storeObserver = nullptr;
}

void SetStoreObserver(StoreObserver observer) { storeObserver = observer; }

void ResetParamModel() { Params = ParamModel{}; }

void CopyDeviceImage() {
    for (int m = 0; m <= LastModule; ++m)
        for (int i = 0; i < ModuleParamCount[m]; ++i)
            Params.ParamImage[m][i] = Params.DeviceImage[m][i];
}

void StoreParam(int moduleAddr, int value) {
    const int m = moduleAddr / 256;
    const int i = moduleAddr % 256;
    if (moduleAddr < 0 || m > LastModule || i >= ImageSlots)
        return;
    if (storeObserver) storeObserver(moduleAddr);
    Params.ParamImage[m][i] = value;
    Params.DeviceImage[m][i] = value;
}
