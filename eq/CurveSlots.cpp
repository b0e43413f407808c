#include "eq/EqGraph.h"

#include "eq/CurveSlotsCore.h"
#include "params/ControlBindings.h"
#include "params/ControlProps.h"
#include "params/ParamImage.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

int32_t Raw(int module, int index) {
    if (module < 0 || module > LastModule || index < 0 || index >= ImageSlots) return 0;
    return Params.ParamImage[module][index];
}

QWidget* Bound(int module, int index) {
    if (module < 0 || module > LastModule || index < 0 || index >= ImageSlots) return nullptr;
    return Bindings.ControlMap[module][index];
}

} // namespace

int CollectCurveSlots(int module) {
    const bool music = module == 1;
    const CrossoverControls& crossover = GraphCrossover(module);
    const QComboBox* hpBox = crossover.HighPassBox;
    const QComboBox* lpBox = crossover.LowPassBox;
    const int last = CollectImageSlots(module, Raw, hpBox ? hpBox->currentIndex() : 0,
                                       lpBox ? lpBox->currentIndex() : 0, EqGraph.CurveSlots);
    const int m = music ? 1 : 2;
    QWidget* hpEdit = crossover.HighPassFre;
    QWidget* lpEdit = crossover.LowPassFre;
    QWidget* filler = EqGraph.Controls.Example;

    CurveSlot& hp = EqGraph.CurveSlots[last - 1];
    hp.FreqEdit = hpEdit;
    hp.GainEdit = hp.QEdit = filler;
    CurveSlot& lp = EqGraph.CurveSlots[last];
    lp.FreqEdit = lpEdit;
    lp.GainEdit = lp.QEdit = filler;
    // The crossover handles are 9 and 10 in both modules.
    if (!music) {
        EqGraph.CurveSlots[9].FreqEdit = hpEdit;
        EqGraph.CurveSlots[10].FreqEdit = lpEdit;
    }

    for (int i = 0; i < last - 1; ++i) {
        const int p = BandFirstSlot[m] + 5 * i;
        CurveSlot& s = EqGraph.CurveSlots[i];
        s.FreqEdit = Bound(m, p + 1);
        s.GainEdit = Bound(m, p + 2);
        s.QEdit = Bound(m, p + 3);
    }
    return last;
}
