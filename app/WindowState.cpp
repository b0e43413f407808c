#include "app/WindowState.h"

#include "app/Language.h"

WindowState Window;

void ResetWindowState() {
    Window = WindowState{};
    Window.LanguageFlag = LanguageFlagForCurrent();
}
