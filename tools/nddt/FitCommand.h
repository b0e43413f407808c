#pragma once
// nddt fit: the module's bands fitted to a measurement; returns the exit code.
#include <string>
#include <vector>

extern const char* const FitUsage;

int FitCommand(const std::vector<std::string>& args);
