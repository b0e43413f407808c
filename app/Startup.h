#pragma once
// Program start: application-level settings, the windows, the message loop.

int RunConsole(int argc, char** argv);
