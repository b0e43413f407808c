#pragma once
// nddt's reading and writing: files or "-" for the standard streams, with the
// system's reason or the console's own text when something is wrong.

#include "presets/PresetCodec.h"

#include <optional>
#include <string>

// Prints "nddt: MESSAGE" to standard error; returns the exit code 1.
int Fail(const std::string& message);

// The name a message gives PATH ("-" is the stream named).
std::string Shown(const std::string& path, const char* stream);

// The file's bytes ("-": standard input), or the reason it cannot be read:
// only a regular file (or the stream) of at most maxBytes is read.
std::optional<std::string> ReadAll(const std::string& path, std::size_t maxBytes, std::string& why);

// Writes everything to standard output ("-") or to a file that is replaced
// only once it is complete, keeping its mode (a device or FIFO is written in
// place); returns the exit code.
int WriteAll(const std::string& path, const std::string& bytes);

// The console's texts for a refused file, with what was wrong.
std::string ReasonOf(const PresetContents& contents);

// Reads and checks a file as the console's loader does; on failure prints
// "nddt: FILE: reason" and sets the exit code.
std::optional<PresetContents> LoadChecked(const std::string& path, int& exitCode);
