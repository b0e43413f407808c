#include "eq/CurveSlotsCore.h"

#include "params/ParamCatalog.h"
#include "params/ParamImage.h"
#include "params/ValueScales.h"

#include <algorithm>


int CrossoverItem(int module, int32_t raw) {
    const int items = module == 1 ? 4 : 7; // the auxiliary boxes add the 24 dB types
    return raw >= 0 && raw < items ? raw : -1;
}

int CollectImageSlots(int module, const RawParam& raw, int highPassItem, int lowPassItem,
                      CurveSlot* slots) {
    for (int s = 0; s < CurveSlotCount; ++s)
        slots[s] = CurveSlot{};
    const bool music = module == 1;
    const int m = music ? 1 : 2;
    const int count = music ? 9 : 2;
    const int first = BandFirstSlot[m];
    const int hpFre = CrossoverOf(m).HighPassFreq, lpFre = CrossoverOf(m).LowPassFreq;

    // A high-pass at the lowest table frequency, or a low-pass at the highest,
    // is drawn as off.
    CurveSlot& hp = slots[count];
    const int32_t hpRaw = raw(m, hpFre);
    hp.Type = hpRaw == 0 ? 100 : highPassItem + 100;
    hp.Freq = static_cast<float>(FreqValue(hpRaw));
    hp.Q = 1.0f;

    CurveSlot& lp = slots[count + 1];
    const int32_t lpRaw = raw(m, lpFre);
    lp.Type = lpRaw == FreqRawTop ? 200 : lowPassItem + 200;
    lp.Freq = static_cast<float>(FreqValue(lpRaw));
    lp.Q = 1.0f;

    for (int i = 0; i < count; ++i) {
        const int p = first + 5 * i;
        CurveSlot& s = slots[i];
        s.Type = raw(m, p);
        s.Freq = static_cast<float>(FreqValue(raw(m, p + 1)));
        // A gain outside the table (a unit's or a file's 65535) is drawn as the
        // nearest gain the table holds; beyond it the shapes overflow to NaN.
        s.Gain = static_cast<float>(GainDb(std::clamp(raw(m, p + 2), 0, GainRawTop)));
        s.Q = static_cast<float>(QValue(s.Type == 0 ? raw(m, p + 3) : raw(m, p + 4)));
    }
    return count + 1;
}

void SumSlotResponses(const CurveSlot* slots, int last, float* out) {
    ResponseArray response{};
    for (int j = 0; j < CurvePoints; ++j)
        out[j] = 0;
    for (int s = 0; s <= last; ++s) {
        BandResponse(response.data(), RoundEvenInt(slots[s].Freq),
                     static_cast<uint8_t>(slots[s].Type & 0xFF), slots[s].Q, slots[s].Gain);
        for (int j = 0; j < CurvePoints; ++j)
            out[j] += response[j];
    }
}
