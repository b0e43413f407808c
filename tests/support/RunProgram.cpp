#include "tests/support/RunProgram.h"

#include <QProcess>

ProgramRun RunProgram(const QString& program, const QStringList& args, const QByteArray& input) {
    QProcess p;
    p.start(program, args);
    p.write(input);
    p.closeWriteChannel();
    ProgramRun r;
    if (!p.waitForFinished(30000)) return r;
    r.code = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}
