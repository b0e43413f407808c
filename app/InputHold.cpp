#include "app/InputHold.h"

#include "app/MainWindow.h"
#include "app/WindowState.h"
#include "eq/EqDrag.h"
#include "params/DispatchState.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QToolButton>

#include <algorithm>
#include <vector>

namespace {

// The controls this hold disabled (and only those: some are disabled for good).
std::vector<QPointer<QWidget>> heldControls;

// Controls that change what is shown or the link, never a parameter.
bool StaysUsable(const TForm1& f, const QWidget* w) {
    return w == f.FormTabBtn1 || w == f.FormTabBtn2 || w == f.RzBmpButton1 || w == f.LinkBtn ||
           w == f.LanguageBox || w == f.Example || w == f.ExampleBtn ||
           qobject_cast<const QToolButton*>(w) != nullptr; // undo and redo follow their actions
}

// A control that takes the user's input; the parts of a combo or spin box are its own.
bool TakesInput(const QWidget* w) {
    const QWidget* parent = w->parentWidget();
    if (qobject_cast<const QComboBox*>(parent) || qobject_cast<const QAbstractSpinBox*>(parent))
        return false;
    if (qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QComboBox*>(w) ||
        qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractSlider*>(w) ||
        qobject_cast<const QAbstractSpinBox*>(w))
        return true;
    return std::find(std::begin(Window.EqHandles), std::end(Window.EqHandles), w) !=
           std::end(Window.EqHandles);
}

void Hold(TForm1& f) {
    QWidget* focus = f.focusWidget();
    std::vector<QWidget*> controls;
    for (QWidget* w : f.findChildren<QWidget*>())
        if (w->window() == &f && TakesInput(w) && !StaysUsable(f, w) &&
            !w->testAttribute(Qt::WA_ForceDisabled))
            controls.push_back(w);
    // An edit left now would commit its typing behind the transfer; it is
    // refused (held already) and the edit shows its value again.
    if (focus && std::find(controls.begin(), controls.end(), focus) != controls.end())
        focus->clearFocus();
    for (QWidget* w : controls) {
        w->setEnabled(false);
        heldControls.emplace_back(w);
    }
}

void Release() {
    for (const QPointer<QWidget>& w : heldControls)
        if (w) w->setEnabled(true);
    heldControls.clear();
}

} // namespace

void HoldParameterInput(bool held) {
    if (held == ParameterInputHeld()) return;
    Dispatch.InputHeld = held ? 1 : 0;
    if (held) {
        Dispatch.WheelArmed = 0;
        EqDropDrag();
    }
    TForm1* f = Form1;
    if (!f) {
        heldControls.clear();
        return;
    }
    if (f->UndoAction && f->UndoAction->actionGroup())
        f->UndoAction->actionGroup()->setEnabled(!held);
    if (held)
        Hold(*f);
    else
        Release();
}

bool ParameterInputHeld() {
    return Dispatch.InputHeld == 1;
}
