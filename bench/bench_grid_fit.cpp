// Speed of a whole fit: nine bands, 20 Hz to 20 kHz, a measurement of 1000
// points (from reading the text to the report's scores).

#include "bench/SyntheticRoom.h"

#include <benchmark/benchmark.h>

namespace {

void BM_WholeFit(benchmark::State& state) {
    const SyntheticCase c = MakeSyntheticCase(static_cast<int>(state.range(0)));
    const std::string text = MeasurementText(c.Measured, c.Name);
    for (auto _ : state) {
        FitInput in = SyntheticInput(c);
        in.Measured = ParseMeasurement(text);
        const FitResult r = FitToMeasurement(in);
        benchmark::DoNotOptimize(r.ScoreAfter.Rms);
        state.counters["rms_dB"] = r.ScoreAfter.Rms;
        state.counters["moves"] = r.Moves;
    }
}
BENCHMARK(BM_WholeFit)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
