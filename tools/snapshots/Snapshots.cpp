// Renders the README's pictures of the console: the demo connected, a tuned
// equaliser with a compressor curve, the auxiliary page, the factory page and
// the review of an imported filter file, a fit to the demo's room measurement,
// the snapshot view.
//   kv-snapshots OUTDIR [en]      (en: the English console, files named *-en.png)
#include "app/Language.h"
#include "app/LinkDisplay.h"
#include "app/MainWindow.h"
#include "app/SnapshotDialog.h"
#include "app/Startup.h"
#include "app/WindowState.h"
#include "emulator/EmulatorBackend.h"
#include "eq/FitDialogs.h"
#include "eq/FitOverlay.h"
#include "eq/PeqReviewDialog.h"
#include "link/LinkWindow.h"
#include "params/Dispatcher.h"
#include "params/ParamImage.h"
#include "presets/SnapshotStore.h"
#include "presets/Snapshots.h"
#include "presets/StatusBox.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QTimer>
#include <cstdio>
#include <cstring>

namespace {

QString suffix;

void Save(QWidget& w, const QString& dir, const char* name) {
    QString file = QString::fromLatin1(name);
    file.insert(file.lastIndexOf(QLatin1Char('.')), suffix);
    const QString path = QDir(dir).filePath(file);
    if (!w.grab().save(path))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    else
        std::printf("wrote %s\n", qPrintable(path));
}

void Set(int module, int slot, int value) {
    Params.DeviceImage[module][slot] = value;
    Params.ParamImage[module][slot] = value;
}

// (X + 200) * 256 + (Y + 200): one compressor point.
int Point(int x, int y) {
    return (x + 200) * 256 + (y + 200);
}

// Filters as room-measurement software writes them: more than nine, a notch
// and a boost beyond the unit's range among them.
constexpr const char* RoomFilters = "Filter Settings file\n"
                                    "Room EQ V5.20\n"
                                    "Preamp: -4.5 dB\n"
                                    "Filter  1: ON  LSC Fc   45.0 Hz Gain  14.0 dB Q 0.71\n"
                                    "Filter  2: ON  PK  Fc   63.5 Hz Gain  -8.3 dB Q 4.80\n"
                                    "Filter  3: ON  PK  Fc  118.0 Hz Gain  -5.1 dB Q 6.20\n"
                                    "Filter  4: ON  PK  Fc  236.0 Hz Gain   2.7 dB Q 2.10\n"
                                    "Filter  5: ON  NO  Fc  400.0 Hz\n"
                                    "Filter  6: ON  PK  Fc  890.0 Hz Gain  -1.9 dB Q 1.30\n"
                                    "Filter  7: ON  PK  Fc 2750.0 Hz Gain   3.4 dB Q 2.60\n"
                                    "Filter  8: ON  PK  Fc 4100.0 Hz Gain   0.4 dB Q 5.00\n"
                                    "Filter  9: ON  PK  Fc 6300.0 Hz Gain  -2.2 dB Q 3.00\n"
                                    "Filter 10: ON  HSC Fc 9000.0 Hz Gain  -3.0 dB Q 0.70\n"
                                    "Filter 11: OFF PK  Fc 1500.0 Hz Gain   1.0 dB Q 1.00\n"
                                    "Filter 12: ON  PK  Fc 15000.0 Hz Gain -0.3 dB Q 2.00\n";

} // namespace

namespace {

// The filter import's review of the room's filters, then the fit to the room
// measurement under review, with its thin curves on the graph.
void SaveImportAndFitPictures(TForm1& form, const QString& out) {
    const PeqFile peq = ParsePeqText(RoomFilters);
    std::vector<PeqBandRaw> bands(9);
    for (int b = 0; b < 9; ++b)
        for (int k = 0; k < 5; ++k)
            bands[static_cast<std::size_t>(b)].v[k] = Params.ParamImage[1][20 + 5 * b + k];
    const PeqPlan plan = PlanPeqImport(peq, 1, bands);
    PeqReviewDialog review(peq, plan, QStringLiteral("room-eq.txt"), &form);
    review.show();
    Save(review, out, "peq-review.png");
    review.hide();

    // The fit to the demo's room measurement, under review: the thin curves
    // behind the response curve and the review.
    Set(1, 13, 0);
    RefreshScreen();
    FitInput in;
    in.Measured = ReadMeasurementFile(KV_ROOM_MEASUREMENT);
    in.ModuleImage.assign(Params.ParamImage[1], Params.ParamImage[1] + ImageSlots);
    const FitResult fit = FitToMeasurement(in);
    ShowFitOverlay({1, fit.MeasuredPx, fit.TargetPx});
    SetFitOverlayPreview(&fit.AfterSum);
    FitReviewDialog fitReview(in, fit, QStringLiteral("room-measurement.txt"), &form);
    fitReview.show();
    Save(fitReview, out, "fit-review.png");
    Save(*form.EQAdvPanel, out, "fit-graph.png");
    SetFitOverlayPreview(nullptr);
    DismissFitOverlay();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("WenQuanYi Micro Hei"), 9));
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    if (argc > 2 && QString::fromLocal8Bit(argv[2]) == QStringLiteral("en")) {
        InstallLanguage(QStringLiteral("en"));
        suffix = QStringLiteral("-en");
    }

    // The demo's snapshots stay out of the user's own directory.
    QTemporaryDir snapshotRoot;
    SetSnapshotRoot(snapshotRoot.path());

    auto backend = std::make_unique<EmulatorBackend>();
    backend->PlugUnit(QStringLiteral("DEMO"));
    backend->RunOnRealTime();
    TForm1 form;
    TForm9 link(Params, std::move(backend));
    ConnectLinkToWindows(link);
    TForm4 status;
    MarkAsDemo(form, link);
    form.show();

    // Long enough for the start sign, the read of all modules and a few meter readings.
    QTimer::singleShot(4000, &app, [&] {
        Save(form, out, "demo-connected.png");
        // The other pictures show the console as it looks with a real unit.
        if (auto* mark = form.findChild<QLabel*>(QStringLiteral("DemoMark"))) mark->hide();
        SetLabelPair(form.LinkLabel, Window.LanguageFlag, QStringLiteral("The device is connected"),
                     QStringLiteral("设备已连接"));

        // Band 3 +6 dB, band 7 -6 dB, a 12 dB Butterworth high-pass at 80 Hz,
        // and a compressor that holds the top 20 dB to half.
        Set(1, 32, 150);
        Set(1, 52, 90);
        Set(1, 13, 2);
        Set(1, 15, 73);
        Set(1, 4, 1);
        Set(1, 10, Point(-40, -40));
        Set(1, 11, Point(-10, -20));
        Set(1, 12, Point(21, -5));
        RefreshScreen();
        Save(form, out, "main-window.png");

        form.FormTabBtn3Click(form.FormTabBtn2);
        Save(form, out, "aux-page.png");
        form.FormTabBtn3Click(form.FormTabBtn1);
        form.RzBmpButton1Click(form.RzBmpButton1);
        Save(form, out, "factory-page.png");
        form.RzBmpButton1Click(form.RzBmpButton1);

        SaveImportAndFitPictures(form, out);

        // Earlier states of the unit beside the connect's: a tuning session.
        FlushSnapshots(); // the connect's, written in the background
        static PresetImage earlier;
        std::memcpy(earlier, Params.DeviceImage, sizeof earlier);
        const QDateTime now = QDateTime::currentDateTime();
        const QString unit = UnitInUseName();
        earlier[1][32] = 130;
        Snapshots().Write(unit, BuildPresetFile(earlier, Params.VariantFlag),
                          QStringLiteral("before-recall"), now.addDays(-1).addSecs(-3600));
        earlier[1][31] = 170;
        earlier[1][13] = 2;
        earlier[1][15] = 60;
        Snapshots().Write(unit, BuildPresetFile(earlier, Params.VariantFlag),
                          QStringLiteral("after-recall"), now.addDays(-1).addSecs(-3590));
        earlier[1][15] = 73;
        earlier[1][52] = 100;
        Snapshots().Write(unit, BuildPresetFile(earlier, Params.VariantFlag),
                          QStringLiteral("before-load"), now.addSecs(-1800));
        SnapshotBtnClick(nullptr);
        if (auto* view = form.findChild<SnapshotDialog*>()) {
            view->SnapshotList->setCurrentItem(view->SnapshotList->topLevelItem(1));
            Save(*view, out, "snapshot-view.png");
            view->close();
        }
        if (!suffix.isEmpty()) {
            link.Session->ShowLinkStatus(StatusBusy, form.LinkLabel->text(), 40);
            Save(status, out, "status-box.png");
        }
        app.quit();
    });
    return app.exec();
}
