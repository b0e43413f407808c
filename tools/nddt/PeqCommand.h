#pragma once
// nddt peq import / export: arguments after "peq"; returns the exit code.
#include <string>
#include <vector>

extern const char* const PeqUsage;

int PeqCommand(const std::vector<std::string>& args);
