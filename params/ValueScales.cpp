#include "params/ValueScales.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <system_error>
#include <utility>

// Each entry was rounded on its own, so the texts are kept exactly as the
// controls show them (decimals vary inside a table).
// clang-format off
const std::array<const char*, 362> FreqTable = {
    "19.7", "20.1", "20.5", "20.9", "21.3", "21.7", "22.1", "22.5", "23.0", "23.4",
    "23.9", "24.3", "24.8", "25.3", "25.8", "26.3", "26.8", "27.3", "27.8", "28.4",
    "28.9", "29.5", "30.1", "30.7", "31.3", "31.9", "32.5", "33.1", "33.8", "34.4",
    "35.1", "35.8", "36.5", "37.2", "37.9", "38.6", "39.4", "40.1", "40.9", "41.7",
    "42.5", "43.4", "44.2", "45.1", "45.9", "46.8", "47.7", "48.7", "49.6", "50.6",
    "51.6", "52.6", "53.6", "54.6", "55.7", "56.8", "57.9", "59.0", "60.1", "61.3",
    "62.5", "63.7", "65.0", "66.2", "67.5", "68.8", "70.2", "71.5", "72.9", "74.3",
    "75.8", "77.2", "78.7", "80.3", "81.8", "83.4", "85.0", "86.7", "88.4", "90.1",
    "91.9", "94.0", "95.0", "97.0", "99.0", "101.0", "103.0", "105.0", "107.0", "109.0",
    "111.0", "114.0", "116.0", "118.0", "120.0", "123.0", "125.0", "127.0", "130.0", "132.0",
    "135.0", "138.0", "140.0", "143.0", "146.0", "149.0", "152.0", "154.0", "157.0", "161.0",
    "164.0", "167.0", "170.0", "173.0", "177.0", "180.0", "184.0", "187.0", "191.0", "195.0",
    "198.0", "202.0", "206.0", "210.0", "214.0", "218.0", "223.0", "227.0", "231.0", "236.0",
    "241.0", "245.0", "250.0", "255.0", "260.0", "265.0", "270.0", "275.0", "281.0", "286.0",
    "292.0", "297.0", "303.0", "309.0", "315.0", "321.0", "327.0", "334.0", "340.0", "347.0",
    "354.0", "360.0", "367.0", "375.0", "382.0", "389.0", "397.0", "405.0", "412.0", "420.0",
    "429.0", "437.0", "445.0", "454.0", "463.0", "472.0", "481.0", "490.0", "500.0", "510.0",
    "520.0", "530.0", "540.0", "551.0", "561.0", "572.0", "583.0", "595.0", "606.0", "618.0",
    "630.0", "642.0", "655.0", "667.0", "680.0", "694.0", "707.0", "721.0", "735.0", "749.0",
    "764.0", "779.0", "794.0", "809.0", "825.0", "841.0", "857.0", "874.0", "891.0", "908.0",
    "926.0", "944.0", "962.0", "981.0", "1000.0", "1020.0", "1040.0", "1060.0", "1080.0", "1100.0",
    "1120.0", "1140.0", "1170.0", "1190.0", "1210.0", "1240.0", "1260.0", "1280.0", "1310.0", "1330.0",
    "1360.0", "1390.0", "1410.0", "1440.0", "1470.0", "1500.0", "1530.0", "1560.0", "1590.0", "1620.0",
    "1650.0", "1680.0", "1710.0", "1750.0", "1780.0", "1820.0", "1850.0", "1890.0", "1920.0", "1960.0",
    "2000.0", "2040.0", "2080.0", "2120.0", "2160.0", "2200.0", "2240.0", "2290.0", "2330.0", "2380.0",
    "2420.0", "2470.0", "2520.0", "2570.0", "2620.0", "2670.0", "2720.0", "2770.0", "2830.0", "2880.0",
    "2940.0", "3000.0", "3050.0", "3110.0", "3170.0", "3240.0", "3300.0", "3360.0", "3430.0", "3500.0",
    "3560.0", "3630.0", "3700.0", "3780.0", "3850.0", "3920.0", "4000.0", "4080.0", "4160.0", "4240.0",
    "4320.0", "4400.0", "4490.0", "4580.0", "4670.0", "4760.0", "4850.0", "4940.0", "5040.0", "5140.0",
    "5240.0", "5340.0", "5440.0", "5550.0", "5660.0", "5770.0", "5880.0", "5990.0", "6110.0", "6230.0",
    "6350.0", "6470.0", "6600.0", "6730.0", "6860.0", "6990.0", "7130.0", "7270.0", "7410.0", "7550.0",
    "7700.0", "7850.0", "8000.0", "8160.0", "8310.0", "8480.0", "8640.0", "8810.0", "8980.0", "9150.0",
    "9330.0", "9510.0", "9700.0", "9890.0", "10100.0", "10300.0", "10500.0", "10700.0", "10900.0", "11100.0",
    "11300.0", "11500.0", "11800.0", "12000.0", "12200.0", "12500.0", "12700.0", "12900.0", "13200.0", "13500.0",
    "13700.0", "14000.0", "14300.0", "14500.0", "14800.0", "15100.0", "15400.0", "15700.0", "16000.0", "16300.0",
    "16600.0", "17000.0", "17300.0", "17600.0", "18000.0", "18300.0", "18700.0", "19000.0", "19400.0", "19800.0",
    "20200.0", "20600.0",
};

const std::array<const char*, 110> QTable = {
    "0.1", "0.12", "0.15", "0.18", "0.22", "0.25", "0.29", "0.32", "0.36", "0.40",
    "0.42", "0.45", "0.47", "0.50", "0.53", "0.56", "0.59", "0.63", "0.67", "0.71",
    "0.75", "0.79", "0.84", "0.89", "0.94", "1.00", "1.06", "1.12", "1.19", "1.26",
    "1.30", "1.40", "1.50", "1.60", "1.70", "1.80", "1.90", "2.00", "2.10", "2.20",
    "2.40", "2.50", "2.70", "2.80", "3.00", "3.20", "3.40", "3.60", "3.80", "4.00",
    "4.20", "4.50", "4.80", "5.00", "5.30", "5.70", "6.00", "6.30", "6.70", "7.10",
    "7.60", "8.00", "8.50", "9.00", "9.50", "10.10", "10.70", "11.30", "12.00", "12.70",
    "13.50", "14.00", "15.00", "16.00", "17.00", "18.00", "19.00", "20.00", "21.00", "23.00",
    "24.00", "25.00", "27.00", "29.00", "30.00", "32.00", "34.00", "36.00", "38.00", "40.00",
    "43.00", "45.00", "48.00", "51.00", "54.00", "57.00", "60.00", "64.00", "68.00", "72.00",
    "76.00", "81.00", "85.00", "91.00", "96.00", "102.00", "108.00", "114.00", "121.00", "128.00",
};
// clang-format on

const std::array<const char*, 8> ReleaseMultipleTable = {
    "Atk x 2", "Atk x 4", "Atk x 6", "Atk x 8", "Atk x 12", "Atk x 16", "Atk x 24", "Atk x 32",
};

namespace {

// Typed decimal numbers rarely land exactly on a binary tie or on a table
// boundary; differences this small are treated as equal so that the typed
// decimal decides, not the binary noise.
constexpr double TieTolerance = 1e-9;

template <std::size_t N> struct NumericTable {
    std::array<double, N> value{};
    explicit NumericTable(const std::array<const char*, N>& texts) {
        for (std::size_t i = 0; i < N; ++i) {
            double v = 0;
            ReadNumber(texts[i], v);
            value[i] = v;
        }
    }
};

const NumericTable<362>& FreqNumbers() {
    static const NumericTable<362> table(FreqTable);
    return table;
}

const NumericTable<110>& QNumbers() {
    static const NumericTable<110> table(QTable);
    return table;
}

int HoldIndex(int raw, int top) {
    return raw < 0 ? 0 : (raw > top ? top : raw);
}

// Held to lo..hi; a value that is not a number goes to the bottom.
double Hold(double x, double lo, double hi) {
    if (std::isnan(x) || x < lo) return lo;
    return x > hi ? hi : x;
}

// Table index of an already held value.
std::size_t Index(double x) {
    return static_cast<std::size_t>(std::trunc(x));
}

double FreqToRaw(double x) {
    if (std::isnan(x)) return 0;
    const auto& v = FreqNumbers().value;
    constexpr std::size_t last = 361;
    std::size_t i = 0;
    while (i <= last && v[i] < x)
        ++i;
    if (i >= last) return static_cast<double>(last);
    if (i > 0 && x - v[i - 1] <= v[i] - x + TieTolerance) return static_cast<double>(i - 1);
    return static_cast<double>(i);
}

double GainToRaw(double x) {
    const double y = (x + 24.0) * 5.0;
    if (!std::isfinite(y)) return y;
    // A typed tenth such as -23.9 is a tie in decimal but not quite in binary.
    const double half = std::floor(y) + 0.5;
    if (std::fabs(y - half) <= TieTolerance * std::fmax(1.0, std::fabs(y)))
        return RoundHalfEven(half);
    return RoundHalfEven(y);
}

double QToRaw(double x) {
    if (std::isnan(x)) return 0;
    const auto& v = QNumbers().value;
    for (std::size_t i = 0; i < v.size(); ++i)
        if (!(v[i] < x)) return static_cast<double>(i);
    return static_cast<double>(v.size());
}

KindText Text(double x, std::string text) {
    KindText r;
    r.x = x;
    r.text = std::move(text);
    r.hasText = true;
    return r;
}

} // namespace

double FreqValue(int raw) {
    return FreqNumbers().value[static_cast<std::size_t>(HoldIndex(raw, 361))];
}

double QValue(int raw) {
    return QNumbers().value[static_cast<std::size_t>(HoldIndex(raw, 109))];
}

double GainDb(int raw) {
    return raw / 5.0 - 24.0;
}

double RoundHalfEven(double x) {
    if (!std::isfinite(x)) return x;
    const double lower = std::floor(x);
    const double diff = x - lower;
    if (diff < 0.5) return lower;
    if (diff > 0.5) return lower + 1.0;
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

std::string FormatFixed(double value, int decimals) {
    if (decimals < 0) decimals = 0;
    if (!std::isfinite(value)) return std::isnan(value) ? "nan" : (value < 0 ? "-inf" : "inf");

    // Shortest decimal text that reads back as the same double, then rounded
    // in decimal: the number as the user would write it decides the tie.
    char buf[400];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    std::string s(buf, res.ec == std::errc{} ? res.ptr : buf);

    bool negative = false;
    if (!s.empty() && s[0] == '-') {
        negative = true;
        s.erase(0, 1);
    }
    const std::size_t dot = s.find('.');
    std::string intPart = dot == std::string::npos ? s : s.substr(0, dot);
    std::string frac = dot == std::string::npos ? std::string() : s.substr(dot + 1);
    if (intPart.empty()) intPart = "0";

    const auto keep = static_cast<std::size_t>(decimals);
    std::string digits = intPart + frac.substr(0, std::min(keep, frac.size()));
    if (frac.size() < keep) digits.append(keep - frac.size(), '0');

    if (frac.size() > keep) {
        const char next = frac[keep];
        bool restNonZero = false;
        for (std::size_t k = keep + 1; k < frac.size(); ++k)
            restNonZero = restNonZero || frac[k] != '0';
        const bool lastOdd = ((digits.back() - '0') % 2) != 0;
        if (next > '5' || (next == '5' && (restNonZero || lastOdd))) {
            std::size_t k = digits.size();
            while (k > 0) {
                --k;
                if (digits[k] == '9') {
                    digits[k] = '0';
                } else {
                    ++digits[k];
                    break;
                }
                if (k == 0) digits.insert(digits.begin(), '1');
            }
        }
    }

    const std::size_t intLen = digits.size() - keep;
    std::string out = digits.substr(0, intLen);
    if (keep > 0) out += "." + digits.substr(intLen);
    if (negative && out.find_first_not_of("0.") != std::string::npos) out.insert(out.begin(), '-');
    return out;
}

std::string StripToNumber(const std::string& text) {
    std::string out;
    for (const char c : text)
        if (c == '-' || c == '.' || (c >= '0' && c <= '9')) out += c;
    return out;
}

bool HasKiloSuffix(const std::string& text) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    std::size_t end = text.size();
    auto skipBlanks = [&] {
        while (end > 0 && text[end - 1] == ' ') --end;
    };
    skipBlanks();
    if (end >= 2 && lower(text[end - 2]) == 'h' && lower(text[end - 1]) == 'z') {
        end -= 2;
        skipBlanks();
    }
    if (end == 0 || lower(text[end - 1]) != 'k') return false;
    --end;
    skipBlanks();
    return end > 0 && ((text[end - 1] >= '0' && text[end - 1] <= '9') || text[end - 1] == '.');
}

bool ReadNumber(const std::string& text, double& out) {
    // Exactly: optional '-', digits, optional '.' and digits, at least one
    // digit in all. Nothing else (no exponent, no "inf", no blanks).
    std::size_t k = 0;
    const std::size_t n = text.size();
    if (k < n && text[k] == '-') ++k;
    std::size_t digitCount = 0;
    bool seenDot = false;
    for (std::size_t j = k; j < n; ++j) {
        const char c = text[j];
        if (c >= '0' && c <= '9') {
            ++digitCount;
        } else if (c == '.' && !seenDot) {
            seenDot = true;
        } else {
            return false;
        }
    }
    if (digitCount == 0) return false;

    // from_chars does not take a lone leading '.' after the sign in every
    // library version; give it a leading zero.
    std::string body = text.substr(k);
    if (body[0] == '.') body.insert(body.begin(), '0');
    double v = 0;
    const auto res = std::from_chars(body.data(), body.data() + body.size(), v);
    if (res.ec != std::errc{} || res.ptr != body.data() + body.size()) return false;
    out = k > 0 ? -v : v;
    return true;
}

double TextToRaw(int kind, double x) {
    switch (kind) {
    case 2:
        return FreqToRaw(x);
    case 3:
        return GainToRaw(x);
    case 4:
        return QToRaw(x);
    default:
        return x;
    }
}

KindText ApplyKind(int kind, double x, ValueSource source, int limit) {
    switch (kind % 256) {
    case 2: {
        const double h = Hold(x, 0, 361);
        return Text(h, FreqTable[Index(h)]);
    }
    case 3: {
        const double h = source == UserChange ? Hold(x, 0, 180) : x;
        return Text(h, FormatFixed(h / 5.0 - 24.0, 1) + "dB");
    }
    case 4: {
        // DisplayOnly: the caller has already lowered the image value; the
        // bottom is still held so a corrupt image cannot index outside.
        const int top = source == UserChange ? HoldIndex(limit, 109) : 109;
        const double h = Hold(x, 0, top);
        return Text(h, QTable[Index(h)]);
    }
    case 12: {
        const double h = Hold(x, 0, 400);
        return Text(h, FormatFixed(h, 0));
    }
    case 16: {
        const double h = Hold(x, 0, 7);
        return Text(h, ReleaseMultipleTable[Index(h)]);
    }
    case 17: {
        const double h = Hold(x, 0, 100);
        return Text(h, FormatFixed(std::trunc(h), 1) + "ms");
    }
    case 18: {
        const double h = Hold(x, 0, 150);
        return Text(h, FormatFixed(h / 10.0, 1) + "ms");
    }
    case 20: {
        const double h = Hold(x, 0, 6);
        return Text(h, FormatFixed(3.0 * h - 9.0, 0) + "dB");
    }
    case 35: {
        double h = Hold(x, 0, 48);
        // Never above the cut-off level; a cut-off outside 0..48 is held too.
        const double cutOff = Hold(static_cast<double>(limit), 0, 48);
        if (h > cutOff) h = cutOff;
        return Text(h, FormatFixed(h - 36.0, 0) + "dBu");
    }
    case 36: {
        const double h = Hold(x, 0, 48);
        return Text(h, FormatFixed(h - 30.0, 0) + "dBu");
    }
    default: {
        KindText r;
        r.x = x;
        return r;
    }
    }
}
