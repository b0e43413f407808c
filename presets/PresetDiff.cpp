#include "presets/PresetDiff.h"

std::vector<ParamDifference> DiffPresetImages(const PresetImage& a, const PresetImage& b,
                                              int module) {
    std::vector<ParamDifference> out;
    for (int m = PresetFirstModule; m <= PresetLastModule; ++m) {
        if (module != 0 && m != module) continue;
        for (int s = 0; s <= PresetSlotBound[m]; ++s)
            if (a[m][s] != b[m][s]) out.push_back({m * 256 + s, a[m][s], b[m][s]});
    }
    return out;
}

void PresetFileImage(const PresetContents& contents, PresetImage& image) {
    for (auto& row : image)
        for (int32_t& v : row)
            v = 0;
    ApplyPresetEntries(contents, contents.Variant, image);
}

std::string DifferenceLine(const ParamDifference& d, ParamLanguage language, bool raw,
                           std::string_view arrow) {
    const ParamEntry* e = FindParam(d.Address);
    const auto shown = [&](int32_t v) {
        if (!e) return std::to_string(v);
        std::string text = FormatParamValue(*e, v, language);
        // A value the catalogue cannot place already reads "raw N".
        if (raw && InRange(d.Address, v)) text += " (" + std::to_string(v) + ")";
        return text;
    };
    std::string line = e ? ParamDisplayName(*e, language) : ParamKeyOf(d.Address);
    line += ": ";
    line += shown(d.A);
    line += arrow;
    line += shown(d.B);
    return line;
}
