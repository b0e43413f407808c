#include "app/Startup.h"
#include "link/HidapiBackend.h"

int main(int argc, char** argv) {
    return RunConsole(argc, argv, MakeHidapiBackend());
}
