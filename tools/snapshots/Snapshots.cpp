// Renders the README's pictures of the console: the demo connected, a tuned
// equaliser with a compressor curve, the auxiliary page and the factory page.
//   kv-snapshots OUTDIR
#include "app/Unit1.h"
#include "emulator/EmulatorBackend.h"
#include "link/Unit9.h"
#include "params/ParamImage.h"
#include "params/Unit4.h"
#include "presets/StatusBox.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

namespace {

void Save(QWidget& w, const QString& dir, const char* name) {
    const QString path = QDir(dir).filePath(QString::fromLatin1(name));
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

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("WenQuanYi Micro Hei"), 9));
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");

    auto backend = std::make_unique<EmulatorBackend>();
    backend->PlugUnit(QStringLiteral("DEMO"));
    backend->RunOnRealTime();
    TForm1 form;
    TForm9 link(std::move(backend));
    TForm4 status;
    form.show();

    // Long enough for the start sign, the read of all modules and a few meter readings.
    QTimer::singleShot(4000, &app, [&] {
        Save(form, out, "demo-connected.png");

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
        app.quit();
    });
    return app.exec();
}
