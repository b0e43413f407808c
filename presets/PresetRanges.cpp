#include "presets/PresetRanges.h"

#include "params/ParamCatalog.h"

std::vector<PresetOutOfRange> PresetValuesOutOfRange(const PresetContents& contents,
                                                     int variantFlag) {
    std::vector<PresetOutOfRange> out;
    for (const PresetEntry& e : contents.Entries) {
        if (variantFlag >= 0 && contents.Variant != variantFlag && e.Module == 2) continue;
        const int address = e.Module * 256 + e.Slot;
        if (InRange(address, e.Value)) continue;
        PresetOutOfRange r;
        r.Entry = e;
        if (const ParamEntry* p = FindParam(address)) {
            r.NameZh = ParamDisplayName(*p, ParamLanguage::Chinese);
            r.NameEn = ParamDisplayName(*p, ParamLanguage::English);
        } else {
            r.NameZh = r.NameEn = ParamKeyOf(address);
        }
        out.push_back(std::move(r));
    }
    return out;
}

std::string DescribeOutOfRange(const std::vector<PresetOutOfRange>& values, bool chinese,
                               std::size_t maxLines) {
    std::string text;
    for (std::size_t i = 0; i < values.size() && i < maxLines; ++i) {
        const PresetOutOfRange& v = values[i];
        text += (chinese ? v.NameZh : v.NameEn) + " (" + std::to_string(v.Entry.Module) + ":" +
                std::to_string(v.Entry.Slot) + ") = " + std::to_string(v.Entry.Value) + "\n";
    }
    if (values.size() > maxLines)
        text += (chinese ? "另有 " : "and ") + std::to_string(values.size() - maxLines) +
                (chinese ? " 项\n" : " more\n");
    return text;
}
