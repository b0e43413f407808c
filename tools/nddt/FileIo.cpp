#include "tools/nddt/FileIo.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int Fail(const std::string& message) {
    std::fprintf(stderr, "nddt: %s\n", message.c_str());
    return 1;
}

std::string Shown(const std::string& path, const char* stream) {
    return path == "-" ? std::string(stream) : path;
}

// The file's bytes ("-": standard input), or the reason it cannot be read.
std::optional<std::string> ReadAll(const std::string& path, std::string& why) {
    std::FILE* in = stdin;
    if (path != "-") {
        in = std::fopen(path.c_str(), "rb");
        if (!in) {
            why = std::strerror(errno);
            return std::nullopt;
        }
    }
    std::string bytes;
    char chunk[8192];
    std::size_t n = 0;
    errno = 0;
    while ((n = std::fread(chunk, 1, sizeof chunk, in)) > 0)
        bytes.append(chunk, n);
    const bool failed = std::ferror(in) != 0;
    const int error = errno;
    if (in != stdin) std::fclose(in);
    if (failed) {
        why = std::strerror(error != 0 ? error : EIO);
        return std::nullopt;
    }
    return bytes;
}

// Writes everything to standard output ("-") or to a file that is replaced
// only once it is complete.
int WriteAll(const std::string& path, const std::string& bytes) {
    if (path == "-") {
        errno = 0;
        const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() &&
                        std::fflush(stdout) == 0;
        if (!ok) return Fail("standard output: " + std::string(std::strerror(errno ? errno : EIO)));
        return 0;
    }
    const std::string temporary = path + ".nddt-new";
    std::FILE* out = std::fopen(temporary.c_str(), "wb");
    if (!out) return Fail(path + ": " + std::strerror(errno));
    errno = 0;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    ok = std::fclose(out) == 0 && ok;
    if (ok) ok = std::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) {
        const int error = errno ? errno : EIO;
        std::remove(temporary.c_str());
        return Fail(path + ": " + std::strerror(error));
    }
    return 0;
}

// The console's texts for a refused file, with what was wrong.
std::string ReasonOf(const PresetContents& contents) {
    const char* text = contents.Status == PresetStatus::FormatError ? "File format error!"
                                                                    : "Data file is corrupted!";
    if (contents.Detail.empty()) return text;
    // The codec counts lines from 0; people count from 1.
    std::string detail = contents.Detail;
    const std::size_t at = detail.find(" (line ");
    if (at != std::string::npos) {
        const int line = std::atoi(detail.c_str() + at + 7);
        detail = detail.substr(0, at) + " at line " + std::to_string(line + 1);
    }
    return std::string(text) + " (" + detail + ")";
}

// Reads and checks a file as the console's loader does; on failure prints
// "nddt: FILE: reason" and sets the exit code.
std::optional<PresetContents> LoadChecked(const std::string& path, int& exitCode) {
    const std::string name = Shown(path, "standard input");
    std::string why;
    const std::optional<std::string> bytes = ReadAll(path, why);
    if (!bytes) {
        exitCode = Fail(name + ": " + why);
        return std::nullopt;
    }
    PresetContents contents = CheckPresetFile(*bytes);
    if (contents.Status != PresetStatus::Ok) {
        exitCode = Fail(name + ": " + ReasonOf(contents));
        return std::nullopt;
    }
    return contents;
}

