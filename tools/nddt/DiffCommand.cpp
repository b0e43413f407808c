#include "tools/nddt/DiffCommand.h"
#include "tools/nddt/CommandLine.h"
#include "tools/nddt/FileIo.h"

#include "presets/PresetDiff.h"

#include <cstdio>
#include <optional>

const char* const DiffUsage =
    "usage: nddt diff [--module 1|2|3] [--raw] A.Nddt B.Nddt\n"
    "  Checks both files as the console's loader does and prints one line per\n"
    "  parameter they set differently, in slot order: its name, A's value and B's\n"
    "  value in the user's units ('Band 3 frequency: 1000.0 Hz -> 1020.0 Hz');\n"
    "  --raw adds the numbers the files hold. --module compares one module only.\n"
    "  Files of different variants (T4, T6) say so in a first line.\n"
    "  Exit status: 0 the same, 1 different, 2 a file that cannot be used or a\n"
    "  usage error. A FILE - is standard input.\n";

int DiffCommand(const std::vector<std::string>& args) {
    ParsedArgs a;
    if (auto e = ParseArgs(args, {"--raw"}, {"--module"}, a)) return UsageError("diff", *e);
    int module = 0;
    if (const std::string* v = a.Value("--module")) {
        if (*v != "1" && *v != "2" && *v != "3")
            return UsageError("diff", "the module is 1, 2 or 3, not '" + *v + "'");
        module = (*v)[0] - '0';
    }
    if (a.Files.size() != 2) return UsageError("diff", "two files to compare, A and B");
    if (a.Files[0] == "-" && a.Files[1] == "-")
        return UsageError("diff", "standard input can be only one of the files");

    static PresetImage images[2]{};
    std::string variants[2];
    for (int k = 0; k < 2; ++k) {
        int ignored = 0;
        const std::optional<PresetContents> contents = LoadChecked(a.Files[k], ignored);
        if (!contents) return 2; // LoadChecked has said why
        PresetFileImage(*contents, images[k]);
        variants[k] = contents->VariantToken;
    }

    std::string out;
    if (variants[0] != variants[1])
        out += "variant: " + variants[0] + " -> " + variants[1] + "\n";
    const bool raw = a.Has("--raw");
    for (const ParamDifference& d : DiffPresetImages(images[0], images[1], module))
        out += DifferenceLine(d, ParamLanguage::English, raw, " -> ") + "\n";
    if (const int written = WriteAll("-", out); written != 0) return 2;
    return out.empty() ? 0 : 1;
}
