#include "app/CommandLine.h"

#include "app/Language.h"

#include <QCommandLineParser>
#include <QFileInfo>

namespace {

QString ProgramName(const QStringList& arguments) {
    return arguments.isEmpty() ? QStringLiteral("kalviren-console")
                               : QFileInfo(arguments.front()).fileName();
}

QString HelpText(const QString& program) {
    return QStringLiteral("Usage: %1 [--factory] [--language zh|en] [FILE.Nddt]\n"
                          "The tuning console for the KALVIREN DSP unit.\n"
                          "\n"
                          "  FILE.Nddt   load this preset file at start, with the same checks and\n"
                          "              messages as the \u52a0\u8f7d (load) button\n"
                          "  --factory   show the factory button, which opens the factory page\n"
                          "  --language zh|en\n"
                          "              the interface language, remembered for later starts\n"
                          "  --help      show this text and exit\n"
                          "  --version   show the version and exit\n"
                          "\n"
                          "One console runs per user session; a second start brings the first to\n"
                          "the front and hands it FILE.\n")
        .arg(program);
}

QString VersionText(const QString& program) {
    return program + QStringLiteral(" " KV_VERSION "\n");
}

} // namespace

ParsedCommandLine EarlyCommandLine(const QStringList& rawArguments) {
    ParsedCommandLine r;
    const QString program = ProgramName(rawArguments);
    for (qsizetype i = 1; i < rawArguments.size(); ++i) {
        const QString& a = rawArguments[i];
        if (a == QLatin1String("--")) break;
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            r.Exit = true;
            r.Out = HelpText(program);
            return r;
        }
        if (a == QLatin1String("--version")) {
            r.Exit = true;
            r.Out = VersionText(program);
            return r;
        }
    }
    return r;
}

ParsedCommandLine ParseCommandLine(const QStringList& arguments) {
    ParsedCommandLine r = EarlyCommandLine(arguments);
    if (r.Exit) return r;
    const QString program = ProgramName(arguments);
    const auto usageError = [&](const QString& what) {
        r.Exit = true;
        r.ExitCode = 2;
        r.Err = program + QStringLiteral(": ") + what + QStringLiteral("\nTry '") + program +
                QStringLiteral(" --help'.\n");
        return r;
    };

    QCommandLineParser parser;
    const QCommandLineOption factory(QStringLiteral("factory"));
    parser.addOption(factory);
    // Read and installed by the language set-up; taken here so it is no file name.
    const QCommandLineOption language = LanguageOption();
    parser.addOption(language);
    if (!parser.parse(arguments)) return usageError(parser.errorText());
    for (const QString& value : parser.values(language))
        if (value != QLatin1String("zh") && value != QLatin1String("en"))
            return usageError(QStringLiteral("unknown language '%1' (zh or en)").arg(value));
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return usageError(QStringLiteral("one preset file at most, not %1").arg(files.size()));
    r.Options.Factory = parser.isSet(factory);
    if (!files.isEmpty()) r.Options.PresetFile = files.front();
    return r;
}

QString MissingDisplayMessage(const QStringList& rawArguments) {
#ifdef Q_OS_LINUX
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
        !qEnvironmentVariableIsEmpty("DISPLAY") ||
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
        rawArguments.contains(QLatin1String("-platform")))
        return {};
    return ProgramName(rawArguments) +
           QStringLiteral(": no display to open the window on (DISPLAY and WAYLAND_DISPLAY "
                          "are not set).\n"
                          "Start it from a desktop session, under a virtual X server "
                          "(xvfb-run -a %1), or without a window at all with "
                          "QT_QPA_PLATFORM=offscreen.\n")
               .arg(ProgramName(rawArguments));
#else
    Q_UNUSED(rawArguments);
    return {};
#endif
}
