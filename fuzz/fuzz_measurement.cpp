// The measurement reader over arbitrary bytes: never crashes, and what it
// accepts is what the fit relies on; scoring it stays finite.
#include "eq/GridFit.h"
#include "params/ParamImage.h"

#include <cmath>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    FitInput in;
    in.Measured = ParseMeasurement(text);
    if (!in.Measured.Ok) return 0;
    const Measurement& m = in.Measured;
    if (m.Freq.size() < MinMeasurePoints || m.Freq.size() != m.Db.size()) std::abort();
    for (std::size_t i = 0; i < m.Freq.size(); ++i) {
        if (!(m.Freq[i] >= MeasureLowHz && m.Freq[i] <= MeasureHighHz) || !std::isfinite(m.Db[i]))
            std::abort();
        if (i > 0 && !(m.Freq[i] > m.Freq[i - 1])) std::abort();
    }
    in.ModuleImage.assign(ImageSlots, 0);
    in.Options.FromHz = 10;
    in.Options.ToHz = 24000;
    const FitScore s = ScoreBands(in, std::vector<PeqBandRaw>(9));
    if (!std::isfinite(s.Rms) || !std::isfinite(s.Offset)) std::abort();
    return 0;
}
