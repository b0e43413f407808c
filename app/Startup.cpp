#include "app/Startup.h"

#include "app/Language.h"
#include "app/LinkDisplay.h"
#include "app/MainWindow.h"
#include "app/SingleInstance.h"
#include "app/WindowState.h"
#include "link/HidapiBackend.h"
#include "link/LinkApi.h"
#include "link/LinkWindow.h"
#include "presets/PresetFiles.h"
#include "presets/StatusBox.h"

#include <QApplication>
#include <QFileInfo>
#include <QFont>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTimer>

#include <cstdio>

namespace {

const QString DemoCaptionMark = QStringLiteral(" [演示 DEMO]");

int Finish(const ParsedCommandLine& parsed) {
    std::fputs(parsed.Out.toLocal8Bit().constData(), stdout);
    std::fputs(parsed.Err.toLocal8Bit().constData(), stderr);
    return parsed.ExitCode;
}

void Complain(const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stderr);
}

// The start file while it waits for the link, and what its load left in the
// line list: a later load through the button replaces that and wins.
struct HeldPreset {
    QString File;
    QStringList Lines;
    QTimer* Timer = nullptr;
} Held;

} // namespace

QIcon ConsoleIcon() {
    return QIcon::fromTheme(QStringLiteral("kalviren-console"),
                            QIcon(QStringLiteral(":/icons/kalviren-console.svg")));
}

void ApplyStartOptions(TForm1& form, const ConsoleOptions& options) {
    if (options.Factory) form.RzBmpButton1->show();
    if (!options.PresetFile.isEmpty()) OpenPresetFile(form, options.PresetFile);
}

void OpenPresetFile(TForm1& form, const QString& file) {
    LoadPresetFile(file);
    if (!PresetFiles.PresetOk || !HaveLink() || CurrentLinkState() == Online) return;
    Held.File = file;
    Held.Lines = PresetFiles.Lines;
    if (!Held.Timer) {
        Held.Timer = new QTimer(&form);
        Held.Timer->setInterval(250);
        QObject::connect(Held.Timer, &QTimer::timeout, [] { LoadHeldPreset(); });
        QObject::connect(Held.Timer, &QObject::destroyed, [] { Held = HeldPreset{}; });
    }
    Held.Timer->start();
}

bool LoadHeldPreset() {
    if (Held.File.isEmpty()) return true;
    if (CurrentLinkState() != Online) return false;
    const QString file = Held.File;
    const bool replaced = PresetFiles.Lines != Held.Lines;
    Held.File.clear();
    if (Held.Timer) Held.Timer->stop();
    if (!replaced) LoadPresetFile(file);
    return true;
}

void MarkAsDemo(TForm1& form, TForm9& link) {
    Window.MainCaption += DemoCaptionMark;
    Window.VariantCaption += DemoCaptionMark;
    form.setWindowTitle(Window.MainCaption);
    link.Session->EmulatedUnit = true;
    // On the graph's top right corner: the top bar has no room left. It lets the
    // mouse through and stays under the handles, so it never hides one.
    QWidget* graph = form.Image1->parentWidget();
    auto* mark = new QLabel(QStringLiteral("演示模式 · 模拟设备  DEMO"), graph);
    mark->setObjectName(QStringLiteral("DemoMark"));
    mark->setAlignment(Qt::AlignCenter);
    mark->setStyleSheet(
        QStringLiteral("background:#ffd21f; color:#000000; font-weight:bold; border-radius:3px;"));
    const QRect plot = form.Image1->geometry();
    mark->setGeometry(plot.right() - 230, plot.top() + 4, 220, 22);
    mark->setAttribute(Qt::WA_TransparentForMouseEvents, true);
    mark->stackUnder(form.EQlabel);
    mark->setToolTip(QStringLiteral("The console is connected to an emulated unit, not to a "
                                    "real one: nothing is written to any hardware."));
    mark->show();
}

void BringToFront(QWidget& window) {
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
}

int RunConsole(int argc, char** argv, std::unique_ptr<HidBackend> backend, ConsoleKind kind) {
    QStringList raw;
    for (int i = 0; i < argc; ++i)
        raw << QString::fromLocal8Bit(argv[i]);
    // Answered before Qt looks for a display: they need none.
    const ParsedCommandLine early = EarlyCommandLine(raw);
    if (early.Exit) return Finish(early);
    if (const QString missing = MissingDisplayMessage(raw); !missing.isEmpty()) {
        Complain(missing);
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KALVIREN Audio Controller"));
    // No display name: Qt would append it to the window caption.
    QApplication::setApplicationVersion(QStringLiteral(KV_VERSION));
    // The desktop entry the windows belong to (icon and grouping under Wayland).
    QGuiApplication::setDesktopFileName(kind == ConsoleKind::Demo
                                            ? QStringLiteral("kalviren-console-demo")
                                            : QStringLiteral("kalviren-console"));
    const ParsedCommandLine parsed = ParseCommandLine(QApplication::arguments());
    if (parsed.Exit) return Finish(parsed);

    // One console drives the unit. Each demo has an emulated unit of its own,
    // so demos are not counted.
    std::unique_ptr<SingleInstance> instance;
    if (kind == ConsoleKind::Device) {
        instance = std::make_unique<SingleInstance>(SingleInstance::SessionDirectory(),
                                                    QStringLiteral("kalviren-console"));
        if (!instance->TryBecomeFirst()) {
            const QString program = QFileInfo(raw.front()).fileName();
            const QStringList files = parsed.Options.PresetFile.isEmpty()
                                          ? QStringList()
                                          : QStringList{parsed.Options.PresetFile};
            if (!instance->HandOver(files)) {
                Complain(program + QStringLiteral(": a console is already running in this "
                                                  "session but does not answer.\n"));
                return 1;
            }
            Complain(program + (files.isEmpty()
                                    ? QStringLiteral(": a console is already running; it has "
                                                     "been brought to the front.\n")
                                    : QStringLiteral(": a console is already running; it has "
                                                     "been brought to the front to load %1.\n")
                                          .arg(files.front())));
            return 0;
        }
    }

    // The interface text is Chinese: use a font that has the glyphs.
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPointSize(9);
    QApplication::setFont(font);
    QApplication::setWindowIcon(ConsoleIcon());
    InstallLanguage(ChosenLanguage(QCoreApplication::arguments()));

    TForm1 form;
    TForm9 link(std::move(backend));
    ConnectLinkToWindows(link);
    if (kind == ConsoleKind::Device) {
        // With several units plugged in, the one last chosen is used again.
        const QString unitKey = QStringLiteral("unit");
        link.PreferredUnit =
            QSettings(QStringLiteral("kalviren"), QStringLiteral("kalviren-console")).value(unitKey).toString();
        QObject::connect(&link, &TForm9::UnitChosen, [unitKey](const QString& serial) {
            QSettings settings(QStringLiteral("kalviren"), QStringLiteral("kalviren-console"));
            if (serial.isEmpty())
                settings.remove(unitKey);
            else
                settings.setValue(unitKey, serial);
        });
    }
    TForm4 status;
    if (kind == ConsoleKind::Demo) MarkAsDemo(form, link);
    form.show();
    if (instance) {
        QObject::connect(instance.get(), &SingleInstance::Requested, &form,
                         [&form](const QStringList& files) {
                             BringToFront(form);
                             for (const QString& f : files)
                                 OpenPresetFile(form, f);
                         });
    }
    // Once the loop runs, so that a message about the file has its window.
    QTimer::singleShot(0, &form,
                       [&form, options = parsed.Options] { ApplyStartOptions(form, options); });
    return app.exec();
}

int RunConsole(int argc, char** argv) {
    return RunConsole(argc, argv, MakeHidapiBackend());
}
