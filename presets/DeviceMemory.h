#pragma once
// The unit's own memory: store, recall and factory reset.

class QObject;

// Shared click handler of DeviceSaveBtn, DeviceLoadBtn and DeviceResetBtn.
void DeviceSaveBtnClick(QObject* Sender);
