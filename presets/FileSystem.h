#pragma once
// Preset files on disk: the main window's "保存" and "加载".

void SavePreset();
void LoadPreset();
