#include "link/Frames.h"

#include <cmath>
#include <cstdio>

namespace {

// High byte: the value divided by 256 towards zero; low byte: the remainder;
// each kept to 8 bits. Plain big-endian for the non-negative values.
uint8_t HighOf(int v) {
    return static_cast<uint8_t>((v / 256) & 0xFF);
}
uint8_t LowOf(int v) {
    return static_cast<uint8_t>((v % 256) & 0xFF);
}

void AppendHex(std::string& s, uint8_t b) {
    char buf[4];
    std::snprintf(buf, sizeof buf, "%.2x ", b);
    s += buf;
}

std::string Lead(const char* prefix, uint8_t b) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%s %.2x  ", prefix, b);
    return buf;
}

} // namespace

LinkMaskBytes MakeLinkMask(int hour, int minute, int second, int millisecond) {
    const int parts[6] = {hour, minute, second, millisecond, millisecond, millisecond};
    LinkMaskBytes m{};
    for (std::size_t i = 0; i < m.size(); ++i)
        m[i] = static_cast<uint8_t>((parts[i] & 0xFF) ^ DeviceId);
    return m;
}

uint8_t FrameChecksum(const uint8_t* bytes, std::size_t count) {
    unsigned sum = 0;
    for (std::size_t i = 0; i < count; ++i)
        sum += bytes[i];
    return static_cast<uint8_t>((0u - sum) & 0xFF);
}

void MaskReport(Report& r, const LinkMaskBytes& mask) {
    for (std::size_t i = 0; i < mask.size(); ++i)
        r[2 + i] = static_cast<uint8_t>(r[2 + i] ^ mask[i]);
}

Report BuildCommand(Report& TxBuffer, int WRMode, int ControlModule, int HighLowByte,
                    const LinkMaskBytes& mask, std::string* history) {
    TxBuffer[0] = FrameHead;
    TxBuffer[1] = DeviceId;
    TxBuffer[2] = 6;
    TxBuffer[3] = static_cast<uint8_t>(WRMode & 0xFF);
    TxBuffer[4] = HighOf(ControlModule);
    TxBuffer[5] = LowOf(ControlModule);
    TxBuffer[6] = HighOf(HighLowByte);
    TxBuffer[7] = LowOf(HighLowByte);
    if (history) {
        std::string line = Lead("WW", TxBuffer[0]);
        for (int i = 0; i < FrameSize - 1; ++i)
            AppendHex(line, TxBuffer[i]);
        *history = line;
    }
    TxBuffer[FrameSize - 1] = FrameChecksum(TxBuffer.data(), FrameSize - 1);
    // The buffer itself goes out masked, as it is written to the device.
    MaskReport(TxBuffer, mask);
    return TxBuffer;
}

Report BuildBulk(const Report& TxBuffer, int WRMode, int ControlModule, int DataSize,
                 const LinkMaskBytes& mask, std::string* history) {
    Report r{};
    r[0] = FrameHead;
    r[1] = DeviceId;
    r[2] = static_cast<uint8_t>((DataSize + 4) & 0xFF);
    r[3] = static_cast<uint8_t>(WRMode & 0xFF);
    r[4] = HighOf(ControlModule);
    r[5] = LowOf(ControlModule);
    for (int i = 6; i < FrameSize; ++i)
        r[i] = TxBuffer[i - 6];
    r[FrameSize - 1] = FrameChecksum(r.data(), FrameSize - 1);
    if (history) {
        std::string line = Lead("W", r[0]);
        int last = DataSize + 4;
        if (last > FrameSize - 1) last = FrameSize - 1;
        for (int i = 1; i <= last; ++i)
            AppendHex(line, r[i]);
        *history = line;
    }
    MaskReport(r, mask);
    return r;
}

Report BuildStartSign(uint8_t mode, uint8_t iDatabyte, const LinkMaskBytes& mask) {
    Report r{};
    r[0] = StartReportId;
    r[1] = mode;
    r[2] = iDatabyte;
    r[3] = DeviceTypeCode;
    for (std::size_t i = 0; i < mask.size(); ++i) {
        r[4 + i] = mask[i];
        r[10 + i] = static_cast<uint8_t>(mask[i] ^ 0xC6 ^ i);
    }
    return r;
}

std::string HexText(const uint8_t* bytes, std::size_t count) {
    static const char digits[] = "0123456789ABCDEF";
    std::string s;
    s.reserve(count * 3);
    for (std::size_t i = 0; i < count; ++i) {
        if (i) s += ' ';
        s += digits[bytes[i] >> 4];
        s += digits[bytes[i] & 0x0F];
    }
    return s;
}

ReplyView ViewReply(const uint8_t* frame, std::size_t size) {
    ReplyView v{};
    if (frame == nullptr || size < 8) {
        v.ok = false;
        return v;
    }
    v.ok = true;
    v.deviceId = frame[1];
    v.length = frame[2];
    v.addrHigh = frame[4];
    v.addrLow = frame[5];
    v.code = static_cast<uint16_t>(frame[6] << 8 | frame[7]);
    v.expectedChecksum = FrameChecksum(frame, size - 1);
    v.receivedChecksum = frame[size - 1];
    return v;
}

ValuesView ViewValues(const uint8_t* frame, std::size_t size, int lastModule) {
    ValuesView v{};
    if (frame == nullptr || size < 8) return v;
    v.module = frame[6];
    v.start = frame[7];
    v.count = (int(frame[2]) - 6) / 2;
    // The values lie from byte 8 up to, not including, the checksum in the last byte.
    const int lastValueByte = 8 + 2 * v.count - 1;
    v.ok = !(v.module > lastModule || (v.count > 0 && lastValueByte > int(size) - 2));
    return v;
}

StatusLevelsView ViewStatusLevels(const uint8_t* frame, std::size_t size) {
    StatusLevelsView v{};
    if (frame == nullptr) return v;
    v.hasLevels = size >= 10;
    if (v.hasLevels) {
        v.left = frame[8];
        v.right = frame[9];
    }
    v.hasVolume = size >= 19;
    if (v.hasVolume) v.volume = frame[17] * 256 + frame[18];
    return v;
}

int MeterLevel(uint8_t byte) {
    float x = static_cast<float>(byte) / 255.0f;
    if (!(x > 0.0f)) x = 0.0003f;
    int level = static_cast<int>(20.0f * std::log10(x) + 48.0f);
    if (level == 0 || level == 1)
        level = 1;
    else if (level >= 47)
        level = 48;
    return level;
}
