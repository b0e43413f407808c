#include "presets/FileSystem.h"

// Stand-ins until the preset files land.
void SavePreset() {}
void LoadPreset() {}
