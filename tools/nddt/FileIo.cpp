#include "tools/nddt/FileIo.h"

#include "presets/RegularFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

int Fail(const std::string& message) {
    std::fprintf(stderr, "nddt: %s\n", message.c_str());
    return 1;
}

std::string Shown(const std::string& path, const char* stream) {
    return path == "-" ? std::string(stream) : path;
}

// The file's bytes ("-": standard input), or the reason it cannot be read.
std::optional<std::string> ReadAll(const std::string& path, std::size_t maxBytes,
                                   std::string& why) {
    std::string bytes;
    const bool ok = path == "-" ? ReadStandardInput(maxBytes, bytes, why)
                                : ReadRegularFile(path, maxBytes, bytes, why);
    if (!ok) return std::nullopt;
    return bytes;
}

namespace {

int WriteStdout(const std::string& bytes) {
    errno = 0;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() &&
                    std::fflush(stdout) == 0;
    if (!ok) return Fail("standard output: " + std::string(std::strerror(errno ? errno : EIO)));
    return 0;
}

#ifndef _WIN32

bool WriteFd(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// A device or a FIFO takes the bytes where it is (so -o /dev/null works); it
// is never replaced by a regular file. A FIFO nobody reads is refused at once.
int WriteInPlace(const std::string& shown, const std::string& target, const std::string& bytes) {
    const int fd = ::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENXIO) return Fail(shown + ": not a regular file, and nothing reads it");
        return Fail(shown + ": " + std::strerror(errno));
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    const bool ok = WriteFd(fd, bytes);
    const int error = errno;
    ::close(fd);
    return ok ? 0 : Fail(shown + ": " + std::strerror(error ? error : EIO));
}

#endif

} // namespace

// Standard output ("-"), or a file replaced only once it is complete: the
// bytes go to a temporary file of a unique name created exclusively beside the
// target (no link planted there is followed), which takes the old file's mode
// and is renamed over it.
int WriteAll(const std::string& path, const std::string& bytes) {
    if (path == "-") return WriteStdout(bytes);
#ifdef _WIN32
    const std::string temporary = path + ".nddt-" + std::to_string(std::rand()) + ".tmp";
    const int fd =
        _open(temporary.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd < 0) return Fail(path + ": " + std::strerror(errno));
    bool ok = _write(fd, bytes.data(), static_cast<unsigned>(bytes.size())) ==
              static_cast<int>(bytes.size());
    ok = _close(fd) == 0 && ok;
    if (ok) ok = MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
    if (!ok) {
        std::remove(temporary.c_str());
        return Fail(path + ": the file could not be written");
    }
    return 0;
#else
    // A symbolic link is written through: its target is the file replaced.
    std::string target = path;
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char* real = ::realpath(path.c_str(), nullptr);
        if (!real && errno == ENOENT)
            return Fail(path + ": a symbolic link to a file that does not exist");
        if (!real) return Fail(path + ": " + std::strerror(errno));
        target = real;
        std::free(real);
    }
    bool exists = ::stat(target.c_str(), &st) == 0;
    if (!exists && errno != ENOENT) return Fail(path + ": " + std::strerror(errno));
    if (exists && S_ISDIR(st.st_mode)) return Fail(path + ": " + std::strerror(EISDIR));
    if (exists && !S_ISREG(st.st_mode)) return WriteInPlace(path, target, bytes);

    mode_t mode = 0;
    if (exists) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    const std::size_t slash = target.find_last_of('/');
    const std::string dir = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    std::string temporary =
        (slash == std::string::npos ? std::string() : dir) + "." + base + ".nddt-XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return Fail(path + ": " + std::strerror(errno));
    bool ok = ::fchmod(fd, mode) == 0 && WriteFd(fd, bytes);
    int error = errno;
    ok = ::close(fd) == 0 && ok;
    if (ok && ::rename(temporary.c_str(), target.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temporary.c_str());
        return Fail(path + ": " + std::strerror(error ? error : EIO));
    }
    return 0;
#endif
}

// The console's texts for a refused file, with what was wrong.
std::string ReasonOf(const PresetContents& contents) {
    const char* text = contents.Status == PresetStatus::FormatError ? "File format error!"
                                                                    : "Data file is corrupted!";
    const std::string detail = PresetRefusalDetail(contents);
    return detail.empty() ? std::string(text) : std::string(text) + " (" + detail + ")";
}

// Reads and checks a file as the console's loader does; on failure prints
// "nddt: FILE: reason" and sets the exit code.
std::optional<PresetContents> LoadChecked(const std::string& path, int& exitCode) {
    const std::string name = Shown(path, "standard input");
    std::string why;
    const std::optional<std::string> bytes = ReadAll(path, PresetFileMaxBytes, why);
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
