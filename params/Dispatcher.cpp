// Parameter dispatch: control value -> text, images, link; and the handlers
// of the parameter controls.
#include "params/Dispatcher.h"

#include "app/Dialogs.h"
#include "app/WindowState.h"
#include "eq/CompressorChart.h"
#include "params/Binding.h"
#include "params/ControlBindings.h"
#include "params/ControlProps.h"
#include "params/DispatchState.h"
#include "params/ParamCatalog.h"
#include "params/ParamImage.h"
#include "params/SendToUnit.h"
#include "params/UndoHistory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <cmath>
#include <optional>

namespace {

// Addresses the band rules single out.
constexpr int MusHighPassBoxAddr = SlotAddress(1, MainCrossover.HighPassType);
constexpr int MusHighPassFreAddr = SlotAddress(1, MainCrossover.HighPassFreq);
constexpr int MusLowPassBoxAddr = SlotAddress(1, MainCrossover.LowPassType);
constexpr int MusLowPassFreAddr = SlotAddress(1, MainCrossover.LowPassFreq);
constexpr int AuxHighPassBoxAddr = SlotAddress(2, AuxCrossover.HighPassType);
constexpr int AuxHighPassFreAddr = SlotAddress(2, AuxCrossover.HighPassFreq);
constexpr int AuxLowPassBoxAddr = SlotAddress(2, AuxCrossover.LowPassType);
constexpr int AuxLowPassFreAddr = SlotAddress(2, AuxCrossover.LowPassFreq);
constexpr int HintHighPassBoxAddr = SlotAddress(2, DefaultEqCrossover.HighPassType);
constexpr int DeqStartAddr1 = SlotAddress(2, Deq1Slots.Start);
constexpr int DeqCutOffAddr1 = SlotAddress(2, Deq1Slots.Cutoff);
constexpr int DeqStartAddr2 = SlotAddress(2, Deq2Slots.Start);
constexpr int DeqCutOffAddr2 = SlotAddress(2, Deq2Slots.Cutoff);

// Q limit of a band's Q slot: peaking and not bypassed takes the long table;
// the dynamic equalisers' Q always does.
int QLimit(int address) {
    const int type = BandTypeAddressOf(address);
    if (type < 0) return QRawTop;
    return ImageAt(type) == 0 ? QRawTop : ShelfQRawTop;
}

QString Utf(const std::string& s) {
    return QString::fromStdString(s);
}

// A parameter edit (one with a kind), or nullptr.
QLineEdit* ParamEditOf(QObject* control) {
    auto* edit = qobject_cast<QLineEdit*>(control);
    const ControlBinding* b = BindingOf(edit);
    if (!b || !b->HasKind) return nullptr;
    return edit;
}

void RestoreLastGoodText(QLineEdit* edit) {
    const auto it = Dispatch.LastGoodText.constFind(edit);
    if (it != Dispatch.LastGoodText.constEnd()) edit->setText(*it);
}

void CommitText(QLineEdit* edit, int step) {
    if (!edit || IsFiller(edit)) return;
    // Held during a transfer: what was typed would never reach the unit.
    if (Dispatch.InputHeld == 1) {
        RestoreLastGoodText(edit);
        return;
    }
    const std::string typed = edit->text().toStdString();
    const std::string s = StripToNumber(typed);
    double number = 0;
    if (s.empty() || !ReadNumber(s, number)) {
        RestoreLastGoodText(edit);
        return;
    }
    const ControlBinding* b = BindingOf(edit);
    if (!b || !b->HasKind) {
        Dialogs().Notify(nullptr, QStringLiteral("KALVIREN Audio Controller"),
                         QStringLiteral("error"));
        RestoreLastGoodText(edit);
        return;
    }
    const int kind = b->Kind;
    if (kind == 2 && HasKiloSuffix(typed)) number *= 1000;
    // The quiet commit of a click only re-formats; it is no change of the user's.
    std::optional<UndoGesture> gesture;
    if (Dispatch.SendSuppressed != 1)
        gesture.emplace(ParamName(ControlAddress(b->Address)), b->Address);
    // The dispatcher records the new text as the edit's last good text.
    SetControlValue(edit, step, UserChange, TextToRaw(kind, number));
}

// What a click into the edit does, short of taking the focus.
void SelectEdit(QLineEdit* edit) {
    Dispatch.CurrentEdit = edit;
    Dispatch.WheelArmed = 1;
    if (!Dispatch.LastGoodText.contains(edit)) Dispatch.LastGoodText.insert(edit, edit->text());
    const int32_t saved = Dispatch.SendSuppressed;
    Dispatch.SendSuppressed = 1;
    CommitText(edit, StepNone);
    Dispatch.SendSuppressed = saved;
}

} // namespace

QWidget* MapAt(QWidget* const (&map)[MapRows][ImageSlots], int address) {
    if (address < 0) return nullptr;
    const int m = address / 256;
    const int i = address % 256;
    if (m > LastModule || i >= ImageSlots) return nullptr;
    return map[m][i];
}

int ImageAt(int address) {
    if (address < 0) return 0;
    const int m = address / 256;
    const int i = address % 256;
    if (m > LastModule || i >= ImageSlots) return 0;
    return Params.ParamImage[m][i];
}

bool IsFiller(const QObject* control) {
    return MainControls.Example && control == MainControls.Example;
}

bool IsPhaseButton(const QObject* control) {
    const ControlBinding* b = BindingOf(control);
    return b && (b->Roles & PolarityButton) != 0;
}

int BandOfAddress(int address) {
    if (address < 0) return NoBand;
    const int m = address / 256;
    const int i = address % 256;
    int band = 0;
    int position = 0;
    if (address == MusHighPassFreAddr || address == MusHighPassBoxAddr) {
        band = 9;
    } else if (address == MusLowPassFreAddr || address == MusLowPassBoxAddr) {
        band = 10;
    } else if (address == AuxHighPassFreAddr || address == AuxHighPassBoxAddr) {
        band = 2;
    } else if (address == AuxLowPassFreAddr || address == AuxLowPassBoxAddr) {
        band = 3;
    } else if (address > HintHighPassBoxAddr) {
        return NoBand;
    } else {
        if (i < BandFirstSlot[m]) return NoBand;
        band = (i - BandFirstSlot[m]) / 5;
        position = (i - BandFirstSlot[m]) % 5;
    }
    if (m < 1 || m != Window.CurrentModule) return NoBand;
    return band * 256 + position;
}

int ControlAddress(int tag) {
    const int position = BandOfAddress(tag) % 256;
    if (position != 3 && position != 4) return tag;
    const int first = tag - position;
    return ImageAt(first) == 0 ? first + 3 : first + 4;
}

void SelectBand(QObject* control) {
    if (Dispatch.ScreenBusy == 1 || !qobject_cast<QLineEdit*>(control)) return;
    const int band = BandOfAddress(AddressOf(control));
    if (band % 256 == NoBand) return;
    const int m = Window.CurrentModule;
    if (m >= 0 && m < ModuleCount) Dispatch.SelectedBand[m] = band / 256;
}

void SetControlValue(QObject* control, int step, ValueSource source, double x) {
    // Only bound controls carry a parameter (the filler is never bound).
    const ControlBinding* b = BindingOf(control);
    if (!b) return;
    auto* edit = qobject_cast<QLineEdit*>(control);
    auto* pane = qobject_cast<QLabel*>(control);
    auto* combo = qobject_cast<QComboBox*>(control);
    if (!edit && !pane && !(combo && b->HasKind)) return;
    const int kind = b->Kind;
    const int address = ControlAddress(b->Address);
    if (pane && kind <= 5) return;

    const bool editKind = edit && (kind == 2 || kind == 3 || kind == 4);
    if (editKind && source == UserChange) {
        if (step == StepUp)
            x += 1;
        else if (step == StepDown)
            x -= 1;
    }
    int limit = 0;
    if (kind == 4) {
        if (source == UserChange) {
            limit = QLimit(address);
        } else {
            // Shown from the image; a value beyond the table is lowered in both images.
            int v = ImageAt(address);
            if (v > QRawTop) {
                v = QRawTop;
                StoreParam(address, v);
            }
            x = v;
        }
    } else if (kind == 35) {
        limit = 48;
        if (address == DeqStartAddr1)
            limit = ImageAt(DeqCutOffAddr1);
        else if (address == DeqStartAddr2)
            limit = ImageAt(DeqCutOffAddr2);
    }
    const KindText kt = ApplyKind(kind, x, source, limit);
    x = kt.x;

    if (combo) {
        if (kind == 1) combo->setCurrentIndex(static_cast<int>(std::trunc(x)));
    } else if (kt.hasText) {
        if (edit) {
            edit->setText(Utf(kt.text));
            Dispatch.LastGoodText.insert(edit, edit->text());
        } else if (pane)
            pane->setText(Utf(kt.text));
    }

    if (editKind) {
        // A refresh must not move the edit the keys and the wheel act on.
        if (kind == 2 && Dispatch.ScreenBusy == 0) {
            auto* target = qobject_cast<QLineEdit*>(MapAt(Bindings.ControlMap, address));
            if (target) Dispatch.CurrentEdit = target;
        }
        SelectBand(control);
    }
    if (kind == 36 && (address == DeqCutOffAddr1 || address == DeqCutOffAddr2)) {
        // Lowering the cut-off below the start level pulls the start level down
        // first; the bar's change handler dispatches it.
        const int start = address - 1;
        if (ImageAt(start) > x) {
            if (auto* bar = qobject_cast<QSlider*>(MapAt(Bindings.ControlMap, start)))
                bar->setValue(static_cast<int>(std::trunc(x)));
        }
    }

    const int v = static_cast<int>(std::trunc(x));

    QSlider* bar = qobject_cast<QSlider*>(MapAt(Bindings.ControlMap, address));
    const bool own = bar != nullptr;
    if (!bar) bar = qobject_cast<QSlider*>(MapAt(Bindings.CompanionMap, address));
    if (bar && !(own && kind == 2)) {
        const uint8_t saved = Dispatch.TrackSyncGuard;
        Dispatch.TrackSyncGuard = 1;
        bar->setValue(static_cast<int>(RoundHalfEven(x)));
        Dispatch.TrackSyncGuard = saved;
    }

    if (kind <= 4) StoreParam(address, v);
    if (source == UserChange) SendDatatoMCU(address, v);
    if (kind <= 4 && Dispatch.ScreenBusy == 0) Window.LastCurveWrite = {address, v};
}

void CommitEdit(int step) {
    CommitText(Dispatch.CurrentEdit, step);
}

int SelectTab(QObject* button) {
    if (!qobject_cast<QPushButton*>(button)) return 0;
    const int tag = Tag(button);
    for (int pos = 0; pos < 2; ++pos) {
        QWidget* w = Bindings.TabButtons[pos];
        if (!w) w = pos == 0 ? MainControls.FormTabBtn1 : MainControls.FormTabBtn2;
        auto* tab = qobject_cast<QPushButton*>(w);
        if (!tab) continue;
        const bool selected = pos == tag;
        tab->setChecked(selected);
        QFont f = tab->font();
        f.setBold(selected);
        tab->setFont(f);
    }
    // The main tab stands for module 1, the auxiliary tab for module 2.
    if (tag == 0) return SlotAddress(1, tag);
    if (tag == 1) return SlotAddress(2, tag);
    return 0;
}

int TogglePass(QObject* button) {
    auto* b = qobject_cast<QPushButton*>(button);
    if (!b) return 0;
    const bool pressed = Hint(b) != QLatin1String("1");
    SetHint(b, pressed ? QStringLiteral("1") : QStringLiteral("0"));
    if (b->isCheckable()) b->setChecked(pressed);
    return pressed ? 1 : 0;
}

int TogglePhase(QObject* button) {
    auto* b = qobject_cast<QPushButton*>(button);
    if (!b) return 0;
    if (Hint(b) != QLatin1String("0")) {
        b->setText(QStringLiteral("+"));
        SetHint(b, QStringLiteral("0"));
        return 0;
    }
    SetHint(b, QStringLiteral("1"));
    b->setText(QStringLiteral("-"));
    return 1;
}

// ---- Handlers ----

void MusModeBox1Change(QObject* Sender) {
    if (Dispatch.SendSuppressed == 1) return;
    auto* box = qobject_cast<QComboBox*>(Sender);
    if (!box) return;
    const int tag = AddressOf(box);
    UndoGesture gesture(ParamName(tag), tag);
    const int index = box->currentIndex();
    int v = index;
    if (auto* bypass = qobject_cast<QCheckBox*>(MapAt(Bindings.CompanionMap, tag)))
        if (bypass->isChecked()) v += 10;
    SendDatatoMCU(tag, v);
    // Show the Q slot that the new type uses.
    const int q = index == 0 ? tag + 3 : tag + 4;
    auto* qEdit = qobject_cast<QLineEdit*>(MapAt(Bindings.ControlMap, q));
    if (qEdit && !IsFiller(qEdit) && KindOf(qEdit) == 4) {
        Dispatch.CurrentEdit = qEdit;
        SetControlValue(qEdit, StepNone, DisplayOnly, ImageAt(q));
    }
    Window.LastCurveWrite = {tag, v};
}

void MusBypassCheck1Click(QObject* Sender) {
    auto* box = qobject_cast<QCheckBox*>(Sender);
    if (!box) return;
    Dispatch.WheelArmed = 0;
    const int address = ControlAddress(AddressOf(box));
    UndoGesture gesture(ParamName(address, true));
    const int type = ImageAt(address) % 10;
    const int v = box->isChecked() ? type + 10 : type;
    SendDatatoMCU(address, v);
    // Bypass changes which Q slot the band uses: its field shows that one.
    auto* qEdit = qobject_cast<QLineEdit*>(MapAt(Bindings.ControlMap, address + 3));
    if (qEdit && !IsFiller(qEdit) && KindOf(qEdit) == 4)
        SetControlValue(qEdit, StepNone, DisplayOnly, ImageAt(ControlAddress(AddressOf(qEdit))));
    Window.LastCurveWrite = {address, v};
}

void OutRDelayBarChange(QObject* Sender) {
    if (Dispatch.TrackSyncGuard == 1) return;
    auto* bar = qobject_cast<QSlider*>(Sender);
    if (!bar) return;
    const int address = AddressOf(bar);
    UndoGesture gesture(ParamName(address), address);
    if (auto* pane = qobject_cast<QLabel*>(MapAt(Bindings.CompanionMap, address)))
        SetControlValue(pane, StepNone, UserChange, bar->value());
    Dispatch.CurrentEdit = MainControls.Example;
    Dispatch.WheelArmed = 0;
}

void SysMusNormalVolBarChange(QObject* Sender) {
    auto* bar = qobject_cast<QSlider*>(Sender);
    if (!bar) return;
    auto* pane = qobject_cast<QLabel*>(MapAt(Bindings.CompanionMap, AddressOf(bar)));
    if (!pane) pane = MainControls.SysMusNormalVolPane;
    if (!pane) return;
    const int pos = bar->value();
    pane->setText(Utf(FormatFixed(pos >= 998 ? 100.0 : pos / 10.0, 1)));
}

void OutLPhaseBtnClick(QObject* Sender) {
    if (!qobject_cast<QPushButton*>(Sender)) return;
    const int address = AddressOf(Sender);
    UndoGesture gesture(ParamName(address));
    SendDatatoMCU(address, TogglePhase(Sender));
}

void DEQALLPASSBtn1Click(QObject* Sender) {
    if (!qobject_cast<QPushButton*>(Sender)) return;
    const int address = AddressOf(Sender);
    UndoGesture gesture(ParamName(address));
    SendDatatoMCU(address, TogglePass(Sender));
}

void MusEQAllpassBtnClick(QObject* Sender) {
    if (!qobject_cast<QPushButton*>(Sender)) return;
    const int tag = AddressOf(Sender);
    UndoGesture gesture(ParamName(tag));
    const int v = TogglePass(Sender);
    if (tag >= 0 && tag / 256 < ModuleCount) Dispatch.PassState[tag / 256] = v;
    SendDatatoMCU(tag, v);
    if (QLabel* label = MainControls.EQPassLabel) label->setVisible(v != 0);
}

void SysInputRadio1Click(QObject* Sender) {
    QComboBox* input = MainControls.InputBox;
    if (!input || !Sender) return;
    const int address = AddressOf(input);
    UndoGesture gesture(ParamName(address));
    input->setCurrentIndex(Tag(Sender));
    SendDatatoMCU(address, input->currentIndex());
}

void LMH_BYPSSBoxChange(QObject* Sender) {
    auto* box = qobject_cast<QComboBox*>(Sender);
    if (!box) return;
    const int address = AddressOf(box);
    UndoGesture gesture(ParamName(address), address);
    SendDatatoMCU(address, box->currentIndex());
    CurvePoint(ChartFromImage);
}

void MusFreEdit1Click(QObject* Sender) {
    if (!Sender) return;
    auto* edit = qobject_cast<QLineEdit*>(MapAt(Bindings.ControlMap, AddressOf(Sender)));
    if (!edit || IsFiller(edit)) return;
    // Focus first: the edit being left commits before this one takes over.
    edit->setFocus(Qt::MouseFocusReason);
    SelectEdit(edit);
}

void MusFreEdit1Enter(QObject* Sender) {
    if (QLineEdit* edit = ParamEditOf(Sender)) SelectEdit(edit);
}

void MusFreEdit1Exit(QObject* Sender) {
    // The edit being left (or taking Enter); CurrentEdit may be another one by now.
    QLineEdit* edit = ParamEditOf(Sender);
    if (!edit) edit = Dispatch.CurrentEdit;
    if (!edit || IsFiller(edit)) return;
    if (edit->text().isEmpty()) {
        RestoreLastGoodText(edit);
        return;
    }
    // Nothing typed since the last commit or refusal: nothing to send.
    const auto good = Dispatch.LastGoodText.constFind(edit);
    if (good != Dispatch.LastGoodText.constEnd() && *good == edit->text()) return;
    CommitText(edit, StepNone);
}

void MusFreEdit1KeyDown(QObject* Sender, int key) {
    // The keys act on the edit that has them.
    if (QLineEdit* edit = ParamEditOf(Sender)) Dispatch.CurrentEdit = edit;
    if (key == Qt::Key_Up || key == Qt::Key_Right)
        CommitEdit(StepUp);
    else if (key == Qt::Key_Down || key == Qt::Key_Left)
        CommitEdit(StepDown);
}

void MusFreEdit1KeyPress(QObject* Sender, QChar key, bool* discard) {
    auto* edit = qobject_cast<QLineEdit*>(Sender);
    if (edit) Dispatch.CurrentEdit = edit;
    const char16_t c = key.unicode();
    // A frequency may be written in kHz ("2.2k", "1.5kHz").
    const bool kilo = edit && KindOf(edit) == 2 &&
                      (c == u'k' || c == u'K' || c == u'h' || c == u'H' || c == u'z' || c == u'Z');
    const bool allowed =
        kilo || c == u'\b' || c == u'\r' || c == u'-' || c == u'.' || (c >= u'0' && c <= u'9');
    if (!allowed) {
        if (discard) *discard = true;
        return;
    }
    if (c == u'\r') MusFreEdit1Exit(Sender);
}
