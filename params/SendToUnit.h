#pragma once
// The one way a parameter value goes to the unit.

#include <functional>

// Stores one value into both parameter images, then sends it (or queues it
// behind a frame in flight) when sending is allowed: SendSuppressed clear and
// the link online.
void SendDatatoMCU(int ModuleAddr, int HighLowData);

// Observer of every call of SendDatatoMCU: address, value, and whether
// SendSuppressed held it back. Tests record what the dispatcher hands over.
using SendTap = std::function<void(int address, int value, bool suppressed)>;
void SetSendTap(SendTap tap);
