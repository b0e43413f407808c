#include "app/UndoActions.h"

#include "app/MainWindow.h"
#include "app/LinkDisplay.h"
#include "params/ControlProps.h"
#include "params/UndoHistory.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QSlider>
#include <QToolButton>
#include <QUndoStack>

namespace {

const QKeySequence UndoKey(Qt::CTRL | Qt::Key_Z);
const QKeySequence RedoKeys[2] = {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                                  QKeySequence(Qt::CTRL | Qt::Key_Y)};

// A line edit would take the undo keys for its text (ShortcutOverride); the
// console's actions take them back where its own history is the one meant.
class UndoKeyOwner : public QObject {
public:
    explicit UndoKeyOwner(TForm1* form) : QObject(form), form_(form) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ShortcutOverride) return false;
        auto* w = qobject_cast<QWidget*>(watched);
        if (!w || w->window() != form_) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const QKeySequence pressed(key->keyCombination());
        const bool undo = pressed == UndoKey;
        const bool redo = pressed == RedoKeys[0] || pressed == RedoKeys[1];
        if (!undo && !redo) return false;
        bool spin = false;
        for (QWidget* p = w; p && p != form_; p = p->parentWidget())
            spin = spin || qobject_cast<QAbstractSpinBox*>(p) != nullptr;
        if (!spin) {
            auto* edit = qobject_cast<ParamEdit*>(w);
            if (!edit || edit == form_->Example || Hint(edit).isEmpty()) return false;
            // Typing since the edit last showed a value is the edit's to undo.
            if (undo ? edit->isUndoAvailable() : edit->isRedoAvailable()) return false;
        }
        event->ignore();
        return true;
    }

private:
    TForm1* form_;
};

QToolButton* Button(QWidget* bar, QAction* action, const char* name, const QRect& at) {
    auto* b = new QToolButton(bar);
    b->setObjectName(QString::fromLatin1(name));
    b->setDefaultAction(action);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    // A click must not take the focus from an edit being typed into.
    b->setFocusPolicy(Qt::NoFocus);
    b->setGeometry(at);
    return b;
}

} // namespace

void InstallUndoActions(TForm1* form) {
    MakeUndoHistory(form);
    // The unit's values have replaced the console's: no undoing into values it no longer holds.
    SetBulkReadHook(ClearUndoHistory);
    QUndoStack* stack = UndoStack();

    form->UndoAction = stack->createUndoAction(form, QObject::tr("撤销"));
    form->UndoAction->setObjectName(QStringLiteral("UndoAction"));
    form->UndoAction->setShortcut(UndoKey);
    form->RedoAction = stack->createRedoAction(form, QObject::tr("重做"));
    form->RedoAction->setObjectName(QStringLiteral("RedoAction"));
    form->RedoAction->setShortcuts({RedoKeys[0], RedoKeys[1]});
    form->addAction(form->UndoAction);
    form->addAction(form->RedoAction);
    // One switch for both while a transfer holds the parameters; each keeps
    // its own state (something to undo or not) for when it is released.
    auto* group = new QActionGroup(form);
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
    group->addAction(form->UndoAction);
    group->addAction(form->RedoAction);

    // In the free stretch of the top bar between the input selection and the link label.
    QWidget* bar = form->AdvGroupBox19;
    auto* heading = new QLabel(QObject::tr("编辑"), bar);
    heading->setObjectName(QStringLiteral("UndoLabel"));
    heading->setGeometry(540, 1, 236, 15);
    heading->setAlignment(Qt::AlignCenter);
    form->UndoBtn = Button(bar, form->UndoAction, "UndoBtn", QRect(540, 16, 116, 22));
    form->RedoBtn = Button(bar, form->RedoAction, "RedoBtn", QRect(660, 16, 116, 22));

    // A track bar dragged by its handle is one step from press to release, however slow.
    for (QSlider* s : form->findChildren<QSlider*>()) {
        QObject::connect(s, &QSlider::sliderPressed, form,
                         [s] { HoldUndoGesture(s, ParamName(Tag(s))); });
        QObject::connect(s, &QSlider::sliderReleased, form, [s] { ReleaseUndoGesture(s); });
    }

    qApp->installEventFilter(new UndoKeyOwner(form));
}
