// Reading filter text: refusals name the line.
#include "eq/PeqText.h"
#include "eq/PeqTextParts.h"

#include "params/ParamImage.h"
#include "params/ValueScales.h"

#include <algorithm>
#include <cmath>

using namespace peqtext;

namespace {

constexpr double MinFreq = 10.0;
constexpr double MaxFreq = 22000.0;

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// Plain text: valid UTF-8 without control characters other than blanks.
bool IsText(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            if (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f') return false;
            if (c == 0x7F) return false;
            ++i;
            continue;
        }
        int follow = c >= 0xF0 && c <= 0xF4 ? 3 : c >= 0xE0 ? 2 : c >= 0xC2 && c < 0xE0 ? 1 : -1;
        if (follow < 0 || c > 0xF4) return false;
        if (i + static_cast<std::size_t>(follow) >= s.size()) return false;
        for (int k = 1; k <= follow; ++k)
            if ((static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]) & 0xC0) != 0x80)
                return false;
        i += static_cast<std::size_t>(follow) + 1;
    }
    return true;
}

std::vector<std::string> Words(std::string_view s) {
    std::vector<std::string> out;
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\f' || s[i] == '\r'))
            ++i;
        std::size_t j = i;
        while (j < s.size() && s[j] != ' ' && s[j] != '\t' && s[j] != '\f' && s[j] != '\r')
            ++j;
        if (j > i) out.emplace_back(s.substr(i, j - i));
        i = j;
    }
    return out;
}

// A number with an optional unit stuck to it ("100Hz", "+2.5dB").
bool SplitNumber(const std::string& word, double& value, std::string& unit) {
    std::size_t k = 0;
    while (k < word.size() &&
           (std::string_view("+-.0123456789").find(word[k]) != std::string_view::npos))
        ++k;
    std::string number = word.substr(0, k);
    unit = Lower(word.substr(k));
    if (!number.empty() && number[0] == '+') number.erase(0, 1);
    return ReadNumber(number, value);
}

PeqKind KindOf(const std::string& upper) {
    if (upper == "PK" || upper == "PEQ") return PeqKind::Peak;
    if (upper == "LS" || upper == "LSC" || upper == "LSQ") return PeqKind::LowShelf;
    if (upper == "HS" || upper == "HSC" || upper == "HSQ") return PeqKind::HighShelf;
    if (upper == "HP" || upper == "HPQ") return PeqKind::HighPass;
    if (upper == "LP" || upper == "LPQ") return PeqKind::LowPass;
    return PeqKind::Other;
}

// "LS 6dB": a shelf by its slope, read from w[i] on when it is there.
bool ParseSlope(const std::vector<std::string>& w, std::size_t& i, PeqFilter& f, PeqMessage& err) {
    if (!IsShelf(f.Kind) || i >= w.size()) return true;
    double v = 0;
    std::string unit;
    if (!SplitNumber(w[i], v, unit)) return true;
    if (unit.empty() && i + 1 < w.size() && Lower(w[i + 1]) == "db") {
        unit = "db";
        ++i;
    }
    if (unit != "db") {
        err = Msg("无法识别斜率 '" + w[i] + "'", "cannot read the slope '" + w[i] + "'");
        return false;
    }
    if (v <= 0) {
        err = Msg("斜率必须大于 0", "the slope must be above 0");
        return false;
    }
    f.Slope = v;
    ++i;
    return true;
}

// One "Fc 100 Hz", "Gain -2 dB" or "Q 0.7" from w[i] on; seen lists the keys read before.
bool ParseField(const std::vector<std::string>& w, std::size_t& i, std::string& seen, PeqFilter& f,
                PeqMessage& err, bool& hasFreq) {
    const std::string key = Lower(w[i++]);
    if (key != "fc" && key != "gain" && key != "q") {
        err = Msg("无法识别 '" + w[i - 1] + "'", "unexpected '" + w[i - 1] + "'");
        return false;
    }
    if (seen.find(" " + key + " ") != std::string::npos) {
        err = Msg("'" + w[i - 1] + "' 出现两次", "'" + w[i - 1] + "' given twice");
        return false;
    }
    seen += " " + key + " ";
    double v = 0;
    std::string unit;
    if (i >= w.size() || !SplitNumber(w[i], v, unit)) {
        err = Msg("'" + w[i - 1] + "' 后缺少数值", "no number after '" + w[i - 1] + "'");
        return false;
    }
    ++i;
    // The unit may follow as a word of its own.
    if (unit.empty() && i < w.size()) {
        const std::string next = Lower(w[i]);
        if ((key == "fc" && (next == "hz" || next == "khz")) || (key == "gain" && next == "db")) {
            unit = next;
            ++i;
        }
    }
    if (key == "fc") {
        if (unit != "" && unit != "hz" && unit != "khz") {
            err = Msg("频率单位 '" + unit + "' 无法识别", "unknown frequency unit '" + unit + "'");
            return false;
        }
        f.Freq = unit == "khz" ? v * 1000.0 : v;
        hasFreq = true;
    } else if (key == "gain") {
        if (unit != "" && unit != "db") {
            err = Msg("增益单位 '" + unit + "' 无法识别", "unknown gain unit '" + unit + "'");
            return false;
        }
        f.Gain = v;
        f.HasGain = true;
    } else {
        if (!unit.empty()) {
            err = Msg("Q 值 '" + w[i - 1] + "' 无法识别", "cannot read Q '" + w[i - 1] + "'");
            return false;
        }
        f.Q = v;
        f.HasQ = true;
    }
    return true;
}

// What a read filter must have, once all its words are read.
bool CheckFilter(const PeqFilter& f, bool hasFreq, PeqMessage& err) {
    if (!hasFreq) {
        err = Msg("缺少频率 Fc", "no frequency (Fc)");
        return false;
    }
    if (f.Freq < MinFreq || f.Freq > MaxFreq) {
        err = Msg("频率 " + Num(f.Freq, 1) + " Hz 超出 10 Hz–22 kHz",
                  "frequency " + Num(f.Freq, 1) + " Hz is outside 10 Hz to 22 kHz");
        return false;
    }
    if (HasGainKind(f.Kind) && !f.HasGain) {
        err = Msg("缺少增益 Gain", "no gain");
        return false;
    }
    if (f.Kind == PeqKind::Peak && !f.HasQ) {
        err = Msg("缺少 Q 值", "no Q");
        return false;
    }
    if (f.HasQ && f.Q <= 0) {
        err = Msg("Q 值必须大于 0", "Q must be above 0");
        return false;
    }
    return true;
}

// Reads the words after "Filter N:". Returns false with err set on a refusal;
// a filter of type None (an unused slot) leaves skip set.
bool ParseBody(const std::vector<std::string>& w, PeqFilter& f, PeqMessage& err, bool& skip) {
    std::size_t i = 0;
    skip = false;
    if (i < w.size() && (Lower(w[i]) == "on" || Lower(w[i]) == "off")) {
        f.On = Lower(w[i]) == "on";
        ++i;
    }
    if (i >= w.size()) {
        err = Msg("缺少滤波器类型", "no filter type");
        return false;
    }
    std::string upper = w[i++];
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    f.TypeText = upper;
    if (upper == "NONE") {
        skip = true;
        return true;
    }
    f.Kind = KindOf(upper);
    if (f.Kind == PeqKind::Other) return true; // named in the report, nothing more to read
    if (!ParseSlope(w, i, f, err)) return false;
    bool hasFreq = false;
    std::string seen;
    while (i < w.size())
        if (!ParseField(w, i, seen, f, err, hasFreq)) return false;
    return CheckFilter(f, hasFreq, err);
}

// The rest of a "Preamp" line: an optional ":", then the level with or
// without its "dB".
bool ReadPreamp(std::string_view after, double& v) {
    while (!after.empty() && (after.front() == ' ' || after.front() == '\t'))
        after.remove_prefix(1);
    if (!after.empty() && after.front() == ':') after.remove_prefix(1);
    const std::vector<std::string> pw = Words(after);
    std::string unit;
    return !pw.empty() && SplitNumber(pw[0], v, unit) &&
           ((unit.empty() && (pw.size() == 1 || (pw.size() == 2 && Lower(pw[1]) == "db"))) ||
            (unit == "db" && pw.size() == 1));
}

// "filter 12:" or "filter:" at the start of a lowered line: true with the
// place of its colon; the number (up to five digits) is read either way.
bool FilterHead(std::string_view rest, int& number, std::size_t& colon) {
    if (rest.rfind("filter", 0) != 0) return false;
    std::size_t k = 6;
    while (k < rest.size() && (rest[k] == ' ' || rest[k] == '\t'))
        ++k;
    std::size_t digits = k;
    while (k < rest.size() && rest[k] >= '0' && rest[k] <= '9')
        ++k;
    if (k - digits > 0 && k - digits < 6)
        number = std::stoi(std::string(rest.substr(digits, k - digits)));
    while (k < rest.size() && (rest[k] == ' ' || rest[k] == '\t'))
        ++k;
    if (k >= rest.size() || rest[k] != ':') return false;
    colon = k;
    return true;
}

} // namespace

PeqMessage AtLine(int line, PeqMessage msg) {
    if (line > 0) {
        msg.Zh = "第 " + std::to_string(line) + " 行：" + msg.Zh;
        msg.En = "line " + std::to_string(line) + ": " + msg.En;
    }
    return msg;
}

PeqFile ParsePeqText(std::string_view bytes) {
    PeqFile file;
    auto fail = [&](int line, PeqMessage m) {
        file.ErrorLine = line;
        file.Error = AtLine(line, std::move(m));
        file.Filters.clear();
        return file;
    };
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    if (!IsText(bytes)) return fail(0, Msg("不是文本文件", "not a text file"));

    int lineNo = 0;
    bool anyText = false;
    std::size_t pos = 0;
    while (pos <= bytes.size()) {
        // Lines end in LF, CR LF or a lone CR.
        std::size_t end = bytes.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view line = bytes.substr(pos, end - pos);
        pos =
            end + (end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n' ? 2 : 1);
        ++lineNo;
        if (const std::size_t hash = line.find('#'); hash != std::string_view::npos)
            line = line.substr(0, hash);
        const std::vector<std::string> w = Words(line);
        if (w.empty()) continue;
        anyText = true;
        const std::string lower = Lower(line);
        const std::size_t lead = lower.find_first_not_of(" \t\r\f");
        std::string_view rest = std::string_view(lower).substr(lead);

        if (rest.rfind("preamp", 0) == 0) {
            double v = 0;
            if (!ReadPreamp(line.substr(lead + 6), v))
                return fail(lineNo, Msg("无法读取前级增益", "cannot read the preamp"));
            file.HasPreamp = true;
            file.Preamp = v;
            continue;
        }

        // "Filter 12:", "Filter:", or a bare body that starts with ON/OFF or names Fc.
        std::string_view body;
        bool isFilter = false;
        int number = 0;
        if (std::size_t colon = 0; FilterHead(rest, number, colon)) {
            isFilter = true;
            body = line.substr(lead + colon + 1);
        }
        bool namesFc = false;
        for (const std::string& word : w)
            namesFc = namesFc || Lower(word) == "fc";
        if (!isFilter) {
            const std::string first = Lower(w[0]);
            if (first == "on" || first == "off" || namesFc) {
                if (first != "on" && first != "off")
                    return fail(lineNo, Msg("无法识别的滤波器行", "cannot read this filter line"));
                isFilter = true;
                body = line.substr(lead);
            }
        }
        if (!isFilter) {
            ++file.NoteLines; // a header or a note, as measurement software writes them
            continue;
        }
        PeqFilter f;
        f.Line = lineNo;
        f.Number = number;
        PeqMessage err;
        bool skip = false;
        if (!ParseBody(Words(body), f, err, skip)) return fail(lineNo, err);
        if (!skip) file.Filters.push_back(f);
    }
    if (!anyText) return fail(0, Msg("文件是空的", "the file is empty"));
    if (file.Filters.empty()) return fail(0, Msg("文件中没有滤波器", "the file holds no filters"));
    std::string types;
    for (const PeqFilter& f : file.Filters) {
        if (f.Kind != PeqKind::Other) {
            types.clear();
            break;
        }
        types += (types.empty() ? "" : ", ") + f.TypeText + " (" + std::to_string(f.Line) + ")";
    }
    if (!types.empty()) // nothing to apply; the other bands must not be reset for it
        return fail(0, Msg("文件中没有本机能用的滤波器：" + types,
                           "the file holds no filter the unit has: " + types));
    file.Ok = true;
    return file;
}
