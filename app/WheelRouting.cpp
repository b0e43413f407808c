#include "app/WheelRouting.h"

#include "eq/EqDrag.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QSlider>
#include <QWheelEvent>

namespace {

// The value control a wheel turn over w would change (w itself or the control
// it is part of, e.g. a spin box's line edit), or nullptr.
QWidget* ValueControlAt(QWidget* w, const QWidget* window) {
    for (; w && w != window; w = w->parentWidget())
        if (qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
            qobject_cast<QSlider*>(w))
            return w;
    return nullptr;
}

class WheelRouter : public QObject {
public:
    explicit WheelRouter(QWidget* window) : QObject(window), window_(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Wheel) return false;
        // The platform window sees the turn before the widget under the pointer does.
        auto* w = qobject_cast<QWidget*>(watched);
        if (!w || w->window() != window_) return false;
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (FormMouseWheel(wheel->angleDelta().y())) {
            wheel->accept();
            return true;
        }
        QWidget* control = ValueControlAt(w, window_);
        if (control && !control->hasFocus()) {
            wheel->accept();
            return true;
        }
        return false;
    }

private:
    QWidget* window_;
};

} // namespace

void InstallWheelRouting(QWidget* window) {
    if (!window) return;
    for (QWidget* w : window->findChildren<QWidget*>())
        if (ValueControlAt(w, window) == w) w->setFocusPolicy(Qt::StrongFocus);
    // Application-wide: a widget's own filter would miss its children (a spin box's edit).
    qApp->installEventFilter(new WheelRouter(window));
}
