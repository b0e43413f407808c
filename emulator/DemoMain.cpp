// The console wired to an emulated unit instead of the USB bus: everything
// above the HID backend is the program's own code.
#include "app/Startup.h"
#include "emulator/EmulatorBackend.h"

#include <memory>

int main(int argc, char** argv) {
    auto backend = std::make_unique<EmulatorBackend>();
    backend->PlugUnit(QStringLiteral("DEMO"));
    backend->RunOnRealTime();
    return RunConsole(argc, argv, std::move(backend), ConsoleKind::Demo);
}
