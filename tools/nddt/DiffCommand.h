#pragma once
// nddt diff: the parameters two preset files set differently; returns the exit
// code (0 equal, 1 different, 2 trouble), as diff does.
#include <string>
#include <vector>

extern const char* const DiffUsage;

int DiffCommand(const std::vector<std::string>& args);
