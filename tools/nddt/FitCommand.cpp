// nddt fit: the console's fit of a measurement, into a preset file or as
// filter text, with the same report.

#include "tools/nddt/FitCommand.h"
#include "tools/nddt/CommandLine.h"
#include "tools/nddt/FileIo.h"
#include "tools/nddt/PeqCommand.h"

#include "eq/GridFit.h"
#include "params/ParamCatalog.h"
#include "params/ParamImage.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <iostream>

const char* const FitUsage =
    "usage: nddt fit MEASUREMENT [--target FILE | --target flat | --target house:R,F,T]\n"
    "                [--module 1|2] [--from HZ] [--to HZ] [--max-boost DB] [--no-shelves]\n"
    "                [--bands N] [--into tune.Nddt] [-o OUT] [--report] [--peq]\n"
    "  Fits the module's bands (default 1) to MEASUREMENT (text export of measurement\n"
    "  software, CSV with a header, or two columns; at most 4 MiB) on the unit's own\n"
    "  frequency, Q and gain steps, with the module's crossovers as set in tune.Nddt.\n"
    "  The target is flat (default), a house curve (a bass rise of R dB below F Hz and\n"
    "  a treble tilt of T dB per decade above 1 kHz) or a file read like MEASUREMENT.\n"
    "  --from/--to  the range of the fit (default 20 to 20000 Hz)\n"
    "  --max-boost  the most one band may lift (default 6 dB, 0 to 12)\n"
    "  --no-shelves peaking bands only; --bands N uses N bands, the others flat\n"
    "  Writes tune.Nddt (or a fresh console's image) with the fitted bands to OUT\n"
    "  (default: standard output) and the report to standard error; --report prints\n"
    "  only the report, --peq writes the bands as parametric EQ text instead.\n";

namespace {

bool Number(const std::string& s, double& out) {
    const char* end = s.data() + s.size();
    const auto r = std::from_chars(s.data(), end, out);
    return !s.empty() && r.ec == std::errc() && r.ptr == end && std::isfinite(out);
}

// The numeric options into o; what is wrong, if anything.
std::string NumericOptions(const ParsedArgs& a, FitOptions& o) {
    struct Opt {
        const char* Name;
        double* Into;
    };
    double bands = 0;
    const Opt opts[] = {{"--from", &o.FromHz}, {"--to", &o.ToHz}, {"--max-boost", &o.MaxBoostDb},
                        {"--bands", &bands}};
    for (const Opt& opt : opts)
        if (const std::string* v = a.Value(opt.Name))
            if (!Number(*v, *opt.Into))
                return std::string(opt.Name) + " takes a number, not '" + *v + "'";
    if (a.Value("--bands")) {
        if (bands != std::floor(bands) || bands < 1 || bands > BandCount[o.Module])
            return "--bands takes 1 to " + std::to_string(BandCount[o.Module]) +
                   " on module " + std::to_string(o.Module);
        o.Bands = static_cast<int>(bands);
    }
    o.Shelves = !a.Has("--no-shelves");
    return CheckFitOptions(o, false);
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string s;
    for (const std::string& l : lines)
        s += l + "\n";
    return s;
}

} // namespace

int FitCommand(const std::vector<std::string>& args) {
    ParsedArgs a;
    if (auto e = ParseArgs(args, {"--no-shelves", "--report", "--peq"},
                           {"--target", "--module", "--from", "--to", "--max-boost", "--bands",
                            "--into", "-o", "--output"},
                           a))
        return UsageError("fit", *e);
    FitInput in;
    if (auto e = ModuleOption(a, in.Options.Module)) return UsageError("fit", *e);
    if (a.Files.empty()) return UsageError("fit", "no MEASUREMENT given");
    if (a.Files.size() > 1) return UsageError("fit", "one MEASUREMENT only; '" + a.Files[1] + "' is extra");
    if (a.Has("--report") && a.Has("--peq")) return UsageError("fit", "--report or --peq, not both");
    if (std::string e = NumericOptions(a, in.Options); !e.empty()) return UsageError("fit", e);
    const std::string* target = a.Value("--target");
    std::string why;
    if (target && (*target == "flat" || target->rfind("house:", 0) == 0) &&
        !ParseTargetSpec(*target, in.Target, why))
        return UsageError("fit", why);

    in.Measured = ReadMeasurementFile(a.Files[0]);
    if (!in.Measured.Ok) return Fail(a.Files[0] + ": " + in.Measured.Error.En);
    if (target && in.Target.Kind == TargetCurve::Flat && *target != "flat") {
        in.Target.Kind = TargetCurve::File;
        in.Target.Points = ReadMeasurementFile(*target);
        if (!in.Target.Points.Ok) return Fail(*target + ": " + in.Target.Points.Error.En);
    }

    static PresetImage image{};
    int variant = 0;
    if (const std::string* into = a.Value("--into")) {
        if (!LoadPreset(*into, image, variant)) return 1;
    } else {
        StartImage(image);
    }
    const int m = in.Options.Module;
    in.ModuleImage.assign(image[m], image[m] + ImageSlots);
    in.HighPassItem = CrossoverItem(m, image[m][m == 1 ? 13 : 29]);
    in.LowPassItem = CrossoverItem(m, image[m][CrossoverOf(m).LowPassType]);

    const FitResult r = FitToMeasurement(in);
    if (!r.Ok) return Fail(a.Files[0] + ": " + r.Error.En);
    const std::string report = Joined(FitReport(in, r, false));
    if (a.Has("--report")) return WriteAll("-", report);

    for (int b = 0; b < BandCount[m]; ++b)
        for (int k = 0; k < 5; ++k)
            image[m][BandFirstSlot[m] + 5 * b + k] = r.After[static_cast<std::size_t>(b)].v[k];
    const RawParam raw = [](int mm, int i) -> int32_t {
        return mm >= 0 && mm < PresetModules && i >= 0 && i < PresetSlots ? image[mm][i] : 0;
    };
    const std::string out =
        a.Has("--peq") ? WritePeqText(m, raw, "\n") : BuildPresetFile(image, variant);
    std::cerr << report;
    const std::string* o = a.Value("-o") ? a.Value("-o") : a.Value("--output");
    return WriteAll(o ? *o : "-", out);
}
