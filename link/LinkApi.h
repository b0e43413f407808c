#pragma once
// What the rest of the console needs of the device link.

#include <functional>

class QObject;

enum TLinkState { NoDevice = 0, Offline = 1, Online = 2 };

// Stores one value into both parameter images, then sends it (or queues it
// behind a frame in flight) when sending is allowed: SendSuppressed clear and
// the link online.
void SendDatatoMCU(int ModuleAddr, int HighLowData);

// LinkState of the link window; NoDevice while there is no link window.
int CurrentLinkState();

// Observer of every call of SendDatatoMCU: address, value, and whether
// SendSuppressed held it back. Tests record what the dispatcher hands over.
using SendTap = std::function<void(int address, int value, bool suppressed)>;
void SetSendTap(SendTap tap);

// Runs when a read of the unit's parameters (connect, read back after a
// recall or factory reset) has filled DeviceImage and the screen.
using BulkReadHook = std::function<void()>;
void SetBulkReadHook(BulkReadHook hook);

// The main window closes and the program ends: the link stops polling, its
// readers stop and the device is closed.
void StopLink();

// Main window's "联机" button: runs the link window's connect operation.
void MainLinkBtnClick();

// Characters of text one Bluetooth packet carries (report bytes 8..28), and so
// the longest name that can be sent after its "NA+".
constexpr int MaxBluetoothText = 21;
constexpr int MaxBluetoothName = MaxBluetoothText - 3;

// Shared handler of BLUENameBtn, BLUEPinBtn and BleButton.
void BleButtonClick(QObject* Sender);
