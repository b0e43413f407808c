#pragma once
// The unit's own memory: store, recall and factory reset.

#include <QString>

#include <functional>

class QObject;

// The main window's memory buttons, and how it shows a text pair on its link
// label; handed down when the window is made, emptied when it goes.
struct DeviceMemoryControls {
    const QObject* DeviceLoadBtn = nullptr;
    const QObject* DeviceSaveBtn = nullptr;
    const QObject* DeviceResetBtn = nullptr;
    std::function<void(const QString& english, const QString& chinese)> ShowOnLinkLabel;
};
void SetDeviceMemoryControls(DeviceMemoryControls controls);

// Shared click handler of DeviceSaveBtn, DeviceLoadBtn and DeviceResetBtn.
void DeviceSaveBtnClick(QObject* Sender);
