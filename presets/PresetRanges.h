#pragma once
// Values of a checked preset that fit a slot (16 bits) but lie outside what
// its parameter's control can hold: a unit may hold such a value itself, so a
// file keeps it, but a person is told and asked before it reaches a unit.

#include "presets/PresetCodec.h"

#include <string>
#include <vector>

struct PresetOutOfRange {
    PresetEntry Entry;
    std::string NameZh, NameEn; // the parameter's display name
};

// In file order. variantFlag: the lines a load of this file stores (a file of
// the other variant leaves module 2 alone); -1 for every line.
std::vector<PresetOutOfRange> PresetValuesOutOfRange(const PresetContents& contents,
                                                     int variantFlag = -1);

// One line a value: "Band 3 gain (1:22) = 255", in English or Chinese.
std::string DescribeOutOfRange(const std::vector<PresetOutOfRange>& values, bool chinese,
                               std::size_t maxLines = 20);
