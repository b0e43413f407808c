// The hand-over message as a later start (or anyone on the socket) sends it,
// fed whole and in the pieces a connection may deliver: never crashes, a
// complete message is one absolute path without NUL, and nothing longer than
// the limit is ever complete.
#include "app/HandOverMessage.h"

#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const HandOverMessage whole = ParseHandOver(bytes);
    if (whole.Status == HandOverMessage::Complete) {
        if (whole.Path.find('\0') != std::string::npos) std::abort();
        if (!whole.Path.empty() && !IsAbsoluteHandOverPath(whole.Path)) std::abort();
        if (whole.Path.size() + 1 != size || size > HandOverMaxBytes) std::abort();
        if (BuildHandOver(whole.Path) != bytes) std::abort();
    }
    // As the bytes arrive: once refused or complete, a longer prefix is never
    // read as something else complete.
    for (std::size_t n = 0; n <= size; n += 1 + n / 3) {
        const HandOverMessage part = ParseHandOver(bytes.substr(0, n));
        if (part.Status == HandOverMessage::Invalid && whole.Status == HandOverMessage::Complete)
            std::abort();
        if (part.Status == HandOverMessage::Complete && n < size &&
            whole.Status == HandOverMessage::Complete)
            std::abort();
    }
    return 0;
}
