#pragma once
// nddt peq import / export: arguments after "peq"; returns the exit code.
#include <string>
#include <vector>

#include "presets/PresetCodec.h"

extern const char* const PeqUsage;

// What a console saves after start-up, before any device contact.
void StartImage(PresetImage& image);
// Reads a preset as decode does; prints the loader's message on failure.
bool LoadPreset(const std::string& path, PresetImage& image, int& variant);

int PeqCommand(const std::vector<std::string>& args);
