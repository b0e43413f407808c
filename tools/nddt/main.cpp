// nddt: decode, encode and check preset files with the console's own codec.

#include "eq/CurveSlotsCore.h"
#include "presets/PresetCodec.h"
#include "tools/nddt/PeqCommand.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr const char* Usage =
    "usage:\n"
    "  nddt decode FILE             check FILE as the console's loader does and print\n"
    "                               one line MODULE SLOT VALUE per parameter line\n"
    "  nddt decode --variant FILE   print only the variant token of the file (T4 or T6)\n"
    "  nddt encode [--variant T4|T6] < LISTING > FILE\n"
    "                               read MODULE SLOT VALUE lines and write the file the\n"
    "                               console would save for that image (default T4);\n"
    "                               slots not given are written as 0\n"
    "  nddt response FILE [--module 1|2]\n"
    "                               check FILE as decode does and print the summed EQ\n"
    "                               response the console draws for that module (default 1):\n"
    "                               463 lines PIXEL FREQ DB, one per logical pixel 0..462\n"
    "  nddt peq import|export ...   parametric EQ text, see nddt peq --help\n"
    "  nddt --help                  this text\n"
    "\n"
    "A bad file prints the console's message to stderr and exits with 1.\n";

int UsageError(const std::string& what) {
    std::cerr << "nddt: " << what << "\n" << Usage;
    return 2;
}

int Fail(const std::string& message) {
    std::cerr << message << "\n";
    return 1;
}

// The file's bytes, or nothing when it cannot be read.
std::optional<std::string> ReadFile(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
}

// The English texts of the console's load messages.
const char* MessageOf(PresetStatus status) {
    return status == PresetStatus::FormatError ? "File format error!" : "Data file is corrupted!";
}

// Reads and checks a file; on failure prints the message and sets the exit code.
std::optional<PresetContents> LoadChecked(const std::string& path, int& exitCode) {
    const std::optional<std::string> bytes = ReadFile(path);
    if (!bytes) {
        exitCode = Fail("File not find!");
        return std::nullopt;
    }
    PresetContents contents = CheckPresetFile(*bytes);
    if (contents.Status != PresetStatus::Ok) {
        exitCode = Fail(MessageOf(contents.Status));
        return std::nullopt;
    }
    return contents;
}

int Decode(const std::vector<std::string>& args) {
    bool variantOnly = false;
    std::optional<std::string> path;
    for (const std::string& a : args) {
        if (a == "--variant")
            variantOnly = true;
        else if (!path && (a.empty() || a[0] != '-' || a == "-"))
            path = a;
        else
            return UsageError("decode: unexpected argument '" + a + "'");
    }
    if (!path) return UsageError("decode: no file given");
    int exitCode = 0;
    const auto contents = LoadChecked(*path, exitCode);
    if (!contents) return exitCode;
    std::string out;
    if (variantOnly) {
        out = contents->VariantToken + "\n";
    } else {
        for (const PresetEntry& e : contents->Entries)
            out += std::to_string(e.Module) + " " + std::to_string(e.Slot) + " " +
                   std::to_string(e.Value) + "\n";
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

int Encode(const std::vector<std::string>& args) {
    int variantFlag = 0;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--variant" && i + 1 < args.size()) {
            const std::string& v = args[++i];
            if (v == "T4")
                variantFlag = 0;
            else if (v == "T6")
                variantFlag = 1;
            else
                return UsageError("encode: the variant is T4 or T6, not '" + v + "'");
        } else {
            return UsageError("encode: unexpected argument '" + args[i] + "'");
        }
    }

    static PresetImage image{};
    bool given[PresetModules][PresetSlots]{};
    std::string line;
    int lineNo = 0;
    while (std::getline(std::cin, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream fields(line);
        std::vector<std::string> words;
        for (std::string w; fields >> w;)
            words.push_back(w);
        if (words.empty()) continue;
        const std::string where = "line " + std::to_string(lineNo) + ": ";
        if (words.size() != 3) return Fail(where + "expected MODULE SLOT VALUE");
        const auto m = ParsePresetInt(words[0]);
        const auto s = ParsePresetInt(words[1]);
        const auto v = ParsePresetInt(words[2]);
        if (!m || !s || !v)
            return Fail(where + "MODULE, SLOT and VALUE must be decimal 32-bit integers");
        if (*m < PresetFirstModule || *m > PresetLastModule || *s < 0 || *s > PresetSlotBound[*m])
            return Fail(where + "module " + words[0] + " slot " + words[1] +
                        " is not saved in a preset (modules 1 to 3, slots 0 to 65, 67, 1)");
        if (given[*m][*s])
            return Fail(where + "module " + words[0] + " slot " + words[1] + " given twice");
        given[*m][*s] = true;
        image[*m][*s] = *v;
    }
    if (std::cin.bad()) return Fail("encode: cannot read the listing");
    // Written in one piece once everything has been read and checked.
    const std::string file = BuildPresetFile(image, variantFlag);
    std::fwrite(file.data(), 1, file.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

int Response(const std::vector<std::string>& args) {
    int module = 1;
    std::optional<std::string> path;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--module" && i + 1 < args.size()) {
            const std::string& v = args[++i];
            if (v == "1")
                module = 1;
            else if (v == "2")
                module = 2;
            else
                return UsageError("response: the module is 1 or 2, not '" + v + "'");
        } else if (!path && (args[i].empty() || args[i][0] != '-')) {
            path = args[i];
        } else {
            return UsageError("response: unexpected argument '" + args[i] + "'");
        }
    }
    if (!path) return UsageError("response: no file given");
    int exitCode = 0;
    const auto contents = LoadChecked(*path, exitCode);
    if (!contents) return exitCode;

    // The file's own values, whatever the variant of the unit it came from.
    static PresetImage image{};
    ApplyPresetEntries(*contents, contents->Variant, image);
    const RawParam raw = [](int m, int i) -> int32_t {
        return m >= 0 && m < PresetModules && i >= 0 && i < PresetSlots ? image[m][i] : 0;
    };
    const int m = module;
    CurveSlot slots[CurveSlotCount];
    const int last = CollectImageSlots(module, raw, CrossoverItem(m, raw(m, m == 1 ? 13 : 29)),
                                       CrossoverItem(m, raw(m, m == 1 ? 16 : 31)), slots);
    float sum[CurvePoints];
    SumSlotResponses(slots, last, sum);

    std::string out;
    char line[64];
    for (int x = 0; x < CurvePoints; ++x) {
        // printf keeps the C locale here: the point is always the separator.
        double db = static_cast<double>(sum[x]);
        if (db > -0.0005 && db < 0.0005) db = 0; // no "-0.000"
        std::snprintf(line, sizeof line, "%d %.2f %.3f\n", x, PixelToFreq(x), db);
        out += line;
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return UsageError("no command given");
    const std::string command = args.front();
    args.erase(args.begin());
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << Usage;
        return 0;
    }
    if (command == "decode") return Decode(args);
    if (command == "encode") return Encode(args);
    if (command == "response") return Response(args);
    if (command == "peq") return PeqCommand(args);
    return UsageError("unknown command '" + command + "'");
}
