// nddt: decode, encode and check preset files with the console's own codec.

#include "eq/CurveSlotsCore.h"
#include "params/ParamCatalog.h"
#include "presets/PresetCodec.h"
#include "presets/PresetRanges.h"
#include "presets/RegularFile.h"
#include "tools/nddt/CommandLine.h"
#include "tools/nddt/DiffCommand.h"
#include "tools/nddt/FileIo.h"
#include "tools/nddt/FitCommand.h"
#include "tools/nddt/PeqCommand.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr const char* DecodeUsage =
    "usage: nddt decode [--variant] [--names] FILE\n"
    "  Checks FILE as the console's loader does and prints one line\n"
    "  MODULE SLOT VALUE per parameter line. With --names each line ends in the\n"
    "  parameter's key as well (MODULE SLOT VALUE KEY, e.g. '1 26 204 band2.freq';\n"
    "  mM.N for a slot the unit owns). With --variant it prints only the variant\n"
    "  token of the file (T4 or T6). FILE - is standard input. Values that fit a\n"
    "  slot but lie outside what the parameter can be set to are listed by name\n"
    "  on standard error (the console asks before it writes them to a unit).\n";
constexpr const char* EncodeUsage =
    "usage: nddt encode [--variant T4|T6] [-o OUT] [LISTING]\n"
    "  Reads MODULE SLOT VALUE lines from LISTING (default: standard input) and\n"
    "  writes the file the console would save for that image (default T4) to OUT\n"
    "  (default: standard output). Modules 1 to 3, slots 0 to 65, 67 and 1; a\n"
    "  VALUE is what a slot of the unit holds, 0 to 65535; slots not given are\n"
    "  written as 0. An OUT file is replaced only once the whole file is written.\n";
constexpr const char* ResponseUsage =
    "usage: nddt response [--module 1|2] FILE\n"
    "  Checks FILE as decode does and prints the summed EQ response the console\n"
    "  draws for that module (default 1): 463 lines PIXEL FREQ DB, one per\n"
    "  logical pixel 0..462. FILE - is standard input.\n";

// A command: its name, what it runs and its help text. A new command is one
// more line in Commands.
struct Command {
    const char* Name;
    int (*Run)(const std::vector<std::string>& args);
    const char* Usage;
};

int Decode(const std::vector<std::string>& args);
int Encode(const std::vector<std::string>& args);
int Response(const std::vector<std::string>& args);

const Command Commands[] = {
    {"decode", Decode, DecodeUsage},
    {"encode", Encode, EncodeUsage},
    {"response", Response, ResponseUsage},
    {"peq", PeqCommand, PeqUsage},
    {"fit", FitCommand, FitUsage},
    {"diff", DiffCommand, DiffUsage},
};

constexpr const char* Overview =
    "usage: nddt COMMAND [ARGS]\n"
    "Reads and writes the console's preset files (.Nddt).\n"
    "\n"
    "commands:\n"
    "  decode     check a file and list its parameter lines\n"
    "  encode     build a file from a listing\n"
    "  response   print the EQ response the console draws for a file\n"
    "  peq        parametric EQ text into a preset file and back\n"
    "  diff       the parameters two files set differently (exit 0, 1 or 2)\n"
    "  help CMD   the help of one command (also: nddt CMD --help)\n"
    "\n"
    "  nddt --version   the version\n"
    "\n"
    "A file that cannot be read or is not a sound preset prints 'nddt: FILE: reason'\n"
    "to standard error and exits with 1; a usage error exits with 2.\n";

const Command* FindCommand(const std::string& name) {
    for (const Command& c : Commands)
        if (name == c.Name) return &c;
    return nullptr;
}

int Decode(const std::vector<std::string>& args) {
    ParsedArgs a;
    if (auto e = ParseArgs(args, {"--variant", "--names"}, {}, a)) return UsageError("decode", *e);
    if (a.Files.empty()) return UsageError("decode", "no FILE given");
    if (a.Files.size() > 1)
        return UsageError("decode", "one FILE only; '" + a.Files[1] + "' is extra");
    int exitCode = 0;
    const auto contents = LoadChecked(a.Files[0], exitCode);
    if (!contents) return exitCode;
    // Kept (a unit may hold them itself), but said, as the console asks.
    if (const auto wild = PresetValuesOutOfRange(*contents); !wild.empty()) {
        std::string note = DescribeOutOfRange(wild, false, wild.size());
        std::string indented;
        for (const std::string& line : SplitText(note, '\n'))
            if (!line.empty()) indented += "  " + line + "\n";
        std::fprintf(stderr, "nddt: %s: %zu value%s outside the parameter's range:\n%s",
                     Shown(a.Files[0], "standard input").c_str(), wild.size(),
                     wild.size() == 1 ? "" : "s", indented.c_str());
    }
    std::string out;
    if (a.Has("--variant")) {
        out = contents->VariantToken + "\n";
    } else {
        const bool names = a.Has("--names");
        for (const PresetEntry& e : contents->Entries) {
            out += std::to_string(e.Module) + " " + std::to_string(e.Slot) + " " +
                   std::to_string(e.Value);
            if (names) out += " " + ParamKeyOf(e.Module * 256 + e.Slot);
            out += "\n";
        }
    }
    return WriteAll("-", out);
}

int Encode(const std::vector<std::string>& args) {
    ParsedArgs a;
    if (auto e = ParseArgs(args, {}, {"--variant", "-o", "--output"}, a))
        return UsageError("encode", *e);
    int variantFlag = 0;
    if (const std::string* v = a.Value("--variant")) {
        if (*v == "T4")
            variantFlag = 0;
        else if (*v == "T6")
            variantFlag = 1;
        else
            return UsageError("encode", "the variant is T4 or T6, not '" + *v + "'");
    }
    const std::string* outOption = a.Value("-o") ? a.Value("-o") : a.Value("--output");
    const std::string outPath = outOption ? *outOption : "-";
    if (a.Files.size() > 1)
        return UsageError("encode", "one LISTING only; '" + a.Files[1] + "' is extra");
    const std::string listingPath = a.Files.empty() ? "-" : a.Files[0];
    const std::string listingName = Shown(listingPath, "standard input");

    std::string why;
    const std::optional<std::string> listing = ReadAll(listingPath, TextFileMaxBytes, why);
    if (!listing) return Fail(listingName + ": " + why);

    static PresetImage image{};
    bool given[PresetModules][PresetSlots]{};
    int lineNo = 0;
    for (std::string line : SplitFileLines(*listing)) {
        ++lineNo;
        std::vector<std::string> words;
        for (const std::string& w : SplitText(line, ' '))
            for (const std::string& piece : SplitText(w, '\t'))
                if (!piece.empty()) words.push_back(piece);
        if (words.empty()) continue;
        const std::string where = listingName + ": line " + std::to_string(lineNo) + ": ";
        if (words.size() != 3) return Fail(where + "expected MODULE SLOT VALUE");
        const auto m = ParsePresetInt(words[0]);
        const auto s = ParsePresetInt(words[1]);
        const auto v = ParsePresetInt(words[2]);
        if (!m || !s || !v) return Fail(where + "MODULE, SLOT and VALUE must be decimal integers");
        if (*m < PresetFirstModule || *m > PresetLastModule || *s < 0 || *s > PresetSlotBound[*m])
            return Fail(where + "module " + words[0] + " slot " + words[1] +
                        " is not saved in a preset (modules 1 to 3, slots 0 to 65, 67, 1)");
        // The unit keeps 16-bit values; the file would carry more, and a load
        // would send the unit something else.
        if (*v < 0 || *v > 65535)
            return Fail(where + "value " + words[2] + " does not fit a slot (0 to 65535)");
        if (given[*m][*s])
            return Fail(where + "module " + words[0] + " slot " + words[1] + " given twice");
        given[*m][*s] = true;
        image[*m][*s] = *v;
    }
    // Written in one piece once everything has been read and checked.
    return WriteAll(outPath, BuildPresetFile(image, variantFlag));
}

int Response(const std::vector<std::string>& args) {
    ParsedArgs a;
    if (auto e = ParseArgs(args, {}, {"--module"}, a)) return UsageError("response", *e);
    int module = 1;
    if (auto e = ModuleOption(a, module)) return UsageError("response", *e);
    if (a.Files.empty()) return UsageError("response", "no FILE given");
    if (a.Files.size() > 1)
        return UsageError("response", "one FILE only; '" + a.Files[1] + "' is extra");
    int exitCode = 0;
    const auto contents = LoadChecked(a.Files[0], exitCode);
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
                                       CrossoverItem(m, raw(m, CrossoverOf(m).LowPassType)), slots);
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
    return WriteAll("-", out);
}

int Help(const std::vector<std::string>& args) {
    if (args.empty()) return WriteAll("-", Overview);
    if (args.size() > 1) return UsageError("help", "one COMMAND only");
    const Command* c = FindCommand(args[0]);
    if (!c) return UsageError("help", "no command '" + args[0] + "'");
    return WriteAll("-", c->Usage);
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return UsageError("", "no command given");
    const std::string command = args.front();
    args.erase(args.begin());
    if (command == "--help" || command == "-h" || command == "help") return Help(args);
    if (command == "--version") return WriteAll("-", "nddt " KV_VERSION "\n");
    const Command* c = FindCommand(command);
    if (!c) return UsageError("", "no command '" + command + "'");
    for (const std::string& a : args) {
        if (a == "--") break;
        if (a == "--help" || a == "-h") return WriteAll("-", c->Usage);
    }
    return c->Run(args);
}
