#include "app/WindowState.h"

WindowState Window;

void ResetWindowState() { Window = WindowState{}; }
