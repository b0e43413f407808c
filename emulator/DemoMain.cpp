// The console wired to an emulated unit instead of the USB bus: everything
// above the HID backend is the program's own code.
#include "app/Startup.h"
#include "emulator/EmulatorBackend.h"

#include <memory>
#include <utility>

namespace {

// The console's start-up takes the HID backend once the link window hosts the
// HID component; an older start-up without that parameter runs on the bus.
template <typename Backend>
concept StartupTakesBackend = requires(int argc, char** argv, Backend backend) {
    RunConsole(argc, argv, std::move(backend));
};

template <typename Backend> int Run(int argc, char** argv, Backend backend) {
    if constexpr (StartupTakesBackend<Backend>) {
        return RunConsole(argc, argv, std::move(backend));
    } else {
        backend.reset();
        return RunConsole(argc, argv);
    }
}

} // namespace

int main(int argc, char** argv) {
    auto backend = std::make_unique<EmulatorBackend>();
    backend->PlugUnit(QStringLiteral("DEMO"));
    backend->RunOnRealTime();
    std::unique_ptr<HidBackend> hid = std::move(backend);
    return Run(argc, argv, std::move(hid));
}
