#pragma once
// The catalogue's names in the console's language, for the window code.
// The language follows the installed translation, as every tr() text does.

#include "params/ParamCatalog.h"

#include <QString>

// English when the installed translation is the English one.
ParamLanguage ConsoleParamLanguage();
// "频段 3 频率" / "Band 3 frequency"; the mM.N key for an uncatalogued
// address of modules 0..3, "" for any other.
QString ParamDisplayText(int address);
