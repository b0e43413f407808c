#pragma once
// Runs one of the project's command-line programs (nddt, kalviren-unit) to the end.

#include <QByteArray>
#include <QString>
#include <QStringList>

struct ProgramRun {
    int code = -1; // -1: it did not end within 30 s
    QByteArray out;
    QByteArray err;
};

// input goes to its standard input, which is then closed.
ProgramRun RunProgram(const QString& program, const QStringList& args,
                      const QByteArray& input = {});
