#pragma once
// The one way a parameter value goes to the unit.

#include <functional>

class UnitPort;

// Stores one value into both parameter images, then sends it (or queues it
// behind a frame in flight) through the unit port when sending is allowed:
// SendSuppressed clear and the port online.
void SendDatatoMCU(int ModuleAddr, int HighLowData);

// The port SendDatatoMCU hands values to, given at start-up; nullptr: none
// (the values stay in the images).
void SetUnitPort(UnitPort* port);
UnitPort* CurrentUnitPort();

// Observer of every call of SendDatatoMCU: address, value, and whether
// SendSuppressed held it back. Tests record what the dispatcher hands over.
using SendTap = std::function<void(int address, int value, bool suppressed)>;
void SetSendTap(SendTap tap);
