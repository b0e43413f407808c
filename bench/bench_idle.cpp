// Idle cost of the whole console: wake-ups and CPU time of an untouched
// window over a few seconds, with no unit (empty device list) or online with
// the emulated unit as in the demo. The console runs once per process, so this
// is a plain program rather than a Google Benchmark loop:
//   QT_QPA_PLATFORM=offscreen bench_idle [none|unit] [seconds]

#include "app/Startup.h"
#include "emulator/EmulatorBackend.h"
#include "link/LinkApi.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>

namespace {

bool withUnit = false;
int seconds = 5;
bool measured = false;
long loopWaits = 0;

// Long enough for the connect and the read of the unit's parameters.
constexpr int WarmUpMs = 4000;

struct Sample {
    long switches; // voluntary + involuntary, every thread
    long waits;    // the main loop went to sleep
    double cpu;    // s of CPU, every thread
    double wall;   // s
};

double Seconds(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

Sample Now() {
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return {ru.ru_nvcsw + ru.ru_nivcsw, loopWaits, Seconds(CLOCK_PROCESS_CPUTIME_ID),
            Seconds(CLOCK_MONOTONIC)};
}

void Measure() {
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                     qApp, [] { ++loopWaits; });
    if (withUnit) MainLinkBtnClick(); // the demo's user clicks "联机"
    QTimer::singleShot(WarmUpMs, qApp, [] {
        if (withUnit && CurrentLinkState() != Online) {
            std::fprintf(stderr, "bench_idle: the emulated unit did not come online\n");
            QCoreApplication::exit(1);
            return;
        }
        const Sample start = Now();
        QTimer::singleShot(seconds * 1000, qApp, [start] {
            const Sample end = Now();
            const double wall = end.wall - start.wall;
            std::printf("idle console, %s, %.1f s: %.1f wake-ups/s (main loop %.1f/s), "
                        "CPU %.2f %% of a core\n",
                        withUnit ? "online with the emulated unit" : "no unit", wall,
                        static_cast<double>(end.switches - start.switches) / wall,
                        static_cast<double>(end.waits - start.waits) / wall,
                        100.0 * (end.cpu - start.cpu) / wall);
            measured = true;
            QCoreApplication::quit();
        });
    });
}

void ArmMeasurement() {
    // Runs while QApplication is being built; the timers start once the loop runs.
    QTimer::singleShot(0, qApp, Measure);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(ArmMeasurement)

int main(int argc, char** argv) {
    if (argc > 1) withUnit = std::strcmp(argv[1], "unit") == 0;
    if (argc > 2) seconds = std::max(1, std::atoi(argv[2]));
    auto backend = std::make_unique<EmulatorBackend>();
    if (withUnit) {
        backend->PlugUnit(QStringLiteral("BENCH"));
        backend->RunOnRealTime();
    }
    // The console sees no arguments of ours. Without a unit it is the real
    // console; the emulated unit runs as in the demo.
    const int rc =
        RunConsole(1, argv, std::move(backend), withUnit ? ConsoleKind::Demo : ConsoleKind::Device);
    if (!measured && rc == 0) {
        std::fprintf(stderr, "bench_idle: no measurement (another console running?)\n");
        return 1;
    }
    return rc;
}
