#pragma once
// Argument parsing for nddt's commands: flags, options with a value
// ("--name VALUE" or "--name=VALUE"), "--" and plain arguments ("-" included).

#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct ParsedArgs {
    std::vector<std::string> Flags;
    std::vector<std::pair<std::string, std::string>> Values;
    std::vector<std::string> Files;

    bool Has(const std::string& flag) const;
    // The last value given for the option, or nullptr.
    const std::string* Value(const std::string& option) const;
};

// Fills out; returns what is wrong with the arguments, if anything.
std::optional<std::string> ParseArgs(const std::vector<std::string>& args,
                                     std::initializer_list<const char*> flags,
                                     std::initializer_list<const char*> valued, ParsedArgs& out);

// Prints "nddt: COMMAND: WHAT" and where the command's help is ("nddt: WHAT"
// and the general help for no command); returns the usage-error exit status 2.
int UsageError(const std::string& command, const std::string& what);

// Reads "--module 1|2" (default 1) into module; returns what is wrong, if anything.
std::optional<std::string> ModuleOption(const ParsedArgs& args, int& module);
