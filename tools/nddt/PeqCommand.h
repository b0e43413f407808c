#pragma once
// nddt peq import / export: arguments after "peq"; returns the exit code.
#include <string>
#include <vector>

int PeqCommand(const std::vector<std::string>& args);
