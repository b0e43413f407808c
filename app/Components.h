#pragma once
// The small component set the windows are built from, where plain Qt widgets
// do not carry the events the handlers expect.

#include <QImage>
#include <QLineEdit>
#include <QWidget>

// Image control: paints its picture at the top-left corner and reports mouse
// events in its own coordinates. Used for the response graph and the handles.
class TImage : public QWidget {
    Q_OBJECT
public:
    explicit TImage(QWidget* parent = nullptr);
    QImage Picture; // the bitmap shown; call update() after changing it

signals:
    void mouseDown(Qt::MouseButton button, Qt::MouseButtons buttons,
                   Qt::KeyboardModifiers modifiers, int x, int y);
    void mouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y);
    void mouseUp(Qt::MouseButton button, Qt::MouseButtons buttons,
                 Qt::KeyboardModifiers modifiers, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// Vertical level meter. Accepts any value; values below the range show empty.
class LevelMeter : public QWidget {
    Q_OBJECT
public:
    explicit LevelMeter(QWidget* parent = nullptr);
    void setRange(int minimum, int maximum);
    int minimum() const { return min_; }
    int maximum() const { return max_; }
    void setValue(int value);
    int value() const { return value_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int min_ = 0;
    int max_ = 48;
    int value_ = 0;
};

// Parameter edit: a line edit that reports click, exit, key-down and
// key-press the way the parameter handlers expect them.
class ParamEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit ParamEdit(QWidget* parent = nullptr);
    // Marks the edit that a wheel turn over the window steps.
    void setWheelMark(bool on);
    bool wheelMark() const { return wheelMark_; }

signals:
    void clicked();
    // The edit took the focus by a click, Tab, Shift+Tab or setFocus.
    void entered();
    // Focus left the edit for another control of the window.
    void exited();
    // Every key press, before the edit handles it; the key is not consumed.
    void keyDown(int key);
    // A character key ('\r' for Enter, '\b' for Backspace); set *discard to
    // drop it before it reaches the text.
    void keyPressed(QChar ch, bool* discard);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool wheelMark_ = false;
};
