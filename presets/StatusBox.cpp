#include "presets/StatusBox.h"

#include "app/Dialogs.h"

#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QProgressBar>

#include <algorithm>

TForm4* Form4 = nullptr;

TForm4::TForm4(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setWindowTitle(tr("设备状态"));
    setFixedSize(313, 109);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(209, 209, 224));
    setPalette(pal);
    // The box reports progress; it must not take the focus from the main window.
    setAttribute(Qt::WA_ShowWithoutActivating);

    LinkLabel = new QLabel(tr("设备未连接"), this);
    LinkLabel->setFont(QFont(QStringLiteral("Arial"), 10));
    QPalette labelPal = LinkLabel->palette();
    labelPal.setColor(QPalette::WindowText, Qt::black);
    LinkLabel->setPalette(labelPal);
    LinkLabel->setGeometry(24, 8, 265, 20);

    RzProgressStatus1 = new QProgressBar(this);
    RzProgressStatus1->setRange(0, 100);
    RzProgressStatus1->setValue(0);
    RzProgressStatus1->setGeometry(24, 34, 265, 20);

    Label1 = new QLabel(tr("请稍等,可能需要几秒钟才能完成操作！"), this);
    Label1->setGeometry(24, 62, 280, 20);
    // The box shows only while the parameter controls are held.
    HoldLabel = new QLabel(tr("完成之前不能更改参数。"), this);
    HoldLabel->setObjectName(QStringLiteral("HoldLabel"));
    HoldLabel->setGeometry(24, 82, 280, 20);

    Form4 = this;
}

TForm4::~TForm4() {
    if (Form4 == this) Form4 = nullptr;
}

void TForm4::SetPercent(int percent) {
    Percent = percent;
    RzProgressStatus1->setValue(std::clamp(percent, 0, 100));
}

void TForm4::ShowOnTop() {
    if (!placed_) {
        placed_ = true;
        // The main window, the owner every box falls back to.
        if (const QWidget* owner = MainDialogOwner()) {
            const QRect main = owner->frameGeometry();
            move(main.center() - QPoint(width() / 2, height() / 2));
        }
    }
    show();
    raise();
}
