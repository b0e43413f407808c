#pragma once
// Wire format of the device link: command frames, bulk packets, the start
// sign and the reply view. Pure, standard library only.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

constexpr uint8_t FrameHead = 0x01, DeviceId = 0x57, StartReportId = 0x02, DeviceTypeCode = 7,
                  WriteMode = 0xA7, ReadMode = 0xA0, BluetoothAddress = 54, BulkAddress = 56,
                  ReadAddress = 57, SignalAddress = 58, StatusAddress = 255;
constexpr int FrameSize = 30;

using Report = std::array<uint8_t, FrameSize>;
using LinkMaskBytes = std::array<uint8_t, 6>;

// Bytes from hour, minute, second, millisecond, millisecond, millisecond; each low 8 bits
// XOR DeviceId.
LinkMaskBytes MakeLinkMask(int hour, int minute, int second, int millisecond);

// Low byte of the negated sum.
uint8_t FrameChecksum(const uint8_t* bytes, std::size_t count);

// XOR bytes 2..7 with the mask (the same call unmasks).
void MaskReport(Report& r, const LinkMaskBytes& mask);

// Command frame: fills TxBuffer bytes 0..7 and 29 (bytes 8..28 keep what TxBuffer
// held), returns the MASKED report; *history gets the "WW %.2x  ..." line.
Report BuildCommand(Report& TxBuffer, int WRMode, int ControlModule, int HighLowByte,
                    const LinkMaskBytes& mask, std::string* history);

// Bulk packet: payload = TxBuffer bytes 0..22 (bytes 6..28 of the report), returns
// the MASKED report; *history gets the "W %.2x  ..." line.
Report BuildBulk(const Report& TxBuffer, int WRMode, int ControlModule, int DataSize,
                 const LinkMaskBytes& mask, std::string* history);

// 02 mode data 07 mask[6] check[6] zeros.
Report BuildStartSign(uint8_t mode, uint8_t iDatabyte, const LinkMaskBytes& mask);

// "01 57 ..." upper-case, single blanks.
std::string HexText(const uint8_t* bytes, std::size_t count);

// Reply view: device id, length byte, address bytes, code; ok=false when shorter
// than 8 bytes.
struct ReplyView {
    bool ok;
    uint8_t deviceId, length, addrHigh, addrLow;
    uint16_t code;
    uint8_t expectedChecksum, receivedChecksum;
};
ReplyView ViewReply(const uint8_t* frame, std::size_t size);

// Values reply (address field ReadAddress): byte 6 module, byte 7 start index,
// count = (length byte - 6) / 2 values from byte 8, two bytes each, high byte
// first. ok=false (rejected whole) when the module is above lastModule or the
// values would run into the checksum byte or past the frame.
struct ValuesView {
    bool ok;
    int module, start, count;
};
ValuesView ViewValues(const uint8_t* frame, std::size_t size, int lastModule);
// Value j of an accepted values reply.
inline int ValueAt(const uint8_t* frame, int j) {
    return frame[8 + 2 * j] * 256 + frame[9 + 2 * j];
}

// Levels (bytes 8, 9) and volume (bytes 17, 18) of a status reply with levels;
// a shorter report carries none of them.
struct StatusLevelsView {
    bool hasLevels;
    uint8_t left, right;
    bool hasVolume;
    int volume;
};
StatusLevelsView ViewStatusLevels(const uint8_t* frame, std::size_t size);

// Meter level of a level byte: 20 log10(byte / 255) + 48, truncated, with 0 and 1
// raised to 1 and 47 or more made 48; silence gives -22.
int MeterLevel(uint8_t byte);
