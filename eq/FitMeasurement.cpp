#include "eq/FitMeasurement.h"

#include "app/Dialogs.h"
#include "app/WindowState.h"
#include "eq/EqGraph.h"
#include "eq/FitDialogs.h"
#include "eq/FitOverlay.h"
#include "eq/GridFit.h"
#include "params/Dispatcher.h"
#include "params/ParamImage.h"
#include "params/SendToUnit.h"
#include "params/UndoHistory.h"
#include "presets/PresetFiles.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFutureWatcher>
#include <QProgressDialog>
#include <QPromise>
#include <QtConcurrent/QtConcurrentRun>

namespace {

std::function<void(QProgressDialog&)> progressHook;

QString Caption() {
    return QCoreApplication::translate("TForm1", "按测量拟合");
}

QString U(const std::string& s) {
    return QString::fromStdString(s);
}

// The module on the graph as the fit sees it: its values and crossover items.
FitInput CurrentInput(int m) {
    FitInput in;
    in.ModuleImage.assign(Params.ParamImage[m], Params.ParamImage[m] + ImageSlots);
    const CrossoverControls& crossover = GraphCrossover(m);
    const QComboBox* hp = crossover.HighPassBox;
    const QComboBox* lp = crossover.LowPassBox;
    in.HighPassItem = hp ? hp->currentIndex() : 0;
    in.LowPassItem = lp ? lp->currentIndex() : 0;
    return in;
}

// Runs the fit on a pool thread while a progress dialog keeps the window
// modal; false when the person cancelled.
bool RunFit(const FitInput& in, FitResult& out) {
    QFuture<FitResult> future = QtConcurrent::run([in](QPromise<FitResult>& promise) {
        promise.setProgressRange(0, 100);
        promise.addResult(FitToMeasurement(in, [&promise](int percent) {
            promise.setProgressValue(percent);
            return !promise.isCanceled();
        }));
    });
    QFutureWatcher<FitResult> watcher;
    QProgressDialog progress(QCoreApplication::translate("TForm1", "正在拟合…"),
                             QCoreApplication::translate("TForm1", "取消"), 0, 100,
                             MainDialogOwner());
    progress.setObjectName(QStringLiteral("FitProgress"));
    progress.setWindowTitle(Caption());
    progress.setWindowModality(Qt::WindowModal);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setMinimumDuration(0);
    QEventLoop loop;
    QObject::connect(&watcher, &QFutureWatcher<FitResult>::progressValueChanged, &progress,
                     &QProgressDialog::setValue);
    QObject::connect(&watcher, &QFutureWatcher<FitResult>::finished, &loop, &QEventLoop::quit);
    QObject::connect(&progress, &QProgressDialog::canceled, &watcher,
                     [&future] { future.cancel(); });
    watcher.setFuture(future);
    progress.show();
    if (progressHook) progressHook(progress);
    if (!future.isFinished()) loop.exec();
    future.waitForFinished();
    // Cancel pressed counts even when the fit had just finished.
    if (progress.wasCanceled() || future.isCanceled() || future.resultCount() == 0) return false;
    out = future.result();
    return !out.Cancelled;
}

void Apply(int m, const FitResult& r) {
    // Only the slots that change go to the unit; one refresh redraws once.
    UndoGesture gesture(QCoreApplication::translate("TForm1", "按测量拟合"));
    for (int b = 0; b < BandCount[m]; ++b)
        for (int k = 0; k < 5; ++k) {
            const int a = BandFirstSlot[m] + 5 * b + k;
            const int32_t v = r.After[static_cast<std::size_t>(b)].v[k];
            if (Params.ParamImage[m][a] == v && Params.DeviceImage[m][a] == v) continue;
            Params.ParamImage[m][a] = v;
            SendDatatoMCU(m * 256 + a, v);
        }
    RefreshScreen();
}

} // namespace

QString MeasurementFilter() {
    return QCoreApplication::translate("TForm1", "测量数据 (*.txt *.csv *.frd);;所有文件 (*)");
}

void SetFitProgressHook(std::function<void(QProgressDialog&)> hook) {
    progressHook = std::move(hook);
}

void FitMeasurementBtnClick(QObject*) {
    const QString name = Dialogs().OpenFileName(nullptr, MeasurementFilter());
    if (name.isEmpty()) return;
    const int m = Window.CurrentModule == 2 ? 2 : 1;
    FitInput in = CurrentInput(m);
    in.Measured = ReadMeasurementFile(FileNameBytes(name));
    if (!in.Measured.Ok) {
        Dialogs().Notify(nullptr, Caption(),
                         QStringLiteral("%1\n%2").arg(
                             name, Lang(U(in.Measured.Error.Zh), U(in.Measured.Error.En))));
        return;
    }
    FitOptionsDialog options(name, m, MainDialogOwner());
    if (RunFitOptions(options) != QDialog::Accepted) return;
    in.Target = options.Target();
    in.Options = options.Options();

    FitResult r;
    if (!RunFit(in, r)) return;
    if (!r.Ok) {
        Dialogs().Notify(nullptr, Caption(), Lang(U(r.Error.Zh), U(r.Error.En)));
        return;
    }
    FitOverlayCurves curves;
    curves.Module = m;
    curves.Measured = r.MeasuredPx;
    curves.Target = r.TargetPx;
    ShowFitOverlay(curves);
    SetFitOverlayPreview(&r.AfterSum);
    FitReviewDialog review(in, r, name, MainDialogOwner());
    const int answer = RunFitReview(review);
    SetFitOverlayPreview(nullptr);
    if (answer == QDialog::Accepted) Apply(m, r);
}
