#include "app/Startup.h"

#include "app/HandOverMessage.h"
#include "app/Language.h"
#include "app/LinkDisplay.h"
#include "app/MainWindow.h"
#include "app/SingleInstance.h"
#include "app/WindowState.h"
#include "link/HidapiBackend.h"
#include "link/LinkApi.h"
#include "link/LinkWindow.h"
#include "params/DispatchState.h"
#include "presets/PresetFiles.h"
#include "presets/StatusBox.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTimer>

#include <cstdio>

namespace {


int Finish(const ParsedCommandLine& parsed) {
    std::fputs(parsed.Out.toLocal8Bit().constData(), stdout);
    std::fputs(parsed.Err.toLocal8Bit().constData(), stderr);
    return parsed.ExitCode;
}

void Complain(const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stderr);
}

// The start file while it waits for the link: its checked contents, and what
// its load left in the line list (a later load through the button replaces
// that and wins).
struct HeldPreset {
    QString File;
    std::optional<PresetContents> Contents;
    QStringList Lines;
    QTimer* Timer = nullptr;
} Held;

} // namespace

namespace {

// The lock of the session, or the hand-over to the console that holds it
// (exitCode 0 or 1 then; -1 when this start goes on).
std::unique_ptr<SingleInstance> ClaimSession(const QString& program, const ConsoleOptions& options,
                                             int& exitCode) {
    exitCode = -1;
    QString noDirectory;
    const QString directory = SingleInstance::SessionDirectory(&noDirectory);
    if (directory.isEmpty()) {
        // Lock and socket anywhere else could be another user's: no hand-over.
        Complain(program + QStringLiteral(": no private runtime directory (%1); this console "
                                          "runs without the one-console check and takes no "
                                          "files from later starts.\n")
                               .arg(noDirectory));
        return nullptr;
    }
    auto instance = std::make_unique<SingleInstance>(directory, QStringLiteral("kalviren-console"));
    if (instance->TryBecomeFirst()) return instance;
    const QStringList files =
        options.PresetFile.isEmpty() ? QStringList() : QStringList{options.PresetFile};
    exitCode = 1;
    for (const QString& f : files) {
        // The running console takes no longer message: say so here.
        if (QFile::encodeName(QDir::current().absoluteFilePath(f)).size() >=
            static_cast<qsizetype>(HandOverMaxBytes)) {
            Complain(program +
                     QStringLiteral(": %1: the path is too long to hand to the running console\n")
                         .arg(f));
            return nullptr;
        }
    }
    if (!instance->HandOver(files)) {
        Complain(program + QStringLiteral(": a console is already running in this "
                                          "session but does not answer.\n"));
        return nullptr;
    }
    Complain(program + (files.isEmpty() ? QStringLiteral(": a console is already running; it has "
                                                         "been brought to the front.\n")
                                        : QStringLiteral(": a console is already running; it has "
                                                         "been brought to the front to load %1.\n")
                                              .arg(files.front())));
    exitCode = 0;
    return nullptr;
}

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
    const std::optional<PresetContents> contents = ReadPresetForLoad(file);
    if (!contents) return;
    // The person did not pick this file in the load dialog: it reaches the
    // unit only on a Yes, asked now or once the link is online.
    const bool busy = Dispatch.InputHeld == 1; // a transfer owns the image
    if (HaveLink() && CurrentLinkState() == Online && !busy) {
        if (AskToWritePreset(file, *contents)) ApplyLoadedPreset(*contents);
        return;
    }
    // Offline the image takes it (nothing is written); the connect would
    // replace it by the unit's own values, so it is held for the question.
    if (!busy) ApplyLoadedPreset(*contents);
    if (!HaveLink()) return;
    Held.File = file;
    Held.Contents = contents;
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
    if (CurrentLinkState() != Online || Dispatch.InputHeld == 1) return false;
    const QString file = Held.File;
    const std::optional<PresetContents> contents = std::move(Held.Contents);
    const bool replaced = PresetFiles.Lines != Held.Lines;
    Held.File.clear();
    Held.Contents.reset();
    Held.Lines.clear();
    if (Held.Timer) Held.Timer->stop();
    if (!replaced && contents && AskToWritePreset(file, *contents)) ApplyLoadedPreset(*contents);
    return true;
}

void MarkAsDemo(TForm1& form, TForm9& link) {
    const QString captionMark =
        QLatin1Char(' ') + QCoreApplication::translate("Demo", "[演示 DEMO]");
    Window.MainCaption += captionMark;
    Window.VariantCaption += captionMark;
    form.setWindowTitle(Window.MainCaption);
    link.Session->EmulatedUnit = true;
    // On the graph's top right corner: the top bar has no room left. It lets the
    // mouse through and stays under the handles, so it never hides one.
    QWidget* graph = form.Image1->parentWidget();
    auto* mark = new QLabel(QCoreApplication::translate("Demo", "演示模式 · 模拟设备  DEMO"), graph);
    mark->setObjectName(QStringLiteral("DemoMark"));
    mark->setAlignment(Qt::AlignCenter);
    mark->setStyleSheet(
        QStringLiteral("background:#ffd21f; color:#000000; font-weight:bold; border-radius:3px;"));
    const QRect plot = form.Image1->geometry();
    mark->setGeometry(plot.right() - 230, plot.top() + 4, 220, 22);
    mark->setAttribute(Qt::WA_TransparentForMouseEvents, true);
    mark->stackUnder(form.EQlabel);
    mark->setToolTip(QCoreApplication::translate(
        "Demo", "控制台连接的是模拟设备，不是真实设备：不会写入任何硬件。"));
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
    const QString program = QFileInfo(raw.front()).fileName();
    if (kind == ConsoleKind::Device) {
        int exitCode = 0;
        instance = ClaimSession(program, parsed.Options, exitCode);
        if (exitCode >= 0) return exitCode;
    }

    // The interface text is Chinese: use a font that has the glyphs.
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPointSize(9);
    QApplication::setFont(font);
    QApplication::setWindowIcon(ConsoleIcon());
    InstallLanguage(ChosenLanguage(QCoreApplication::arguments()));

    TForm1 form;
    TForm9 link(Params, std::move(backend));
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
    if (instance && !instance->ListenError().isEmpty()) {
        const QString line =
            QStringLiteral("HAND-OVER OFF: cannot listen (%1)").arg(instance->ListenError());
        Complain(program + QStringLiteral(": later starts cannot reach this console: ") +
                 instance->ListenError() + QStringLiteral("\n"));
        link.AddToHistory(line);
    }
    if (instance) {
        QObject::connect(instance.get(), &SingleInstance::Dropped, &link, &TForm9::AddToHistory);
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
