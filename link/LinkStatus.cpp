// The link's status display: the main window's link label and the status box.
#include "link/LinkWindow.h"
#include "link/MainLinkLabel.h"

#include "app/MainWindow.h"
#include "app/WindowState.h"
#include "presets/StatusBox.h"

#include <QLabel>
#include <QPalette>
#include <QTimer>

QLabel* MainLinkLabel() {
    return Form1 ? Form1->LinkLabel : nullptr;
}

QString MainLinkText() {
    QLabel* l = MainLinkLabel();
    return l ? l->text() : QString();
}

void SetMainLabel(const QString& english, const QString& chinese) {
    SetLabelPair(MainLinkLabel(), Window.LanguageFlag, english, chinese);
}

namespace {

void SetTextColour(QWidget* w, const QColor& c) {
    if (!w) return;
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, c);
    w->setPalette(pal);
}

} // namespace

void TForm9::ShowLinkStatus(int kind, const QString& text, int percent) {
    LastPercent = percent;
    QLabel* label = MainLinkLabel();
    switch (kind) {
    case 0:
        SetTextColour(label, QColor(242, 242, 242));
        if (label) label->setText(text);
        Timer2->stop();
        Timer1->stop();
        HoldTimer->stop();
        LinkState = NoDevice;
        break;
    case 1:
        LinkState = Offline;
        SetTextColour(label, QColor(0, 227, 0));
        break;
    case 2:
        SetTextColour(label, QColor(0, 227, 0));
        if (Form4) {
            SetLabelPair(Form4->LinkLabel, Window.LanguageFlag, QStringLiteral("Staus：") + text,
                         QStringLiteral("状态：") + text);
            Form4->SetPercent(percent);
            Form4->ShowOnTop();
        }
        break;
    case 3:
        SetTextColour(label, QColor(255, 255, 0));
        if (Form4) {
            Form4->SetPercent(percent);
            Form4->hide();
        }
        break;
    default:
        break;
    }
}

void TForm9::ShowLinkStatus(int kind, const QString& english, const QString& chinese) {
    ShowLinkStatus(kind, Lang(chinese, english), 0);
    SetMainLabel(english, chinese);
}
