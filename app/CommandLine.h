#pragma once
// The console's command line: kalviren-console [--factory] [--language zh|en] [FILE.Nddt].

#include <QString>
#include <QStringList>

struct ConsoleOptions {
    bool Factory = false; // shows the factory button RzBmpButton1
    QString PresetFile;   // loaded at start as the load button would
};

struct ParsedCommandLine {
    bool Exit = false; // --help, --version or an error: print and stop
    int ExitCode = 0;
    QString Out; // for standard output
    QString Err; // for standard error
    ConsoleOptions Options;
};

// Parses the arguments that Qt has left (Qt's own options such as -platform
// are taken out by QApplication). arguments[0] is the program.
ParsedCommandLine ParseCommandLine(const QStringList& arguments);

// --help and --version need no display, so they are answered from the raw
// arguments before the application object exists; nothing else is looked at.
ParsedCommandLine EarlyCommandLine(const QStringList& rawArguments);

// The reason the program cannot open a window, or empty when it can try:
// on Linux, no DISPLAY, no WAYLAND_DISPLAY and no platform chosen.
QString MissingDisplayMessage(const QStringList& rawArguments);
