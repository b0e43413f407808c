#include "presets/DeviceMemory.h"

// Stand-in until the link lands.
void DeviceSaveBtnClick(QObject*) {}
