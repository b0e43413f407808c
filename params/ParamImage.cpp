#include "params/ParamImage.h"

ParamModel Params;

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
    Params.ParamImage[m][i] = value;
    Params.DeviceImage[m][i] = value;
}
