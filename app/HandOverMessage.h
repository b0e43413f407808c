#pragma once
// The message a later start hands the running console over its local socket:
// one absolute path, any bytes but NUL, then one NUL; a lone NUL asks only for
// the window to come to the front. Standard library only (fuzzed on its own).

#include <cstddef>
#include <string>
#include <string_view>

// The whole message, the NUL included, is at most this long.
constexpr std::size_t HandOverMaxBytes = 4096;

struct HandOverMessage {
    enum Status { Incomplete, Complete, Invalid } Status = Incomplete;
    std::string Path;   // when Complete; empty: to the front, no file
    std::string Reason; // when Invalid
};

// What the bytes received so far on one connection amount to.
HandOverMessage ParseHandOver(std::string_view bytes);

// The message for a path (already absolute), or for none.
std::string BuildHandOver(std::string_view path);

// "/x" on Unix; "C:\x", "C:/x" or "\\server\x" on Windows.
bool IsAbsoluteHandOverPath(std::string_view path);
