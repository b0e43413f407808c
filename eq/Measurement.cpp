#include "eq/Measurement.h"

#include "presets/RegularFile.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <cmath>
#include <numbers>

namespace {

PeqMessage Msg(std::string zh, std::string en) {
    return {std::move(zh), std::move(en)};
}

PeqMessage TooLarge() {
    return Msg("文件太大（上限 4 MiB）", "the file is larger than 4 MiB");
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// A field as a number: decimal with '.', an exponent allowed, finite only.
bool Number(std::string_view s, double& out) {
    s = Trim(s);
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"') s = s.substr(1, s.size() - 2);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty() || s.size() > 64) return false;
    const char* end = s.data() + s.size();
    const auto r = std::from_chars(s.data(), end, out, std::chars_format::general);
    return r.ec == std::errc() && r.ptr == end && std::isfinite(out);
}

std::vector<std::string_view> Split(std::string_view line, bool csv) {
    std::vector<std::string_view> fields;
    if (csv) {
        std::size_t pos = 0;
        while (true) {
            const std::size_t comma = line.find(',', pos);
            fields.push_back(Trim(line.substr(pos, comma - pos)));
            if (comma == std::string_view::npos) break;
            pos = comma + 1;
        }
        return fields;
    }
    std::size_t pos = 0;
    while (pos < line.size()) {
        pos = line.find_first_not_of(" \t,", pos);
        if (pos == std::string_view::npos) break;
        const std::size_t end = std::min(line.find_first_of(" \t,", pos), line.size());
        fields.push_back(line.substr(pos, end - pos));
        pos = end;
    }
    return fields;
}

// "Freq(Hz)" and "frequency" alike: the leading letters, lower case.
std::string ColumnKey(std::string_view field) {
    std::string key;
    for (char c : field) {
        if (c == '"' && key.empty()) continue;
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c < 'a' || c > 'z') break;
        key += c;
    }
    return key;
}

bool OneOf(const std::string& key, std::initializer_list<const char*> names) {
    return std::any_of(names.begin(), names.end(), [&](const char* n) { return key == n; });
}

std::string Short(std::string_view s) {
    return std::string(s.substr(0, 24)) + (s.size() > 24 ? "…" : "");
}

} // namespace

Measurement ParseMeasurement(std::string_view bytes) {
    Measurement m;
    auto fail = [&](int line, PeqMessage msg) {
        m.ErrorLine = line;
        m.Error = AtLine(line, std::move(msg));
        m.Freq.clear();
        m.Db.clear();
        m.Ok = false;
        return m;
    };
    if (bytes.size() > MaxMeasurementBytes)
        return fail(0, TooLarge());
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);

    int colF = 0, colL = 1;
    bool csv = false, header = false;
    int rows = 0, lineNo = 0;
    double prevF = 0;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        // Lines end in LF, CR LF or a lone CR.
        std::size_t end = bytes.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = bytes.size();
        const std::string_view raw = bytes.substr(pos, end - pos);
        pos = end + (end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n' ? 2 : 1);
        ++lineNo;
        for (unsigned char c : raw)
            if ((c < 0x20 && c != '\t') || c == 0x7F)
                return fail(lineNo, Msg("不是文本（含控制字符）", "not text (control characters)"));
        const std::string_view line = Trim(raw);
        if (line.empty() || line.front() == '*' || line.front() == '#') continue;

        double f = 0, db = 0;
        if (rows == 0 && !header) {
            std::vector<std::string_view> fields = Split(line, false);
            if (fields.empty()) continue; // separators alone
            if (!Number(fields.front(), f)) {
                // A header: the columns are found by name.
                csv = line.find(',') != std::string_view::npos;
                fields = Split(line, csv);
                colF = colL = -1;
                for (int i = 0; i < static_cast<int>(fields.size()); ++i) {
                    const std::string key = ColumnKey(fields[static_cast<std::size_t>(i)]);
                    if (colF < 0 && OneOf(key, {"frequency", "freq", "hz"}))
                        colF = i;
                    else if (colL < 0 &&
                             OneOf(key, {"raw", "spl", "db", "magnitude", "gain", "level"}))
                        colL = i;
                }
                if (colF < 0)
                    return fail(lineNo, Msg("表头没有频率列（frequency、freq、hz）",
                                            "the header names no frequency column "
                                            "(frequency, freq, hz)"));
                if (colL < 0)
                    return fail(lineNo,
                                Msg("表头没有电平列（raw、spl、db、magnitude、gain、level）",
                                    "the header names no level column "
                                    "(raw, spl, db, magnitude, gain, level)"));
                header = true;
                continue;
            }
        }
        const std::vector<std::string_view> fields = Split(line, csv);
        if (static_cast<int>(fields.size()) <= std::max(colF, colL))
            return fail(lineNo, Msg("缺少频率或电平", "expected a frequency and a level"));
        const std::string_view fText = fields[static_cast<std::size_t>(colF)];
        const std::string_view lText = fields[static_cast<std::size_t>(colL)];
        if (!Number(fText, f))
            return fail(lineNo, Msg("“" + Short(fText) + "”不是数字",
                                    "'" + Short(fText) + "' is not a number"));
        if (!Number(lText, db))
            return fail(lineNo, Msg("“" + Short(lText) + "”不是数字",
                                    "'" + Short(lText) + "' is not a number"));
        if (f <= 0) return fail(lineNo, Msg("频率必须大于 0", "the frequency must be above 0"));
        if (rows > 0 && f <= prevF)
            return fail(lineNo, Msg("频率没有高于上一行", "the frequency is not above the previous row's"));
        if (std::fabs(db) > 500)
            return fail(lineNo, Msg("电平超出 ±500 dB", "the level is beyond ±500 dB"));
        prevF = f;
        ++rows;
        if (f >= MeasureLowHz && f <= MeasureHighHz) {
            m.Freq.push_back(f);
            m.Db.push_back(db);
        }
    }
    if (rows == 0 && !header && lineNo == 0) return fail(0, Msg("文件是空的", "the file is empty"));
    if (static_cast<int>(m.Freq.size()) < MinMeasurePoints) {
        const std::string n = std::to_string(m.Freq.size());
        return fail(0, Msg("10 Hz 至 24 kHz 之间只有 " + n + " 个点，至少要 20 个",
                           "only " + n + " points between 10 Hz and 24 kHz; at least 20 are needed"));
    }
    m.Ok = true;
    return m;
}

double MeasurementAt(const Measurement& m, double f) {
    if (m.Freq.empty()) return 0;
    if (f <= m.Freq.front()) return m.Db.front();
    if (f >= m.Freq.back()) return m.Db.back();
    const auto it = std::upper_bound(m.Freq.begin(), m.Freq.end(), f);
    const std::size_t i = static_cast<std::size_t>(it - m.Freq.begin());
    const double f0 = m.Freq[i - 1], f1 = m.Freq[i];
    const double t = std::log(f / f0) / std::log(f1 / f0);
    return m.Db[i - 1] + t * (m.Db[i] - m.Db[i - 1]);
}

double TargetAt(const TargetCurve& t, double f) {
    switch (t.Kind) {
    case TargetCurve::File:
        return MeasurementAt(t.Points, f);
    case TargetCurve::House: {
        double db = 0;
        const double full = t.Corner / 4;
        if (f <= full) {
            db += t.Rise;
        } else if (f < t.Corner) {
            const double x = std::log(f / full) / std::log(4.0);
            db += t.Rise * (1 + std::cos(std::numbers::pi * x)) / 2;
        }
        if (f > 1000) db += t.Tilt * std::log10(f / 1000);
        return db;
    }
    default:
        return 0;
    }
}

bool ParseTargetSpec(const std::string& text, TargetCurve& out, std::string& why) {
    if (text == "flat") {
        out = TargetCurve{};
        return true;
    }
    const std::string prefix = "house:";
    if (text.rfind(prefix, 0) != 0) {
        why = "the target is flat, house:R,F,T or a file";
        return false;
    }
    const std::vector<std::string_view> parts =
        Split(std::string_view(text).substr(prefix.size()), true);
    double v[3];
    if (parts.size() != 3 || !Number(parts[0], v[0]) || !Number(parts[1], v[1]) ||
        !Number(parts[2], v[2])) {
        why = "house:R,F,T takes three numbers (dB, Hz, dB per decade)";
        return false;
    }
    if (std::fabs(v[0]) > 20 || v[1] < 20 || v[1] > 1000 || std::fabs(v[2]) > 20) {
        why = "house:R,F,T wants |R| and |T| at most 20 dB and F from 20 to 1000 Hz";
        return false;
    }
    out = TargetCurve{};
    out.Kind = TargetCurve::House;
    out.Rise = v[0];
    out.Corner = v[1];
    out.Tilt = v[2];
    return true;
}

Measurement ReadMeasurementFile(const std::string& path) {
    std::string bytes, why;
    if (ReadRegularFile(path, MaxMeasurementBytes, bytes, why)) return ParseMeasurement(bytes);
    Measurement m;
    if (why == TooLargeReason(MaxMeasurementBytes))
        m.Error = TooLarge();
    else if (why == "not a regular file")
        m.Error = Msg("不是普通文件", why);
    else if (why == std::strerror(EISDIR))
        m.Error = Msg("是一个目录", why);
    else
        m.Error = {"无法读取（" + why + "）", why};
    return m;
}
