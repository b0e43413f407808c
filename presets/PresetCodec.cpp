#include "presets/PresetCodec.h"

#include <charconv>

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Second field of a line cut at blanks, read as an integer.
std::optional<int32_t> SecondNumber(const std::string& line) {
    const std::vector<std::string> fields = SplitText(line, ' ');
    if (fields.size() < 2) return std::nullopt;
    return ParsePresetInt(fields[1]);
}

void Refuse(PresetContents& out, const char* what, std::size_t line) {
    out.Detail = what;
    out.Line = static_cast<int>(line);
}

bool InPresetLayout(int32_t key) {
    if (key < 0) return false;
    const int module = key / 256;
    const int slot = key % 256;
    return module >= PresetFirstModule && module <= PresetLastModule &&
           slot <= PresetSlotBound[module];
}

} // namespace

std::string ScrambleLine(std::string_view plain) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(plain.size() * 2);
    for (std::size_t j = 0; j < plain.size(); ++j) {
        const auto b = static_cast<uint8_t>(static_cast<uint8_t>(plain[j]) ^ PresetLineKey[j % 8]);
        out.push_back(digits[b >> 4]);
        out.push_back(digits[b & 0x0F]);
    }
    return out;
}

std::optional<std::string> UnscrambleLine(std::string_view line) {
    std::string out;
    out.reserve(line.size() / 2);
    for (std::size_t j = 0; 2 * j + 1 < line.size(); ++j) {
        const int hi = HexDigit(line[2 * j]);
        const int lo = HexDigit(line[2 * j + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        out.push_back(static_cast<char>((hi << 4 | lo) ^ PresetLineKey[j % 8]));
    }
    return out;
}

std::vector<std::string> SplitText(std::string_view text, char separator) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = text.find(separator, start);
        if (at == std::string_view::npos) {
            fields.emplace_back(text.substr(start));
            return fields;
        }
        fields.emplace_back(text.substr(start, at - start));
        start = at + 1;
    }
}

std::optional<int32_t> ParsePresetInt(std::string_view text) {
    std::size_t digitsAt = (!text.empty() && text[0] == '-') ? 1 : 0;
    if (digitsAt == text.size()) return std::nullopt;
    for (std::size_t i = digitsAt; i < text.size(); ++i)
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
    int32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

int PresetChecksum(int32_t sum) {
    // Unsigned arithmetic: the sum may be any 32-bit pattern.
    const uint32_t c = (static_cast<uint32_t>(sum) ^ 65535u) + 1u;
    return static_cast<int>(c & 0xFFu);
}

std::vector<std::string> BuildPresetPlainLines(const PresetImage& image, int variantFlag) {
    std::vector<std::string> lines;
    lines.reserve(PresetFileLines);
    lines.push_back(std::string(variantFlag == 0 ? "T4" : "T6") + " " +
                    std::to_string(PresetProductId ^ PresetHeaderMask));
    lines.push_back("Vexol " + std::to_string(PresetDeviceTypeCode ^ PresetHeaderMask));
    int32_t l = 1;
    uint32_t sum = 0;
    for (int m = PresetFirstModule; m <= PresetLastModule; ++m) {
        for (int s = 0; s <= PresetSlotBound[m]; ++s) {
            ++l;
            const int32_t value = image[m][s];
            lines.push_back(std::to_string((m * 256 + s) ^ l) + " " + std::to_string(value ^ l));
            sum += static_cast<uint32_t>(value);
        }
    }
    ++l;
    lines.push_back("Intoal: " + std::to_string(l));
    lines.push_back("CCCCK: " + std::to_string(PresetChecksum(static_cast<int32_t>(sum))));
    return lines;
}

std::string BuildPresetFile(const PresetImage& image, int variantFlag) {
    std::string out;
    for (const std::string& line : BuildPresetPlainLines(image, variantFlag)) {
        out += ScrambleLine(line);
        out += "\r\n";
    }
    return out;
}

std::vector<std::string> SplitFileLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.emplace_back(text.substr(start, i - start));
            i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

bool CheckPresetHeader(const std::vector<std::string>& plainLines) {
    if (plainLines.size() < 2) return false;
    const auto product = SecondNumber(plainLines[0]);
    const auto type = SecondNumber(plainLines[1]);
    return product && type && (*product ^ PresetHeaderMask) == PresetProductId &&
           (*type ^ PresetHeaderMask) == PresetDeviceTypeCode;
}

PresetContents CheckPresetBody(const std::vector<std::string>& plainLines, int lastLine) {
    PresetContents out;
    out.Status = PresetStatus::Corrupted;
    if (plainLines.empty()) {
        out.Detail = "no lines";
        return out;
    }
    out.VariantToken = SplitText(plainLines[0], ' ')[0];
    out.Variant = out.VariantToken == "T4" ? 0 : 1;
    // The count line and the checksum line come after the two header lines.
    if (lastLine < 3 || static_cast<std::size_t>(lastLine) >= plainLines.size()) {
        out.Detail = "too few lines";
        return out;
    }
    const auto count = SecondNumber(plainLines[static_cast<std::size_t>(lastLine - 1)]);
    const auto stored = SecondNumber(plainLines[static_cast<std::size_t>(lastLine)]);
    if (!count || *count != lastLine - 1) {
        Refuse(out, "line count does not match", static_cast<std::size_t>(lastLine - 1));
        return out;
    }
    if (!stored) {
        Refuse(out, "unreadable checksum", static_cast<std::size_t>(lastLine));
        return out;
    }
    uint32_t sum = 0;
    for (int c = 2; c <= lastLine - 2; ++c) {
        const auto line = static_cast<std::size_t>(c);
        const std::vector<std::string> fields = SplitText(plainLines[line], ' ');
        if (fields.size() < 2) {
            Refuse(out, "unreadable parameter line", line);
            return out;
        }
        const auto k = ParsePresetInt(fields[0]);
        const auto v = ParsePresetInt(fields[1]);
        if (!k || !v) {
            Refuse(out, "unreadable parameter line", line);
            return out;
        }
        const int32_t key = *k ^ c;
        const int32_t value = *v ^ c;
        // Only the slots a save writes: any other key has no slot in the unit
        // that a preset may set.
        if (!InPresetLayout(key)) {
            Refuse(out, "parameter outside the preset's layout", line);
            return out;
        }
        // The unit keeps 16-bit values: anything else would reach it cut.
        if (value < 0 || value > 65535) {
            Refuse(out, "value outside 0 to 65535", line);
            return out;
        }
        out.Entries.push_back({key / 256, key % 256, value});
        sum += static_cast<uint32_t>(value);
    }
    if (PresetChecksum(static_cast<int32_t>(sum)) != *stored) {
        out.Detail = "checksum does not match";
        return out;
    }
    out.Status = PresetStatus::Ok;
    return out;
}

PresetContents CheckPresetLines(const std::vector<std::string>& plainLines) {
    if (!CheckPresetHeader(plainLines)) {
        PresetContents out;
        out.Status = PresetStatus::FormatError;
        out.Detail = "header does not match";
        return out;
    }
    return CheckPresetBody(plainLines, static_cast<int>(plainLines.size()) - 1);
}

PresetContents CheckPresetFile(std::string_view fileText) {
    const std::vector<std::string> fileLines = SplitFileLines(fileText);
    std::vector<std::string> plain;
    plain.reserve(fileLines.size());
    std::optional<std::size_t> firstBad;
    for (std::size_t i = 0; i < fileLines.size(); ++i) {
        std::optional<std::string> line = UnscrambleLine(fileLines[i]);
        if (!line && !firstBad) firstBad = i;
        plain.push_back(line ? std::move(*line) : std::string());
    }
    // The header decides whether this is a preset at all; damage after it
    // makes the file corrupted.
    if (!firstBad || *firstBad >= 2) {
        if (!CheckPresetHeader(plain)) {
            PresetContents out;
            out.Detail = "header does not match";
            return out;
        }
    }
    if (firstBad) {
        PresetContents out;
        out.Status = *firstBad < 2 ? PresetStatus::FormatError : PresetStatus::Corrupted;
        Refuse(out, "not hexadecimal", *firstBad);
        return out;
    }
    return CheckPresetBody(plain, static_cast<int>(plain.size()) - 1);
}

int ApplyPresetEntries(const PresetContents& contents, int variantFlag, PresetImage& image) {
    if (contents.Status != PresetStatus::Ok) return 0;
    int stored = 0;
    for (const PresetEntry& e : contents.Entries) {
        if (contents.Variant != variantFlag && e.Module == 2) continue;
        image[e.Module][e.Slot] = e.Value;
        ++stored;
    }
    return stored;
}

std::string WithPresetExtension(std::string_view fileName) {
    const std::size_t slash = fileName.find_last_of('/');
    const std::size_t nameAt = slash == std::string_view::npos ? 0 : slash + 1;
    const std::size_t dot = fileName.find_last_of('.');
    const bool hasExt = dot != std::string_view::npos && dot >= nameAt;
    if (hasExt && fileName.substr(dot) == ".Nddt") return std::string(fileName);
    return std::string(fileName.substr(0, hasExt ? dot : fileName.size())) + ".Nddt";
}

std::string PresetRefusalDetail(const PresetContents& contents) {
    if (contents.Line < 0) return contents.Detail;
    // Lines are counted from 0 in the format, from 1 by people.
    return contents.Detail + " at line " + std::to_string(contents.Line + 1);
}
