// kalviren-unit: the units from the command line. Qt Core only: no display.
#include "link/HidapiBackend.h"
#include "tools/unit/UnitTool.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kalviren-unit"));
    UnitTool tool(MakeHidapiBackend(), ConsoleLockPath());
    QObject::connect(&tool, &UnitTool::Finished, &app, [](int code) { QCoreApplication::exit(code); });
    tool.Start(app.arguments().mid(1));
    const int code = tool.Done() ? tool.ExitCode() : app.exec();
    std::fwrite(tool.Out.constData(), 1, static_cast<std::size_t>(tool.Out.size()), stdout);
    std::fwrite(tool.Err.constData(), 1, static_cast<std::size_t>(tool.Err.size()), stderr);
    return std::fflush(stdout) == 0 ? code : 1;
}
