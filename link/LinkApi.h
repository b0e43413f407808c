#pragma once
// What the windows ask of the device link. Each call goes to the link window's
// session and does nothing while there is no link window.

#include "link/LinkSession.h"

// True while a link window exists.
bool HaveLink();

// LinkState of the link; NoDevice while there is no link window.
int CurrentLinkState();

// The whole DeviceImage is written to the unit (an online link only).
void UploadToUnit();

// A save was handed over: the link awaits it and goes off line meanwhile.
void AwaitSave();

// One Bluetooth text packet, already checked (Latin-1, at most MaxBluetoothText).
void SendBluetoothText(const QString& text);

// The main window closes and the program ends: the link stops polling, its
// readers stop and the device is closed.
void StopLink();

// Main window's "联机" button: runs the link window's connect operation.
void MainLinkBtnClick();
