// The preset loader's check over arbitrary bytes: never crashes, and what it
// accepts stays inside the preset's layout and 16 bits.
#include "presets/PresetCodec.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const PresetContents c = CheckPresetFile(text);
    if (c.Status == PresetStatus::Ok) {
        static PresetImage image{};
        for (const PresetEntry& e : c.Entries)
            if (e.Module < PresetFirstModule || e.Module > PresetLastModule || e.Slot < 0 ||
                e.Slot > PresetSlotBound[e.Module] || e.Value < 0 || e.Value > 65535)
                std::abort();
        ApplyPresetEntries(c, 0, image);
    }
    return 0;
}
