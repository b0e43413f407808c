#include "emulator/EmulatedDevice.h"

#include <algorithm>

namespace {

constexpr uint8_t kHead = 0x01;
constexpr uint8_t kDeviceId = 0x57;
constexpr uint8_t kForeignId = 0x58;
constexpr uint8_t kStartReport = 0x02;
constexpr uint8_t kTypeCode = 7;
constexpr uint8_t kWrite = 0xA7;
constexpr uint8_t kRead = 0xA0;
constexpr int kTextAddress = 54;
constexpr int kBulkAddress = 56;
constexpr int kReadAddress = 57;
constexpr int kSignalAddress = 58;
constexpr int kStatusAddress = 255;
constexpr int kRecallAddress = 12;
constexpr int kStoreAddress = 13;
constexpr uint16_t kRecallFactory = 85;
constexpr int kValuesPerPacket = 10;

uint8_t Low(int v) {
    return static_cast<uint8_t>(v & 0xFF);
}

uint8_t High(int v) {
    return static_cast<uint8_t>((v >> 8) & 0xFF);
}

// Triangle wave 0..255 with the given period, for the synthetic programme.
uint8_t Triangle(int64_t t, int64_t period) {
    const int64_t phase = t % period;
    const int64_t half = period / 2;
    const int64_t up = phase < half ? phase : period - phase;
    return static_cast<uint8_t>(up * 255 / half);
}

} // namespace

EmulatedDevice::EmulatedDevice() {
    Reset();
}

EmulatedDevice::Memory EmulatedDevice::FactorySet() {
    Memory m{};
    // System module: version 1.2.3, main variant, Bluetooth input.
    m[0][1] = 1;
    m[0][4] = 2;
    m[0][6] = 3;
    m[0][10] = 1;
    m[0][11] = 0;
    // Main channel.
    m[1][0] = 0;
    m[1][1] = 800; // volume 80.0
    m[1][2] = 0;
    m[1][4] = 1;
    m[1][5] = 10;
    m[1][6] = 3;
    const uint16_t curve[5] = {28270, 33410, 41120, 51400, 56797};
    for (int i = 0; i < 5; ++i) {
        m[1][8 + i] = curve[i];
    }
    m[1][13] = 0;
    m[1][15] = 0;
    m[1][16] = 0;
    m[1][18] = 361;
    auto bands = [&m](int module, int first, int count) {
        for (int b = 0; b < count; ++b) {
            const int s = first + 5 * b;
            m[module][s + 0] = 0;
            m[module][s + 1] = static_cast<uint16_t>(360 / count * b + 5);
            m[module][s + 2] = 120;
            m[module][s + 3] = 20;
            m[module][s + 4] = 5;
        }
    };
    bands(1, 20, 9);
    // Auxiliary channel and second page.
    m[2][3] = 100;
    m[2][4] = 120;
    m[2][5] = 20;
    m[2][8] = 10;
    m[2][9] = 30;
    m[2][15] = 200;
    m[2][16] = 120;
    m[2][17] = 20;
    m[2][20] = 10;
    m[2][21] = 30;
    m[2][25] = 3;
    m[2][26] = 1;
    m[2][30] = 0;
    m[2][32] = 361;
    bands(2, 33, 2);
    bands(2, 43, 4);
    m[2][64] = 0;
    m[2][66] = 361;
    m[3][0] = 7;
    return m;
}

void EmulatedDevice::Reset() {
    factory_ = FactorySet();
    stored_ = factory_;
    live_ = factory_;
    mask_ = {};
    linked_ = false;
    faults_ = Faults{};
    fixedLevels_.reset();
    clockMs_ = 0;
    answerCount_ = 0;
    held_.clear();
    received_.clear();
    bluetoothTexts_.clear();
    storeCount_ = 0;
    recallCount_ = 0;
}

void EmulatedDevice::PowerCycle() {
    mask_ = {};
    linked_ = false;
    held_.clear();
}

uint8_t EmulatedDevice::Checksum(const uint8_t* bytes, std::size_t count) {
    unsigned sum = 0;
    for (std::size_t i = 0; i < count; ++i) {
        sum += bytes[i];
    }
    return static_cast<uint8_t>((0u - sum) & 0xFFu);
}

uint16_t EmulatedDevice::Param(int module, int index) const {
    if (module < 0 || module >= ModuleCount || index < 0 || index >= SlotCount) {
        return 0;
    }
    return live_[static_cast<std::size_t>(module)][static_cast<std::size_t>(index)];
}

std::pair<uint8_t, uint8_t> EmulatedDevice::CurrentLevels() const {
    if (fixedLevels_) {
        return *fixedLevels_;
    }
    return {Triangle(clockMs_, 1800), Triangle(clockMs_ + 600, 2600)};
}

void EmulatedDevice::Receive(const uint8_t* data, std::size_t length) {
    if (data == nullptr || length == 0) {
        return;
    }
    if (data[0] == kStartReport) {
        HandleStartSign(data, length);
    } else {
        HandleCommand(data, length);
    }
}

void EmulatedDevice::HandleStartSign(const uint8_t* data, std::size_t length) {
    Received rec;
    rec.length = length;
    std::copy_n(data, std::min<std::size_t>(length, ReportSize), rec.bytes.begin());
    // The start sign carries no checksum; its check bytes stand in for one.
    bool ok = length >= 16 && data[1] == 1 && data[2] == kDeviceId && data[3] == kTypeCode;
    for (std::size_t i = 0; ok && i < 6; ++i) {
        ok = data[10 + i] == static_cast<uint8_t>(data[4 + i] ^ 0xC6 ^ i);
    }
    rec.checksumOk = ok;
    rec.accepted = ok;
    received_.push_back(rec);
    if (!ok) {
        return;
    }
    std::copy_n(data + 4, 6, mask_.begin());
    linked_ = true;
    QueueStatus(CodeStatus);
}

void EmulatedDevice::HandleCommand(const uint8_t* data, std::size_t length) {
    Received rec;
    rec.length = length;
    std::copy_n(data, std::min<std::size_t>(length, ReportSize), rec.bytes.begin());
    if (length < static_cast<std::size_t>(ReportSize) || data[0] != kHead || !linked_) {
        // A short report, another report ID, or a command before any start
        // sign (no mask to undo): nothing to act on.
        received_.push_back(rec);
        return;
    }
    Report& f = rec.bytes;
    for (std::size_t i = 0; i < 6; ++i) {
        f[2 + i] = static_cast<uint8_t>(f[2 + i] ^ mask_[i]);
    }
    rec.checksumOk = Checksum(f.data(), ReportSize - 1) == f[ReportSize - 1];
    if (!rec.checksumOk || f[1] != kDeviceId) {
        received_.push_back(rec);
        return;
    }
    rec.accepted = true;
    received_.push_back(rec);

    const uint8_t mode = f[3];
    const int address = f[4] << 8 | f[5];
    const int value = f[6] << 8 | f[7];

    if (mode == kRead) {
        if (address == kReadAddress) {
            QueueValues(value >> 8, value & 0xFF);
        }
        return;
    }
    if (mode != kWrite) {
        return;
    }
    switch (address) {
    case kSignalAddress:
        if (value == 0x22 || value == 0x33 || value == 0x66) {
            QueueStatus(CodeStatus);
        }
        return;
    case kBulkAddress: {
        const int module = f[6];
        const int start = f[7];
        if (module < ModuleCount) {
            for (int i = 0; i < kValuesPerPacket; ++i) {
                const int index = start + i;
                if (index < SlotCount) {
                    live_[static_cast<std::size_t>(module)][static_cast<std::size_t>(index)] =
                        static_cast<uint16_t>(f[8 + 2 * i] << 8 | f[9 + 2 * i]);
                }
            }
        }
        QueueStatus(CodeStatus);
        return;
    }
    case kTextAddress: {
        // 0x20, character count, characters; whatever fits before the checksum.
        const std::size_t count = std::min<std::size_t>(f[7], ReportSize - 1 - 8);
        bluetoothTexts_.emplace_back(reinterpret_cast<const char*>(f.data() + 8), count);
        QueueStatus(CodeTextDone);
        return;
    }
    case kRecallAddress:
        ++recallCount_;
        live_ = value == kRecallFactory ? factory_ : stored_;
        QueueStatus(CodeStatus);
        return;
    case kStoreAddress:
        ++storeCount_;
        stored_ = live_;
        QueueStatus(CodeStatus);
        return;
    default:
        break;
    }
    const int module = address >> 8;
    const int index = address & 0xFF;
    if (module < ModuleCount && index < SlotCount) {
        live_[static_cast<std::size_t>(module)][static_cast<std::size_t>(index)] =
            static_cast<uint16_t>(value);
        QueueStatus(CodeStatus);
    }
}

void EmulatedDevice::QueueStatus(uint16_t code) {
    if (faults_.forcedCode) {
        code = *faults_.forcedCode;
    }
    Report r{};
    r[0] = kHead;
    r[1] = kDeviceId;
    r[2] = 26;
    r[3] = kWrite;
    r[4] = 0;
    r[5] = static_cast<uint8_t>(kStatusAddress);
    r[6] = High(code);
    r[7] = Low(code);
    const auto [left, right] = CurrentLevels();
    r[8] = left;
    r[9] = right;
    const int volume = live_[1][1];
    r[17] = High(volume);
    r[18] = Low(volume);
    Queue(r);
}

void EmulatedDevice::QueueValues(int module, int start) {
    Report r{};
    r[0] = kHead;
    r[1] = kDeviceId;
    r[2] = 6 + 2 * kValuesPerPacket; // 26: ten values
    r[3] = kRead;
    r[4] = 0;
    r[5] = static_cast<uint8_t>(kReadAddress);
    r[6] = Low(module);
    r[7] = Low(start);
    for (int i = 0; i < kValuesPerPacket; ++i) {
        const uint16_t v = Param(module, start + i);
        r[static_cast<std::size_t>(8 + 2 * i)] = High(v);
        r[static_cast<std::size_t>(9 + 2 * i)] = Low(v);
    }
    Queue(r);
}

void EmulatedDevice::Queue(Report reply) {
    ++answerCount_;
    if (faults_.silent || (faults_.dropEvery > 0 && answerCount_ % faults_.dropEvery == 0)) {
        return;
    }
    if (faults_.foreignDeviceId) {
        reply[1] = kForeignId;
    }
    reply[ReportSize - 1] = Checksum(reply.data(), ReportSize - 1);
    if (faults_.corruptChecksum) {
        reply[ReportSize - 1] = static_cast<uint8_t>(reply[ReportSize - 1] ^ 0x5A);
    }
    held_.push_back({clockMs_ + std::max(0, faults_.replyDelayMs), reply});
}

void EmulatedDevice::AdvanceClock(int ms) {
    if (ms > 0) {
        clockMs_ += ms;
    }
}

std::vector<EmulatedDevice::Report> EmulatedDevice::TakeDueReplies() {
    std::vector<Report> due;
    auto it = held_.begin();
    while (it != held_.end()) {
        if (it->due <= clockMs_) {
            due.push_back(it->bytes);
            it = held_.erase(it);
        } else {
            ++it;
        }
    }
    return due;
}

std::size_t EmulatedDevice::HeldReplies() const {
    return held_.size();
}
