#pragma once
// The Bluetooth buttons of the main window.

class QObject;

// Shared handler of BLUENameBtn, BLUEPinBtn and BleButton.
void BleButtonClick(QObject* Sender);
