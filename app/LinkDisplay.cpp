#include "app/LinkDisplay.h"

#include "app/Dialogs.h"
#include "app/InputHold.h"
#include "app/MainWindow.h"
#include "app/WindowState.h"
#include "link/LinkWindow.h"
#include "params/ControlProps.h"
#include "params/DispatchState.h"
#include "params/Dispatcher.h"
#include "params/ParamImage.h"
#include "params/SendToUnit.h"
#include "presets/Snapshots.h"
#include "presets/StatusBox.h"

#include <QComboBox>
#include <QLabel>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>

#include <cstring>

namespace {

BulkReadHook bulkReadDone;

QLabel* LinkLabel() {
    return Form1 ? Form1->LinkLabel : nullptr;
}

void SetTextColour(QWidget* w, const QColor& c) {
    if (!w) return;
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, c);
    w->setPalette(pal);
}

void ShowStatus(int kind, const QString& text, int percent) {
    QLabel* label = LinkLabel();
    switch (kind) {
    case StatusNoUnit:
        SetTextColour(label, QColor(242, 242, 242));
        if (label && !text.isNull()) label->setText(text);
        break;
    case StatusOffline:
        SetTextColour(label, QColor(0, 227, 0));
        break;
    case StatusBusy:
        SetTextColour(label, QColor(0, 227, 0));
        if (Form4) {
            const QString shown = !text.isNull() ? text : label ? label->text() : QString();
            SetLabelPair(Form4->LinkLabel, Window.LanguageFlag, QStringLiteral("Staus：") + shown,
                         QStringLiteral("状态：") + shown);
            Form4->SetPercent(percent);
            Form4->ShowOnTop();
        }
        break;
    case StatusDone:
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

} // namespace

void SetLabelPair(QWidget* control, int languageFlag, const QString& english,
                  const QString& chinese) {
    if (control == nullptr) return;
    const bool zh = languageFlag == 1;
    const QString& shown = zh ? chinese : english;
    if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(shown);
    else
        control->setProperty("text", shown);
    SetHint(control, zh ? english : chinese);
    // A change of language shows the other text of the pair.
    control->setProperty("kvTextPair", true);
}

void ShowStatusBoxAgain() {
    QLabel* label = LinkLabel();
    if (!Form4 || !label || Form4->LinkLabel->text().isEmpty()) return;
    SetLabelPair(Form4->LinkLabel, Window.LanguageFlag, QStringLiteral("Staus：") + label->text(),
                 QStringLiteral("状态：") + label->text());
}

void SetBulkReadHook(BulkReadHook hook) {
    bulkReadDone = std::move(hook);
}

void ConnectLinkToWindows(TForm9& link) {
    LinkSession* session = link.Session;
    // The parameter changes reach the unit through this session while it lives.
    UnitPort* port = session;
    SetUnitPort(port);
    QObject::connect(session, &QObject::destroyed, [port] {
        if (CurrentUnitPort() == port) SetUnitPort(nullptr);
    });
    // Several units: the link area offers them; a choice connects to it.
    QObject::connect(&link, &TForm9::UnitsListed, &link,
                     [](const QStringList& names, const QList<int>& rows, int current) {
                         QComboBox* box = Form1 ? Form1->UnitChoiceBox : nullptr;
                         if (!box) return;
                         const QSignalBlocker quiet(box);
                         box->clear();
                         // The serial number (or product) in the box, with its path beside it
                         // in the tooltip: the bar has room for the one, not the other.
                         for (int i = 0; i < names.size(); ++i) {
                             box->addItem(names.at(i).section(QStringLiteral(" \u2014 "), 0, 0),
                                          rows.at(i));
                             box->setItemData(i, names.at(i), Qt::ToolTipRole);
                         }
                         box->setCurrentIndex(current);
                         const bool several = names.size() > 1;
                         box->setVisible(several);
                         // The factory switch, when shown, makes room on the caption row.
                         QWidget* factory = Form1->RzBmpButton1;
                         const bool both = several && factory && !factory->isHidden();
                         if (factory)
                             factory->setGeometry(both ? QRect(1086, 0, 76, 16)
                                                       : QRect(1086, 16, 76, 22));
                         Form1->LinkBtn->setGeometry(several ? QRect(980, 16, 70, 22)
                                                             : QRect(980, 16, 96, 22));
                         if (QLabel* label = LinkLabel())
                             label->setGeometry(both ? QRect(980, 1, 100, 15)
                                                     : QRect(980, 1, 182, 15));
                     });
    if (Form1 && Form1->UnitChoiceBox)
        QObject::connect(Form1->UnitChoiceBox, &QComboBox::activated, &link, [&link](int index) {
            link.ChooseUnit(Form1->UnitChoiceBox->itemData(index).toInt());
        });
    QObject::connect(session, &LinkSession::StatusShown, &link, &ShowStatus);
    QObject::connect(session, &LinkSession::LinkLabelChanged, &link,
                     [](const QString& english, const QString& chinese) {
                         SetLabelPair(LinkLabel(), Window.LanguageFlag, english, chinese);
                     });
    // The link window is never shown: DialogOwner puts the box over the main window.
    QObject::connect(session, &LinkSession::Notice, &link,
                     [&link](const QString& captionChinese, const QString& textChinese,
                             const QString& captionEnglish, const QString& textEnglish) {
                         Dialogs().Notify(&link, Lang(captionChinese, captionEnglish),
                                          Lang(textChinese, textEnglish));
                     });
    QObject::connect(session, &LinkSession::LevelsChanged, &link, [](int left, int right) {
        if (!Form1) return;
        if (Form1->LeftMeter) Form1->LeftMeter->setValue(left);
        if (Form1->RightMeter) Form1->RightMeter->setValue(right);
    });
    QObject::connect(session, &LinkSession::VolumeChanged, &link, [](int volume) {
        if (Form1 && Form1->SysMusNormalVolBar) Form1->SysMusNormalVolBar->setValue(volume);
    });
    QObject::connect(session, &LinkSession::ChecksumMismatch, &link,
                     [](const QStringList& lines) {
                         if (!Form1 || !Form1->Memo1) return;
                         for (const QString& line : lines)
                             Form1->Memo1->appendPlainText(line);
                     });
    QObject::connect(session, &LinkSession::TransferFinished, &link, [session](int mode) {
        // Kept as the unit sent it: the refresh holds back values the console refuses.
        static PresetImage read;
        if (mode == 0) std::memcpy(read, Params.DeviceImage, sizeof read);
        RefreshScreen();
        if (mode != 0) return;
        SnapshotAfterRead(read, session->ReadStep == StepReadBack);
        if (bulkReadDone) bulkReadDone();
    });
    QObject::connect(session, &LinkSession::LinkDropped, &link,
                     [] { Dispatch.SendSuppressed = 0; });
    QObject::connect(session, &LinkSession::BusyChanged, &link, &HoldParameterInput);
}
