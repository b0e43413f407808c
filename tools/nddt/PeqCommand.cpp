// nddt peq: parametric EQ text into a preset file and back, with the console's
// own snapping and report.

#include "tools/nddt/PeqCommand.h"
#include "tools/nddt/CommandLine.h"
#include "presets/RegularFile.h"
#include "tools/nddt/FileIo.h"

#include "eq/PeqText.h"
#include "params/ParamCatalog.h"
#include "params/ParamImage.h"
#include "presets/PresetCodec.h"

#include <iostream>
#include <optional>
#include <string>

const char* const PeqUsage =
    "usage:\n"
    "  nddt peq import FILE.txt [--module 1|2] [--into tune.Nddt] [--keep] [--report]\n"
    "                 snap the filters of FILE.txt onto the module's bands (default 1) of\n"
    "                 tune.Nddt (default: the image a freshly started console saves) and\n"
    "                 write the preset file to stdout; the report goes to stderr.\n"
    "                 --keep leaves the bands beyond the file's filters as they are\n"
    "                 (default: their defaults); --report prints only the report, to stdout\n"
    "  nddt peq export tune.Nddt [--module 1|2]\n"
    "                 print the module's bands, and its crossovers when on, as filter text\n";

namespace {

int PeqUsageError(const std::string& what) {
    std::cerr << "nddt peq: " << what << "\n" << PeqUsage;
    return 2;
}

int PeqFail(const std::string& message) {
    std::cerr << "nddt peq: " << message << "\n";
    return 1;
}

} // namespace

// What a console saves after start-up, before any device contact: the
// catalogue's start values, 2 in the slots a preset holds that it leaves open.
void StartImage(PresetImage& image) {
    for (int m = 0; m <= LastModule; ++m)
        for (int i = 0; i < ModuleParamCount[m]; ++i)
            image[m][i] = 2;
    for (const ParamEntry& e : ParamCatalog())
        if (e.Preset) image[e.Module][e.Index] = e.Start;
}

// Reads a preset as decode does; prints the loader's message on failure.
bool LoadPreset(const std::string& path, PresetImage& image, int& variant) {
    int exitCode = 0;
    const std::optional<PresetContents> contents = LoadChecked(path, exitCode);
    if (!contents) return false;
    ApplyPresetEntries(*contents, contents->Variant, image);
    variant = contents->Variant;
    return true;
}

namespace {

int Import(const std::vector<std::string>& args) {
    ParsedArgs a;
    if (auto e = ParseArgs(args, {"--keep", "--report"}, {"--module", "--into"}, a))
        return PeqUsageError("import: " + *e);
    int module = 1;
    if (auto e = ModuleOption(a, module)) return PeqUsageError("import: " + *e);
    if (a.Files.empty()) return PeqUsageError("import: no filter file given");
    if (a.Files.size() > 1) return PeqUsageError("import: unexpected argument '" + a.Files[1] + "'");
    const std::string* path = &a.Files.front();
    const std::string* into = a.Value("--into");
    const bool keep = a.Has("--keep"), reportOnly = a.Has("--report");

    std::string why;
    const std::optional<std::string> text = ReadAll(*path, TextFileMaxBytes, why);
    if (!text) return Fail(Shown(*path, "standard input") + ": " + why);
    const PeqFile file = ParsePeqText(*text);
    if (!file.Ok) return PeqFail(*path + ": " + file.Error.En);

    static PresetImage image{};
    int variant = 0;
    if (into) {
        if (!LoadPreset(*into, image, variant)) return 1;
    } else {
        StartImage(image);
    }
    const int m = module;
    std::vector<PeqBandRaw> current(static_cast<std::size_t>(BandCount[m]));
    for (int b = 0; b < BandCount[m]; ++b)
        for (int k = 0; k < 5; ++k)
            current[static_cast<std::size_t>(b)].v[k] = image[m][BandFirstSlot[m] + 5 * b + k];
    const PeqPlan plan = PlanPeqImport(file, m, current);

    std::string report;
    for (const std::string& line : PeqReport(file, plan, !keep, false))
        report += line + "\n";
    if (reportOnly) {
        return WriteAll("-", report);
    }
    const std::vector<PeqBandRaw> bands = PlannedBands(plan, !keep);
    for (int b = 0; b < BandCount[m]; ++b)
        for (int k = 0; k < 5; ++k)
            image[m][BandFirstSlot[m] + 5 * b + k] = bands[static_cast<std::size_t>(b)].v[k];
    const std::string out = BuildPresetFile(image, variant);
    std::cerr << report;
    return WriteAll("-", out);
}

int Export(const std::vector<std::string>& args) {
    ParsedArgs a;
    if (auto e = ParseArgs(args, {}, {"--module"}, a)) return PeqUsageError("export: " + *e);
    int module = 1;
    if (auto e = ModuleOption(a, module)) return PeqUsageError("export: " + *e);
    if (a.Files.empty()) return PeqUsageError("export: no preset file given");
    if (a.Files.size() > 1) return PeqUsageError("export: unexpected argument '" + a.Files[1] + "'");
    const std::string* path = &a.Files.front();
    static PresetImage image{};
    int variant = 0;
    if (!LoadPreset(*path, image, variant)) return 1;
    const RawParam raw = [](int m, int i) -> int32_t {
        return m >= 0 && m < PresetModules && i >= 0 && i < PresetSlots ? image[m][i] : 0;
    };
    const std::string text = WritePeqText(module, raw, "\n");
    return WriteAll("-", text);
}

} // namespace

int PeqCommand(const std::vector<std::string>& args) {
    if (args.empty()) return PeqUsageError("import or export?");
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args[0] == "import") return Import(rest);
    if (args[0] == "export") return Export(rest);
    if (args[0] == "--help" || args[0] == "-h") {
        std::cout << PeqUsage;
        return 0;
    }
    return PeqUsageError("unknown command '" + args[0] + "'");
}
