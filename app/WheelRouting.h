#pragma once
// Where a wheel turn over the main window goes: while the wheel is armed it
// steps the selected edit wherever the pointer is; otherwise a combo box, spin
// box or slider takes a turn only while it has the keyboard focus, so that
// scrolling past a control never changes it.

class QWidget;

// Watches the application's wheel events for the widgets of window; ends with
// the window. Gives the window's combo boxes, spin boxes and sliders a focus
// policy that a click or Tab satisfies and a wheel turn does not.
void InstallWheelRouting(QWidget* window);
