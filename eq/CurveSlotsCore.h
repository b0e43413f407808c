#pragma once
// The band table of a module's graph equaliser, from raw parameter values
// alone: the graph and the nddt tool read the same rules. Standard library only.

#include "eq/FilterMath.h"

#include <cstdint>
#include <functional>

// Raw value of (module, index).
using RawParam = std::function<int32_t(int module, int index)>;

// Fills Type, Freq, Gain and Q of the module's slots (music: bands 0..8,
// high-pass 9, low-pass 10; any other module: bands 0..1, high-pass 2,
// low-pass 3) from the raw values and the item indexes the two crossover type
// boxes show; the control references stay empty. Returns the last slot.
int CollectImageSlots(int module, const RawParam& raw, int highPassItem, int lowPassItem,
                      CurveSlot* slots);

// The item a crossover type box shows for a raw type value: the value itself,
// or no item (-1) when it lies outside the box's list.
int CrossoverItem(int module, int32_t raw);

// The summed response of slots 0..last at every logical pixel.
void SumSlotResponses(const CurveSlot* slots, int last, float* out);
