// Cost of the equaliser graph on the real main window, offscreen: one drag
// tick, one full redraw, and the floor of copying the grid and stroking the
// spline alone.

#include "app/MainWindow.h"
#include "eq/EqDrag.h"
#include "eq/EqGraph.h"
#include "params/SendToUnit.h"

#include <QApplication>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

std::unique_ptr<TForm1> form;

TForm1* Form() {
    if (!form) {
        form = std::make_unique<TForm1>();
        form->FormShow();
        form->Timer1->stop(); // ticks are stepped by hand
    }
    return form.get();
}

void BM_DragTick(benchmark::State& state) {
    TForm1* f = Form();
    EP1MouseDown(f->EP5, Qt::LeftButton, 9, 9);
    int dir = 1;
    long writes = 0;
    SetSendTap([&writes](int, int, bool) { ++writes; });
    for (auto _ : state) {
        // Far enough for a new frequency and a new gain on every tick.
        EP1MouseMove(f->EP5, Qt::LeftButton, 9 + 12 * dir, 9 - 8 * dir);
        f->Timer1Timer(f->Timer1);
        dir = -dir;
    }
    SetSendTap({});
    // Two writes (frequency and gain) per tick show the tick did its work.
    state.counters["writes_per_tick"] =
        static_cast<double>(writes) / static_cast<double>(state.iterations());
    EP1MouseUp(f->EP5, Qt::LeftButton, 9, 9);
}
BENCHMARK(BM_DragTick)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

void BM_FullRedraw(benchmark::State& state) {
    Form();
    for (auto _ : state)
        RedrawEqCurve(AllSlots, 1);
}
BENCHMARK(BM_FullRedraw)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

void BM_GridAndSplineFloor(benchmark::State& state) {
    TForm1* f = Form();
    RedrawEqCurve(AllSlots, 1);
    for (auto _ : state) {
        SetupEqGraph(GraphWipe);
        DrawCurveSpline();
        f->Image1->update();
    }
}
BENCHMARK(BM_GridAndSplineFloor)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    form.reset();
    return 0;
}
