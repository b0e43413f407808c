#pragma once
// Helpers the reading, snapping and writing of filter text share.

#include "eq/PeqText.h"
#include "params/ValueScales.h"

#include <string>
#include <utility>

namespace peqtext {

inline PeqMessage Msg(std::string zh, std::string en) {
    return {std::move(zh), std::move(en)};
}

inline std::string Num(double v, int decimals) {
    return FormatFixed(v, decimals);
}

inline bool IsShelf(PeqKind k) {
    return k == PeqKind::LowShelf || k == PeqKind::HighShelf;
}
inline bool HasGainKind(PeqKind k) {
    return k == PeqKind::Peak || IsShelf(k);
}

// "第 3 行 (Filter 2)" / "line 3 (Filter 2)".
inline std::string Where(const PeqFilter& f, bool zh) {
    std::string s = zh ? "第 " + std::to_string(f.Line) + " 行" : "line " + std::to_string(f.Line);
    if (f.Number > 0) s += " (Filter " + std::to_string(f.Number) + ")";
    return s;
}

} // namespace peqtext
