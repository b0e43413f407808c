#include "app/KeyboardAccess.h"

#include "app/MainWindow.h"
#include "params/DispatchState.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QFocusFrame>
#include <QLabel>
#include <QPointer>
#include <QStackedWidget>

#include <algorithm>

namespace {

// The areas of the window in reading order. A control belongs to the nearest
// of them that holds it, so a group on a page comes apart from the page.
QList<QWidget*> Areas(TForm1* f) {
    return {f->AdvGroupBox19, f->CurvyPanel3, f->CurvyPanel2,  f->CurvyPanel5, f->AdvGroupBox1,
            f->CurvyPanel4,   f->DEQ1Gropx,   f->DEQ2Gropx,    f->DEQ4Grop,    f->AdvTabSheet2,
            f->AdvGroupBox2,  f->EQAdvPanel};
}

bool TakesTab(const QWidget* w) {
    return (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy() && !w->isWindow();
}

// Rows of an area: controls whose middles are within half a row of the row's
// first control, left to right.
void SortInRows(QList<QWidget*>& controls, const QWidget* area) {
    struct Place {
        QWidget* w;
        QRect r;
    };
    std::vector<Place> places;
    for (QWidget* w : controls)
        places.push_back({w, QRect(w->mapTo(area, QPoint(0, 0)), w->size())});
    std::stable_sort(places.begin(), places.end(), [](const Place& a, const Place& b) {
        return a.r.center().y() < b.r.center().y();
    });
    constexpr int HalfRow = 9;
    std::size_t begin = 0;
    while (begin < places.size()) {
        std::size_t end = begin + 1;
        while (end < places.size() &&
               places[end].r.center().y() - places[begin].r.center().y() <= HalfRow)
            ++end;
        std::stable_sort(places.begin() + static_cast<std::ptrdiff_t>(begin),
                         places.begin() + static_cast<std::ptrdiff_t>(end),
                         [](const Place& a, const Place& b) { return a.r.x() < b.r.x(); });
        begin = end;
    }
    controls.clear();
    for (const Place& p : places)
        controls << p.w;
}

// The focus frame's colour is the console's own amber; it sits beside the
// control, so it shows on sliders, check boxes and the flat tab buttons alike.
const char* const FocusFrameStyle = "QFocusFrame { border: 2px solid rgb(255, 196, 0); "
                                    "border-radius: 3px; }";

class FocusFollower : public QObject {
public:
    explicit FocusFollower(TForm1* form) : QObject(form), form_(form) {
        frame_ = new QFocusFrame(form);
        frame_->setStyleSheet(QString::fromLatin1(FocusFrameStyle));
        connect(qApp, &QApplication::focusChanged, this,
                [this](QWidget*, QWidget* now) { Follow(now); });
    }

private:
    void Follow(QWidget* now) {
        if (!frame_) return;
        if (!now || now->window() != form_) {
            frame_->setWidget(nullptr);
            return;
        }
        // A spin box's or combo box's own edit shows its owner framed.
        QWidget* shown = now;
        for (QWidget* p = now->parentWidget(); p && p != form_; p = p->parentWidget())
            if (p->focusProxy() == now || p->inherits("QAbstractSpinBox") ||
                p->inherits("QComboBox"))
                shown = p;
        frame_->setWidget(shown);
    }

    TForm1* form_;
    QPointer<QFocusFrame> frame_;
};

} // namespace

QList<QWidget*> ReadingOrder(TForm1* f) {
    const QList<QWidget*> areas = Areas(f);
    QList<QList<QWidget*>> byArea(areas.size());
    for (QWidget* w : f->findChildren<QWidget*>()) {
        // Not the combo boxes' pop-ups, which are windows of their own.
        if (!TakesTab(w) || w->window() != f || w == f->Example ||
            w == static_cast<QWidget*>(f->ExampleBtn))
            continue;
        for (QWidget* p = w->parentWidget(); p && p != f; p = p->parentWidget()) {
            const qsizetype at = areas.indexOf(p);
            if (at < 0) continue;
            byArea[at] << w;
            break;
        }
    }
    QList<QWidget*> order;
    for (qsizetype a = 0; a < areas.size(); ++a) {
        SortInRows(byArea[a], areas[a]);
        order += byArea[a];
    }
    return order;
}

void ShowWheelTarget(TForm1* f) {
    static QPointer<ParamEdit> marked;
    // Runs each time the loop goes to sleep: look among the graph panel's own children only.
    auto* label = f->EQAdvPanel ? f->EQAdvPanel->findChild<QLabel*>(QStringLiteral("WheelTip"),
                                                                    Qt::FindDirectChildrenOnly)
                                : nullptr;
    auto* edit = qobject_cast<ParamEdit*>(Dispatch.CurrentEdit);
    const bool armed = Dispatch.WheelArmed == 1 && edit && edit != f->Example &&
                       edit->window() == f && edit->isVisible();
    if (marked && marked != edit) marked->setWheelMark(false);
    marked = armed ? edit : nullptr;
    if (armed) edit->setWheelMark(true);
    if (!label) return;
    const QString tip =
        armed ? TForm1::tr("鼠标滚轮调节：%1（拖动滑块或点选直通框后解除）").arg(edit->accessibleName())
              : QString();
    if (label->text() != tip) label->setText(tip);
    label->setVisible(armed);
}

void InstallKeyboardAccess(TForm1* f) {
    const QList<QWidget*> order = ReadingOrder(f);
    for (qsizetype k = 1; k < order.size(); ++k)
        QWidget::setTabOrder(order[k - 1], order[k]);
    new FocusFollower(f);

    // Above the graph, where the eye is while the wheel turns.
    auto* tip = new QLabel(f->EQAdvPanel);
    tip->setObjectName(QStringLiteral("WheelTip"));
    tip->setGeometry(48, 1, 700, 16);
    tip->setStyleSheet(QStringLiteral("QLabel { color: rgb(110, 40, 0); font-weight: bold; "
                                      "background: transparent; }"));
    tip->setAttribute(Qt::WA_TransparentForMouseEvents, true);
    tip->hide();
    if (auto* loop = QAbstractEventDispatcher::instance())
        QObject::connect(loop, &QAbstractEventDispatcher::aboutToBlock, f,
                         [f] { ShowWheelTarget(f); });
}
