#include "tools/nddt/CommandLine.h"

#include <algorithm>
#include <cstdio>

namespace {
bool In(std::initializer_list<const char*> names, const std::string& name) {
    return std::any_of(names.begin(), names.end(), [&](const char* n) { return name == n; });
}
} // namespace

bool ParsedArgs::Has(const std::string& flag) const {
    return std::find(Flags.begin(), Flags.end(), flag) != Flags.end();
}

const std::string* ParsedArgs::Value(const std::string& option) const {
    for (auto it = Values.rbegin(); it != Values.rend(); ++it)
        if (it->first == option) return &it->second;
    return nullptr;
}

std::optional<std::string> ParseArgs(const std::vector<std::string>& args,
                                     std::initializer_list<const char*> flags,
                                     std::initializer_list<const char*> valued, ParsedArgs& out) {
    bool plainOnly = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (plainOnly || a == "-" || a.empty() || a[0] != '-') {
            out.Files.push_back(a);
            continue;
        }
        if (a == "--") {
            plainOnly = true;
            continue;
        }
        const std::size_t eq = a.rfind("--", 0) == 0 ? a.find('=') : std::string::npos;
        const std::string name = a.substr(0, eq);
        if (In(flags, name)) {
            if (eq != std::string::npos) return name + " takes no value";
            out.Flags.push_back(name);
        } else if (In(valued, name)) {
            if (eq != std::string::npos) {
                out.Values.emplace_back(name, a.substr(eq + 1));
            } else if (i + 1 < args.size() && args[i + 1].rfind("--", 0) != 0) {
                out.Values.emplace_back(name, args[++i]);
            } else {
                return name + " needs a value";
            }
        } else {
            return "unknown option '" + a + "'";
        }
    }
    return std::nullopt;
}

std::optional<std::string> ModuleOption(const ParsedArgs& args, int& module) {
    module = 1;
    const std::string* v = args.Value("--module");
    if (!v) return std::nullopt;
    if (*v != "1" && *v != "2") return "the module is 1 or 2, not '" + *v + "'";
    module = *v == "1" ? 1 : 2;
    return std::nullopt;
}

int UsageError(const std::string& command, const std::string& what) {
    std::fprintf(stderr, "nddt: %s%s%s\nTry 'nddt help%s%s'.\n", command.c_str(),
                 command.empty() ? "" : ": ", what.c_str(), command.empty() ? "" : " ",
                 command.c_str());
    return 2;
}
