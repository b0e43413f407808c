#include "eq/EqDrag.h"

#include "app/Components.h"
#include "app/WindowState.h"
#include "eq/EqGraph.h"
#include "params/ControlBindings.h"
#include "params/ControlProps.h"
#include "params/DispatchState.h"
#include "params/Dispatcher.h"
#include "params/ParamImage.h"
#include "params/UndoHistory.h"

#include <QComboBox>
#include <QLineEdit>

#include <algorithm>

// The handlers only record pending raw values; Timer1's tick hands them to
// the dispatcher, so at most one frequency and one gain write leave per tick.

namespace {

EqDragState& D() {
    return EqGraph.Drag;
}

QWidget* HandleAt(int n) {
    return n >= 0 && n < 17 ? Window.EqHandles[n] : nullptr;
}

int HandleNumber(const QObject* sender) {
    return Tag(sender);
}

// The control bound to field f of band b of the displayed module.
QWidget* BandControl(int band, int field) {
    const int m = Window.CurrentModule;
    if (m < 1 || m > 2) return nullptr;
    const int index = BandFirstSlot[m] + 5 * band + field;
    if (index < 0 || index >= ImageSlots) return nullptr;
    return Bindings.ControlMap[m][index];
}

// The graph's controls, as the main window handed them.
const EqGraphControls& C() {
    return EqGraph.Controls;
}

QLineEdit* AsEdit(QWidget* w) {
    auto* e = qobject_cast<QLineEdit*>(w);
    if (!e || e == C().Example) return nullptr;
    return e;
}

bool MovesSideways(int handle) {
    if (handle == 9 || handle == 10) return true;
    auto* box = qobject_cast<QComboBox*>(BandControl(handle, 0));
    return box && (box->currentIndex() == 3 || box->currentIndex() == 4);
}

void SetCursor(QObject* o, Qt::CursorShape shape) {
    if (auto* w = qobject_cast<QWidget*>(o)) {
        if (shape == Qt::ArrowCursor)
            w->unsetCursor();
        else
            w->setCursor(shape);
    }
}

// Pointer position in the graph's frame, so a Q step count continues when
// the pointer leaves the handle.
QPoint GraphPoint(QObject* sender, int x, int y) {
    auto* w = qobject_cast<QWidget*>(sender);
    if (!w || !C().Image1 || w == C().Image1) return {x, y};
    return {x + w->x(), y + w->y()};
}

void QStep(QObject* sender, int x, int y) {
    const QPoint pt = GraphPoint(sender, x, y);
    const int moved = pt.x() - D().DownX;
    if (moved > 2)
        CommitEdit(StepUp);
    else if (moved < -2)
        CommitEdit(StepDown);
    else
        return;
    D().DownX = pt.x();
    D().DownY = pt.y();
    D().DragSlot = D().ActiveHandle;
}

// The pending/sent pair is shared by all handles. Starting a grab from the
// grabbed band's own values means a drag onto a value that another band sent
// last (or onto the start value 0) is still written.
void StartFromBandValues(int handle) {
    if (handle < 0 || handle >= CurveSlotCount) return;
    // A value of the previous drag still waiting for the tick goes out first.
    if (D().PendingFreqRaw != D().SentFreqRaw || D().PendingGainRaw != D().SentGainRaw) return;
    const CurveSlot& slot = EqGraph.CurveSlots[handle];
    auto rawOf = [](const QWidget* edit, float fallback) {
        if (!edit || edit == C().Example) return fallback;
        const int address = Tag(edit);
        const int m = address / 256;
        const int i = address % 256;
        if (m < 0 || m > LastModule || i < 0 || i >= ImageSlots) return fallback;
        return static_cast<float>(Params.ParamImage[m][i]);
    };
    D().PendingFreqRaw = D().SentFreqRaw = rawOf(slot.FreqEdit, D().SentFreqRaw);
    D().PendingGainRaw = D().SentGainRaw = rawOf(slot.GainEdit, D().SentGainRaw);
}

} // namespace

void EP1MouseDown(QObject* Sender, Qt::MouseButton Button, int X, int Y) {
    if (Dispatch.InputHeld == 1) return;
    SetCursor(Sender, Qt::CrossCursor);
    D().HandleDragging = true;
    if (D().QStepping) {
        // A second button during a Q step: the step count goes on in the
        // graph's frame from where the pointer is.
        const QPoint pt = GraphPoint(Sender, X, Y);
        D().DownX = pt.x();
        D().DownY = pt.y();
        return;
    }
    // A drag measures in the handle's frame: the press point stays fixed in it.
    D().DownX = X;
    D().DownY = Y;
    D().ActiveHandle = HandleNumber(Sender);
    D().QStepping = false;
    const int h = D().ActiveHandle;
    // Press to release is one undo step, whatever the tick commits meanwhile.
    if (Button == Qt::RightButton)
        HoldUndoGesture(&D(), QObject::tr("Q值") + QLatin1Char(' ') + QString::number(h + 1));
    else if (h == 9)
        HoldUndoGesture(&D(), QObject::tr("拖动 高通"));
    else if (h == 10)
        HoldUndoGesture(&D(), QObject::tr("拖动 低通"));
    else
        HoldUndoGesture(&D(), QObject::tr("拖动 频段 %1").arg(h + 1));
    StartFromBandValues(h);
    const bool music = Window.CurrentModule == 1;
    if (Button == Qt::LeftButton) {
        if (h == 9 || h == 10) {
            const CrossoverControls& x = music ? C().MusCrossover : C().AuxCrossover;
            QLineEdit* edit = h == 9 ? x.HighPassFre : x.LowPassFre;
            if (!edit) return;
            if (music) {
                MusFreEdit1Click(edit);
            } else {
                // Current edit only: neither focused nor wheel-armed.
                Dispatch.CurrentEdit = edit;
            }
        } else if (QLineEdit* e = AsEdit(BandControl(h, 1))) {
            MusFreEdit1Click(e);
        }
    } else if (Button == Qt::RightButton) {
        if (h == 9 || h == 10) {
            D().HandleDragging = false;
            return;
        }
        if (QLineEdit* e = AsEdit(BandControl(h, 3))) {
            if (e->isEnabled()) MusFreEdit1Click(e);
            D().QStepping = true;
            const QPoint pt = GraphPoint(Sender, X, Y);
            D().DownX = pt.x();
            D().DownY = pt.y();
        }
    } else {
        // Only left and right releases end a press; a drag started by another
        // button would follow the pointer after it was let go.
        D().HandleDragging = false;
    }
}

void EP1MouseMove(QObject* Sender, Qt::MouseButtons Shift, int X, int Y) {
    if (D().QStepping) {
        if (Shift & Qt::RightButton) {
            QStep(Sender, X, Y);
            return;
        }
        // The right button went up where no release reached us: the Q step
        // is over, hovering steps nothing.
        D().QStepping = false;
        D().HandleDragging = false;
        return;
    }
    // Handles track the pointer without a button too: no drag once the left
    // button is up, even if its release went elsewhere.
    if (!D().HandleDragging || !(Shift & Qt::LeftButton)) return;
    QWidget* h = HandleAt(D().ActiveHandle);
    const QWidget* img = C().Image1;
    if (!h || !img) return;
    const int d = h->height() / 2;
    const int dx = X - D().DownX;
    int dy = Y - D().DownY;
    if (MovesSideways(D().ActiveHandle)) dy = 0;
    int left = h->x() + dx;
    int top = h->y() + dy;
    if (top < img->y() - d) top = img->y() - d;
    if (top > img->y() + img->height() - d) top = img->y() + img->height() - d;
    if (left < FreqToX(19) - d) left = RoundEvenInt(FreqToX(19)) - d;
    float freq = static_cast<float>(RoundEven(XToFreq(left + d)));
    float gain = static_cast<float>(YToDb(top + d));
    if (freq < 19) freq = 19;
    if (freq > 20600) {
        freq = 20600;
        left = RoundEvenInt(FreqToX(20600) - d);
    }
    gain = std::clamp(gain, -24.0f, 12.0f);
    h->move(left, top);
    D().DragFreq = freq;
    D().DragGain = gain;
    D().DragSlot = D().ActiveHandle;
    if (dx != 0) D().PendingFreqRaw = static_cast<float>(TextToRaw(2, freq));
    if (dy != 0) D().PendingGainRaw = static_cast<float>(RoundEven((gain + 24.0) * 5.0));
}

void EP1MouseUp(QObject* Sender, Qt::MouseButton Button, int, int) {
    if (Button != Qt::LeftButton && Button != Qt::RightButton) return;
    D().QStepping = false;
    if (D().HandleDragging) {
        D().HandleDragging = false;
        SetCursor(Sender, Qt::ArrowCursor);
    }
}

void Image1MouseMove(QObject* Sender, Qt::MouseButtons Shift, int X, int Y) {
    if (!D().QStepping || !(Shift & Qt::RightButton)) return;
    if (C().Image1 && Sender == C().Image1) SetCursor(Sender, Qt::CrossCursor);
    QStep(Sender, X, Y);
    D().HandleDragging = false;
}

void Image1MouseUp(QObject* Sender, Qt::MouseButton Button, int, int) {
    if (Button == Qt::RightButton && D().QStepping) {
        D().HandleDragging = false;
        D().QStepping = false;
        if (QLineEdit* e = AsEdit(BandControl(D().ActiveHandle, 3)))
            if (e->isEnabled()) MusFreEdit1Click(e);
        SetCursor(Sender, Qt::ArrowCursor);
    } else if (Button == Qt::LeftButton) {
        D().HandleDragging = false;
        D().QStepping = false;
    }
}

void EQAdvPanelMouseUp(QObject*, Qt::MouseButton, int, int) {
    D().HandleDragging = false;
    D().QStepping = false;
}

void EQlabelMouseUp(QObject*, Qt::MouseButton, int, int) {
    D().HandleDragging = false;
    D().QStepping = false;
}

namespace {
void CommitPending() {
    EqDragState& s = D();
    if (s.DragSlot < 0 || s.DragSlot >= CurveSlotCount) return;
    const CurveSlot& slot = EqGraph.CurveSlots[s.DragSlot];
    const bool freqChanged = s.PendingFreqRaw != s.SentFreqRaw;
    const bool gainChanged = s.PendingGainRaw != s.SentGainRaw;
    if (freqChanged) {
        s.SentFreqRaw = s.PendingFreqRaw;
        if (slot.FreqEdit) SetControlValue(slot.FreqEdit, StepNone, UserChange, s.PendingFreqRaw);
    }
    if (gainChanged) {
        s.SentGainRaw = s.PendingGainRaw;
        if (slot.GainEdit) SetControlValue(slot.GainEdit, StepNone, UserChange, s.PendingGainRaw);
    }
}
} // namespace

void EqDropDrag() {
    EqDragState& s = D();
    const bool active = s.HandleDragging || s.QStepping || UndoGestureHeld(&s);
    s.HandleDragging = false;
    s.QStepping = false;
    s.PendingFreqRaw = s.SentFreqRaw;
    s.PendingGainRaw = s.SentGainRaw;
    ReleaseUndoGesture(&s);
    // The handle goes back to where its band is.
    if (active) RedrawEqCurve(AllSlots, Window.CurrentModule);
}

void EqCommitDrag() {
    if (Dispatch.InputHeld != 1) CommitPending();
    // The released drag's last value is in: its undo step is complete.
    if (UndoGestureHeld(&D()) && !D().HandleDragging && !D().QStepping) ReleaseUndoGesture(&D());
}

bool EqTickHasWork() {
    const EqDragState& s = D();
    // A held drag keeps the tick on from press to release, so its commits
    // stay on the tick's own 10 ms beat.
    if (UndoGestureHeld(&s)) return true;
    const bool commit = s.DragSlot >= 0 && s.DragSlot < CurveSlotCount &&
                        (s.PendingFreqRaw != s.SentFreqRaw || s.PendingGainRaw != s.SentGainRaw);
    return commit || Window.LastCurveWrite != Window.DrawnCurveWrite;
}

bool FormMouseWheel(int wheelDelta) {
    if (Dispatch.WheelArmed == 0 || Dispatch.InputHeld == 1) return false;
    if (wheelDelta > 0)
        CommitEdit(StepUp);
    else if (wheelDelta < 0)
        CommitEdit(StepDown);
    return true;
}
