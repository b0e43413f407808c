#pragma once
// The ".Nddt" preset text format: scrambled lines, masked header, per-line
// masks, line count and checksum. Standard library only: the console and the
// nddt tool share it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Same shape as the console's DeviceImage.
constexpr int PresetModules = 4;
constexpr int PresetSlots = 113;
using PresetImage = int32_t[PresetModules][PresetSlots];

constexpr uint8_t PresetLineKey[8] = {0x3C, 0xA1, 0x5E, 0x07, 0xD2, 0x98, 0x4B, 0xF6};
constexpr int PresetHeaderMask = 0x35;
constexpr int PresetProductId = 0x690E; // the unit's USB product ID
constexpr int PresetDeviceTypeCode = 7;
// Last slot carried for modules 1..3 (one past the last bound slot of 1 and 2).
constexpr int PresetFirstModule = 1;
constexpr int PresetLastModule = 3;
constexpr int PresetSlotBound[PresetModules] = {-1, 65, 67, 1};
constexpr int PresetParamLines = 136;
constexpr int PresetFileLines = PresetParamLines + 4;

// Each character XOR the key byte at its position, as two upper-case hex digits.
std::string ScrambleLine(std::string_view plain);
// Reverse of ScrambleLine; either case; an odd last digit is ignored.
// Empty when a pair is not hexadecimal.
std::optional<std::string> UnscrambleLine(std::string_view line);

// Cuts at every separator; empty pieces are fields too.
std::vector<std::string> SplitText(std::string_view text, char separator);

// Strict decimal integer: optional '-', digits, within 32 bits.
std::optional<int32_t> ParsePresetInt(std::string_view text);

// ((S XOR 65535) + 1) modulo 256, S the wrapped 32-bit sum of the values.
int PresetChecksum(int32_t sum);

// The plain lines a save writes for this image (140 lines).
std::vector<std::string> BuildPresetPlainLines(const PresetImage& image, int variantFlag);
// The file's bytes: every plain line scrambled, each ending in CR LF.
std::string BuildPresetFile(const PresetImage& image, int variantFlag);

// Cuts file text into lines at CR LF, LF or CR; a break at the very end does
// not start another line.
std::vector<std::string> SplitFileLines(std::string_view text);

enum class PresetStatus {
    Ok,
    FormatError, // header product ID or type code wrong, or no header at all
    Corrupted,   // count, checksum, an unreadable line, a key outside the preset's
                 // layout or a value outside 0..65535
};

struct PresetEntry {
    int Module = 0;
    int Slot = 0;
    int32_t Value = 0;
};

struct PresetContents {
    PresetStatus Status = PresetStatus::FormatError;
    std::string VariantToken; // first field of line 0
    int Variant = 1;          // 0 for "T4", 1 otherwise
    // Every parameter line in file order, whether or not a load stores it.
    std::vector<PresetEntry> Entries;
    std::string Detail; // why the file was refused (diagnostics)
    int Line = -1;      // the line it names, counted from 0; -1 for none
};

// Why a file was refused, in words, with the line counted from 1
// ("line count does not match at line 139").
std::string PresetRefusalDetail(const PresetContents& contents);

// Checks a whole file (its raw bytes) without storing anything.
PresetContents CheckPresetFile(std::string_view fileText);

// Checks already unscrambled lines: header, count, every line, checksum.
PresetContents CheckPresetLines(const std::vector<std::string>& plainLines);

// The two header lines: product ID and type code, each XOR the header mask.
bool CheckPresetHeader(const std::vector<std::string>& plainLines);

// Everything after the header, with lastLine the index of the checksum line:
// the count line must hold lastLine - 1, every parameter line must read as two
// numbers whose key is one a save writes and whose value fits 16 bits, and the
// checksum must match.
PresetContents CheckPresetBody(const std::vector<std::string>& plainLines, int lastLine);

// Stores the entries of a checked file into the image. A file of the other
// variant leaves module 2 alone. Returns the number of values stored.
int ApplyPresetEntries(const PresetContents& contents, int variantFlag, PresetImage& image);

// The chosen name with its extension replaced by ".Nddt" unless it is exactly
// that already (x.txt and x become x.Nddt, tune.nddt becomes tune.Nddt).
std::string WithPresetExtension(std::string_view fileName);
