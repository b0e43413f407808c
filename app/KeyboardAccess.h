#pragma once
// The main window for a person on the keyboard or with a screen reader: Tab in
// reading order, a visible focus, the edit the wheel steps marked, and a name
// for every control.

#include <QList>

class QRect;
class QWidget;
class TForm1;

// Tab order, focus frame, wheel mark and the names of the controls the
// binding does not name. Once, after the layout is built.
void InstallKeyboardAccess(TForm1* form);

// Every control that takes the keyboard, in reading order: top bar left to
// right, then the columns and panels of the window, row by row within each.
// Computed from where the controls are, so a control added to a panel takes
// its place without being listed.
QList<QWidget*> ReadingOrder(TForm1* form);

// Marks the edit a wheel turn would step and says what it is in the status
// tip; clears both while the wheel is not armed. Runs whenever the loop waits.
void ShowWheelTarget(TForm1* form);
