#include "eq/EqGraph.h"

#include "app/Unit1.h"
#include "params/ControlProps.h"
#include "params/ParamImage.h"
#include "params/ValueScales.h"

#include <QComboBox>

namespace {

int Raw(int module, int index) {
    if (module < 0 || module > LastModule || index < 0 || index >= ImageSlots)
        return 0;
    return Params.ParamImage[module][index];
}

QWidget* Bound(int module, int index) {
    if (module < 0 || module > LastModule || index < 0 || index >= ImageSlots)
        return nullptr;
    return Params.ControlMap[module][index];
}

int ItemIndex(const QComboBox* box) { return box ? box->currentIndex() : 0; }

// Raw frequency behind a crossover edit: its Tag's low byte in this module.
int EditRaw(int module, const QWidget* edit) { return edit ? Raw(module, Tag(edit) & 0xFF) : 0; }

} // namespace

int CollectCurveSlots(int module) {
    for (CurveSlot& s : EqGraph.CurveSlots)
        s = CurveSlot{};
    TForm1* form = EqGraph.Form;
    const bool music = module == 1;
    const int count = music ? 9 : 2;
    const int m = music ? 1 : 2;
    const int first = BandFirstSlot[m];
    QComboBox* hpBox = form ? (music ? form->MusHighPassBox : form->AuxHighPassBox) : nullptr;
    QWidget* hpEdit = form ? (music ? form->MusHighPassFre : form->AuxHighPassFre) : nullptr;
    QComboBox* lpBox = form ? (music ? form->MusLowPassBox : form->AuxLowPassBox) : nullptr;
    QWidget* lpEdit = form ? (music ? form->MusLowPassFre : form->AuxLowPassFre) : nullptr;
    QWidget* filler = form ? form->Example : nullptr;
    const int hpSlot = count;
    const int lpSlot = count + 1;

    // A high-pass at the lowest table frequency, or a low-pass at the highest,
    // is drawn as off.
    CurveSlot& hp = EqGraph.CurveSlots[hpSlot];
    const int hpRaw = EditRaw(module, hpEdit);
    hp.Type = hpRaw == 0 ? 100 : ItemIndex(hpBox) + 100;
    hp.Freq = static_cast<float>(FreqValue(hpRaw));
    hp.Gain = 0;
    hp.Q = 1.0f;
    hp.FreqEdit = hpEdit;
    hp.GainEdit = hp.QEdit = filler;

    CurveSlot& lp = EqGraph.CurveSlots[lpSlot];
    const int lpRaw = EditRaw(module, lpEdit);
    lp.Type = lpRaw == 361 ? 200 : ItemIndex(lpBox) + 200;
    lp.Freq = static_cast<float>(FreqValue(lpRaw));
    lp.Gain = 0;
    lp.Q = 1.0f;
    lp.FreqEdit = lpEdit;
    lp.GainEdit = lp.QEdit = filler;

    // The crossover handles are 9 and 10 in both modules.
    if (!music) {
        EqGraph.CurveSlots[9].FreqEdit = hpEdit;
        EqGraph.CurveSlots[10].FreqEdit = lpEdit;
    }

    for (int i = 0; i < count; ++i) {
        const int p = first + 5 * i;
        CurveSlot& s = EqGraph.CurveSlots[i];
        s.Type = Raw(m, p);
        s.Freq = static_cast<float>(FreqValue(Raw(m, p + 1)));
        s.Gain = static_cast<float>(Raw(m, p + 2) / 5.0 - 24.0);
        s.Q = static_cast<float>(QValue(s.Type == 0 ? Raw(m, p + 3) : Raw(m, p + 4)));
        s.FreqEdit = Bound(m, p + 1);
        s.GainEdit = Bound(m, p + 2);
        s.QEdit = Bound(m, p + 3);
    }
    return count + 1;
}
