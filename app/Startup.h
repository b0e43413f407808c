#pragma once
// Program start: command line, application-level settings, the windows, the
// message loop.

#include "app/CommandLine.h"
#include "link/HidCtl.h"

#include <memory>

class QIcon;
class QWidget;
class TForm1;
class TForm9;

// The console for a unit on USB, or the demo on an emulated unit.
enum class ConsoleKind { Device, Demo };

// The link window talks to the units through the given HID backend.
int RunConsole(int argc, char** argv, std::unique_ptr<HidBackend> backend,
               ConsoleKind kind = ConsoleKind::Device);
// The same over the system's HID devices.
int RunConsole(int argc, char** argv);

// What the command line asks of the shown main window: the factory button,
// the preset file (loaded as the load button loads it). A file loaded while
// no unit is online is held for the unit: the connect would replace it by the
// unit's own values.
void ApplyStartOptions(TForm1& form, const ConsoleOptions& options);
// The same for one file (also one handed over by a later start).
void OpenPresetFile(TForm1& form, const QString& file);
// Handler of the start-up timer that waits for the link: once it is online, the
// held file is loaded again and so written to the unit. True when nothing is
// held any more.
bool LoadHeldPreset();
// The demo says so in the caption, on the link label and on the window.
void MarkAsDemo(TForm1& form, TForm9& link);
// Raises the window above the others, also from minimised.
void BringToFront(QWidget& window);
// The installed theme icon, or the same picture built into the program.
QIcon ConsoleIcon();
