#pragma once
// Bounded reads of files the programs are handed (presets, filter text, the
// configuration, nddt's inputs, measurement files). Standard library only.
//
// A path is opened without blocking (a FIFO with no writer or a device never
// holds the caller), refused unless it is a regular file, refused before it is
// read when it is larger than maxBytes, and read at most maxBytes + 1 bytes so
// that a file growing while it is read is caught too. On a refusal nothing of
// the file is kept: bytes is left empty.

#include <cstddef>
#include <string>

// True with the file's bytes; false with the reason ("No such file or
// directory", "Is a directory", "not a regular file", "too large: ...").
bool ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes,
                     std::string& reason);

// Standard input, read to its end with the same cap.
bool ReadStandardInput(std::size_t maxBytes, std::string& bytes, std::string& reason);

// The reason text for a file above the cap ("too large: more than 65536 bytes").
std::string TooLargeReason(std::size_t maxBytes);

// Caps of the formats: a preset is about 5 kB, filter text and listings are a
// few kB at most.
constexpr std::size_t PresetFileMaxBytes = 64 * 1024;
constexpr std::size_t TextFileMaxBytes = 1024 * 1024;
