// kalviren-unit push to one emulated unit and, with --all, to eight at once:
// wall time from the start to the last unit's verified result, real timers
// and the emulated units on real time, as a technician's run would take. The
// protocol's pace (1 s start-sign poll, 50 ms transfer pump) sets the time, so
// this is a plain program measured over whole runs:
//   bench_unit_push [runs]

#include "emulator/EmulatorBackend.h"
#include "tools/unit/UnitTool.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Milliseconds of one push to this many units; -1 when it did not succeed.
qint64 Push(const QString& preset, int units) {
    auto bus = std::make_unique<EmulatorBackend>();
    bus->RunOnRealTime();
    for (int i = 0; i < units; ++i)
        bus->PlugUnit(QStringLiteral("U%1").arg(i));
    UnitTool tool(std::move(bus), QString());
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&tool, &UnitTool::Finished, [](int) { QCoreApplication::exit(0); });
    tool.Start({QStringLiteral("push"), preset, QStringLiteral("--all")});
    if (!tool.Done()) QCoreApplication::exec();
    const qint64 ms = clock.elapsed();
    if (tool.ExitCode() != 0 || tool.Out.count('\n') != units) {
        std::fprintf(stderr, "%s%s", tool.Out.constData(), tool.Err.constData());
        return -1;
    }
    return ms;
}

qint64 Median(std::vector<qint64> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    QTemporaryDir dir;
    PresetImage image{};
    for (int m = 1; m <= 3; ++m)
        for (int s = 0; s <= PresetSlotBound[m]; ++s)
            image[m][s] = EmulatedDevice::FactorySet()[m][s];
    image[1][26] = 204;
    const QString preset = dir.filePath(QStringLiteral("tune.Nddt"));
    QFile file(preset);
    const std::string bytes = BuildPresetFile(image, 0);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) != qint64(bytes.size()))
        return 1;
    file.close();

    std::vector<qint64> one, eight;
    for (int r = 0; r < runs; ++r) {
        one.push_back(Push(preset, 1));
        eight.push_back(Push(preset, 8));
        if (one.back() < 0 || eight.back() < 0) return 1;
    }
    const qint64 a = Median(one), b = Median(eight);
    std::printf("push, median of %d runs: 1 unit %lld ms, 8 units with --all %lld ms, ratio %.2f\n",
                runs, static_cast<long long>(a), static_cast<long long>(b), double(b) / double(a));
    return double(b) <= 1.3 * double(a) ? 0 : 2;
}
