#include "app/HandOverMessage.h"

bool IsAbsoluteHandOverPath(std::string_view path) {
#ifdef _WIN32
    if (path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/') &&
        ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')))
        return true;
    return path.size() >= 2 && (path[0] == '\\' || path[0] == '/') &&
           (path[1] == '\\' || path[1] == '/');
#else
    return !path.empty() && path[0] == '/';
#endif
}

HandOverMessage ParseHandOver(std::string_view bytes) {
    HandOverMessage m;
    const std::size_t end = bytes.find('\0');
    if (end == std::string_view::npos) {
        if (bytes.size() >= HandOverMaxBytes) {
            m.Status = HandOverMessage::Invalid;
            m.Reason = "longer than " + std::to_string(HandOverMaxBytes) + " bytes";
        }
        return m;
    }
    m.Status = HandOverMessage::Invalid;
    if (end + 1 > HandOverMaxBytes) {
        m.Reason = "longer than " + std::to_string(HandOverMaxBytes) + " bytes";
    } else if (end + 1 != bytes.size()) {
        m.Reason = "more than one path";
    } else if (end > 0 && !IsAbsoluteHandOverPath(bytes.substr(0, end))) {
        m.Reason = "not an absolute path";
    } else {
        m.Status = HandOverMessage::Complete;
        m.Path = std::string(bytes.substr(0, end));
    }
    return m;
}

std::string BuildHandOver(std::string_view path) {
    std::string out(path);
    out.push_back('\0');
    return out;
}
