#include "presets/RegularFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

std::string SystemReason(int error) {
    return std::strerror(error);
}

#ifdef _WIN32

std::wstring Wide(const std::string& utf8) {
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::string WindowsReason(DWORD error) {
    char* text = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string out = text ? text : "error " + std::to_string(error);
    if (text) LocalFree(text);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r' || out.back() == '.'))
        out.pop_back();
    return out;
}

#endif

} // namespace

std::string TooLargeReason(std::size_t maxBytes) {
    return "too large: more than " + std::to_string(maxBytes) + " bytes";
}

#ifdef _WIN32

bool ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes,
                     std::string& reason) {
    bytes.clear();
    // Named pipes and devices are not disk files: refused before any read.
    HANDLE h =
        CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        reason = WindowsReason(GetLastError());
        return false;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool regular = GetFileType(h) == FILE_TYPE_DISK && GetFileInformationByHandle(h, &info) &&
                         !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    CloseHandle(h);
    if (!regular) {
        reason = "not a regular file";
        return false;
    }
    h = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        reason = WindowsReason(GetLastError());
        return false;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(h, &size) || static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
        CloseHandle(h);
        reason = TooLargeReason(maxBytes);
        return false;
    }
    std::string buffer(maxBytes + 1, '\0');
    std::size_t got = 0;
    while (got < buffer.size()) {
        DWORD n = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(buffer.size() - got, 1 << 20));
        if (!ReadFile(h, buffer.data() + got, want, &n, nullptr)) {
            reason = WindowsReason(GetLastError());
            CloseHandle(h);
            return false;
        }
        if (n == 0) break;
        got += n;
    }
    CloseHandle(h);
    if (got > maxBytes) {
        reason = TooLargeReason(maxBytes);
        return false;
    }
    buffer.resize(got);
    bytes.swap(buffer);
    return true;
}

bool ReadStandardInput(std::size_t maxBytes, std::string& bytes, std::string& reason) {
    bytes.clear();
    _setmode(_fileno(stdin), _O_BINARY);
    std::string buffer;
    char chunk[8192];
    for (;;) {
        const int n = _read(_fileno(stdin), chunk, sizeof chunk);
        if (n < 0) {
            reason = SystemReason(errno);
            return false;
        }
        if (n == 0) break;
        if (buffer.size() + static_cast<std::size_t>(n) > maxBytes) {
            reason = TooLargeReason(maxBytes);
            return false;
        }
        buffer.append(chunk, static_cast<std::size_t>(n));
    }
    bytes.swap(buffer);
    return true;
}

#else

namespace {

// Reads fd to its end, at most maxBytes + 1 bytes; false with the reason.
bool ReadBounded(int fd, std::size_t maxBytes, std::string& bytes, std::string& reason) {
    std::string buffer;
    char chunk[8192];
    for (;;) {
        const std::size_t room = maxBytes + 1 - buffer.size();
        const ssize_t n = ::read(fd, chunk, room < sizeof chunk ? room : sizeof chunk);
        if (n < 0) {
            if (errno == EINTR) continue;
            reason = SystemReason(errno);
            return false;
        }
        if (n == 0) break;
        buffer.append(chunk, static_cast<std::size_t>(n));
        if (buffer.size() > maxBytes) {
            reason = TooLargeReason(maxBytes);
            return false;
        }
    }
    bytes.swap(buffer);
    return true;
}

} // namespace

bool ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes,
                     std::string& reason) {
    bytes.clear();
    // O_NONBLOCK: opening a FIFO would otherwise wait for a writer for ever.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        reason = SystemReason(errno);
        return false;
    }
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0;
    if (!ok) {
        reason = SystemReason(errno);
    } else if (S_ISDIR(st.st_mode)) {
        reason = SystemReason(EISDIR);
        ok = false;
    } else if (!S_ISREG(st.st_mode)) {
        reason = "not a regular file";
        ok = false;
    } else if (st.st_size < 0 || static_cast<unsigned long long>(st.st_size) > maxBytes) {
        reason = TooLargeReason(maxBytes);
        ok = false;
    }
    if (ok) {
        // A regular file: blocking reads are fine and simpler to get right.
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
        ok = ReadBounded(fd, maxBytes, bytes, reason);
    }
    ::close(fd);
    return ok;
}

bool ReadStandardInput(std::size_t maxBytes, std::string& bytes, std::string& reason) {
    bytes.clear();
    return ReadBounded(STDIN_FILENO, maxBytes, bytes, reason);
}

#endif
