// The frame check and the reply decoders on arbitrary bytes, with no window
// behind them: fast enough to search the decoders themselves. The input is
// taken as one received frame (report ID first); its first bytes also serve
// as the fields of a command frame built and checked as the unit would.
#include "link/Frames.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

constexpr int LastModule = 3;

void Require(bool holds) {
    if (!holds) __builtin_trap();
}

void CheckReply(const uint8_t* data, std::size_t size) {
    const ReplyView v = ViewReply(data, size);
    Require(v.ok == (size >= 8));
    if (!v.ok) return;
    // Sealed with its own checksum the frame checks out, whatever it holds.
    std::vector<uint8_t> sealed(data, data + size);
    sealed.back() = FrameChecksum(sealed.data(), size - 1);
    const ReplyView s = ViewReply(sealed.data(), size);
    Require(s.expectedChecksum == s.receivedChecksum);

    if (v.addrHigh != 0) return;
    if (v.addrLow == ReadAddress) {
        const ValuesView values = ViewValues(data, size, LastModule);
        if (!values.ok || values.count <= 0) return;
        Require(values.module <= LastModule);
        Require(8 + 2 * static_cast<std::size_t>(values.count) <= size - 1);
        // Every value lies inside the frame (the sanitizer watches the reads).
        volatile int sink = 0;
        for (int j = 0; j < values.count; ++j)
            sink = sink + ValueAt(data, j);
    } else if (v.addrLow == StatusAddress) {
        const StatusLevelsView levels = ViewStatusLevels(data, size);
        Require(levels.hasLevels == (size >= 10) && levels.hasVolume == (size >= 19));
        for (uint8_t byte : {levels.left, levels.right}) {
            const int level = MeterLevel(byte);
            Require(level >= -22 && level <= 48 && level != 47);
        }
    }
}

// A command and a bulk packet from the input's fields: after the unit
// unmasks bytes 2..7, the checksum holds and the fields read back.
void CheckCommand(const uint8_t* data, std::size_t size) {
    if (size < 12) return;
    const LinkMaskBytes mask = {data[0], data[1], data[2], data[3], data[4], data[5]};
    const int mode = data[6];
    const int address = data[7] << 8 | data[8];
    const int value = data[9] << 8 | data[10];
    Report tx{};
    for (std::size_t i = 0; i < tx.size() && 11 + i < size; ++i)
        tx[i] = data[11 + i];

    Report bulk = BuildBulk(tx, mode, address, data[11] % 24, mask, nullptr);
    Report command = BuildCommand(tx, mode, address, value, mask, nullptr);
    for (Report* r : {&command, &bulk}) {
        MaskReport(*r, mask);
        Require((*r)[0] == FrameHead && (*r)[1] == DeviceId);
        Require(FrameChecksum(r->data(), FrameSize - 1) == (*r)[FrameSize - 1]);
        Require((*r)[3] == mode && ((*r)[4] << 8 | (*r)[5]) == address);
    }
    Require(command[2] == 6 && (command[6] << 8 | command[7]) == value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    CheckReply(data, size);
    CheckCommand(data, size);
    return 0;
}
