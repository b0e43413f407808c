#pragma once
// Program start: application-level settings, the windows, the message loop.

#include "link/HidCtl.h"

#include <memory>

// The link window talks to the units through the given HID backend.
int RunConsole(int argc, char** argv, std::unique_ptr<HidBackend> backend);
// The same over the system's HID devices.
int RunConsole(int argc, char** argv);
