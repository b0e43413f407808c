#pragma once
// Differences between two parameter sets, slot by slot, named and shown in
// the user's units by the parameter catalogue. Standard library only: the
// console's snapshot view and nddt diff share it.

#include "params/ParamCatalog.h"
#include "presets/PresetCodec.h"

#include <string>
#include <string_view>
#include <vector>

struct ParamDifference {
    int Address = 0; // module * 256 + slot
    int32_t A = 0, B = 0;
};

// The slots a preset file carries (modules 1..3 up to their bound) whose
// values differ, in address order; module 0 compares them all, 1..3 that
// module alone.
std::vector<ParamDifference> DiffPresetImages(const PresetImage& a, const PresetImage& b,
                                              int module = 0);

// The values a checked file holds, on an otherwise zero image, whatever its variant.
void PresetFileImage(const PresetContents& contents, PresetImage& image);

// "频段 3 频率: 1000.0 Hz → 1020.0 Hz"; with raw, each value is followed by
// its raw number in brackets ("1000.0 Hz (204)"). A slot the catalogue does
// not know is named by its mM.N key and shows raw numbers.
std::string DifferenceLine(const ParamDifference& d, ParamLanguage language, bool raw = false,
                           std::string_view arrow = " \u2192 ");
