#pragma once
// What the device link shows: its label on the main window, the status box,
// the meters, the volume, the notices; and what a finished transfer refreshes.

#include <QString>

#include <functional>

class QWidget;
class TForm9;

// Connects the link window's session to the windows of the console. Every
// link window is connected once, right after it is made.
void ConnectLinkToWindows(TForm9& link);

// Shows the text of the current language on a label (or any widget with a text
// property) and keeps the other one in its Hint.
void SetLabelPair(QWidget* control, int languageFlag, const QString& english,
                  const QString& chinese);

// The status box's text again in the installed language, from the link label.
void ShowStatusBoxAgain();

// Runs when a read of the unit's parameters (connect, read back after a
// recall or factory reset) has filled DeviceImage and the screen.
using BulkReadHook = std::function<void()>;
void SetBulkReadHook(BulkReadHook hook);
