#include "app/Components.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

TImage::TImage(QWidget* parent) : QWidget(parent) { setMouseTracking(true); }

void TImage::paintEvent(QPaintEvent*) {
    if (Picture.isNull())
        return;
    QPainter p(this);
    if (!isEnabled()) p.setOpacity(0.45); // a held handle
    p.drawImage(0, 0, Picture);
}

void TImage::mousePressEvent(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    emit mouseDown(e->button(), e->buttons(), e->modifiers(), pos.x(), pos.y());
}

void TImage::mouseMoveEvent(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    emit mouseMove(e->buttons(), e->modifiers(), pos.x(), pos.y());
}

void TImage::mouseReleaseEvent(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    emit mouseUp(e->button(), e->buttons(), e->modifiers(), pos.x(), pos.y());
}

LevelMeter::LevelMeter(QWidget* parent) : QWidget(parent) {}

void LevelMeter::setRange(int minimum, int maximum) {
    min_ = minimum;
    max_ = maximum;
    update();
}

void LevelMeter::setValue(int value) {
    if (value == value_)
        return;
    value_ = value;
    update();
}

void LevelMeter::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect r = rect().adjusted(0, 0, -1, -1);
    p.fillRect(r, QColor(30, 30, 30));
    const int span = max_ - min_;
    if (span <= 0)
        return;
    const int clipped = std::clamp(value_, min_, max_);
    const int h = (clipped - min_) * r.height() / span;
    // Green up to -6 dB below the top, then yellow, red in the last steps.
    QLinearGradient g(r.bottomLeft(), r.topLeft());
    g.setColorAt(0.0, QColor(0, 200, 0));
    g.setColorAt(0.75, QColor(230, 230, 0));
    g.setColorAt(1.0, QColor(230, 30, 0));
    p.fillRect(QRect(r.left() + 1, r.bottom() - h, r.width() - 1, h), g);
    p.setPen(QColor(90, 90, 90));
    p.drawRect(r);
}

ParamEdit::ParamEdit(QWidget* parent) : QLineEdit(parent) {}

void ParamEdit::mousePressEvent(QMouseEvent* e) {
    QLineEdit::mousePressEvent(e);
    if (e->button() == Qt::LeftButton)
        emit clicked();
}

void ParamEdit::focusInEvent(QFocusEvent* e) {
    QLineEdit::focusInEvent(e);
    // Coming back to the window or from a popup is not entering the edit.
    if (e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason)
        emit entered();
}

void ParamEdit::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    // Switching to another window or opening a popup is not leaving the edit.
    if (e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason)
        emit exited();
}

void ParamEdit::keyPressEvent(QKeyEvent* e) {
    emit keyDown(e->key());
    QChar ch;
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)
        ch = QLatin1Char('\r');
    else if (e->key() == Qt::Key_Backspace)
        ch = QLatin1Char('\b');
    else if (!e->text().isEmpty() && e->text().at(0).isPrint())
        ch = e->text().at(0);
    if (!ch.isNull()) {
        bool discard = false;
        emit keyPressed(ch, &discard);
        if (discard)
            return;
    }
    QLineEdit::keyPressEvent(e);
}
