// The fit on the unit's grid against the usual approach (free values, then
// snapped), on synthetic rooms with a known answer. Prints a Markdown table.
// "bench_fit_quality --write FILE" writes case 1 as a measurement file.

#include "bench/ContinuousFit.h"
#include "bench/SyntheticRoom.h"

#include <cstdio>
#include <cstring>
#include <fstream>

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--write") == 0) {
        const SyntheticCase c = MakeSyntheticCase(1);
        std::ofstream(argv[2], std::ios::binary)
            << MeasurementText(c.Measured, "Synthetic room: " + c.Name + " (KALVIREN demo)");
        return 0;
    }
    std::printf("| case | true bands | grid fit | free fit, before snapping | free fit, snapped | "
                "grid fit curve vs true bands' curve |\n|---|---|---|---|---|---|\n");
    int failures = 0;
    for (int n = 0; n < SyntheticCaseCount(); ++n) {
        const SyntheticCase c = MakeSyntheticCase(n);
        const FitInput in = SyntheticInput(c);
        const FitResult r = FitToMeasurement(in);
        const double truth = ScoreBands(in, c.Truth).Rms;
        const ContinuousOutcome free = ContinuousFitThenSnap(in);
        const double vsTruth = CurveDistance(in, r.After, c.Truth);
        const bool ok = r.ScoreAfter.Rms <= truth + 0.3 && r.ScoreAfter.Rms < free.SnappedRms;
        failures += ok ? 0 : 1;
        std::printf("| %s | %.3f dB | %.3f dB | %.3f dB | %.3f dB | %.2f dB |%s\n", c.Name.c_str(),
                    truth, r.ScoreAfter.Rms, free.FreeRms, free.SnappedRms, vsTruth,
                    ok ? "" : " FAIL");
    }
    return failures == 0 ? 0 : 1;
}
