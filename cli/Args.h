#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A command line the user got wrong. The message names the problem; the
// caller adds the hint on where to find the usage.
class UsageError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// One option a command accepts: its long name ("--D"), an optional short
// name ("-o"), how many values follow it (0 for a switch) and what they
// are called in messages ("UNDER OVER").
struct OptionDef
{
    std::string_view name;
    std::string_view shortName;
    int valueCount = 0;
    std::string_view valueNames = {};
};

// A command's arguments sorted into file names and options. A repeated
// option keeps its last values.
struct ParsedArgs
{
    bool help = false;
    std::vector<std::string> positionals;
    std::map<std::string, std::vector<std::string>, std::less<>> options;

    bool Has(std::string_view name) const { return options.find(name) != options.end(); }
    // The values of an option that was given (empty for a switch).
    const std::vector<std::string>& Values(std::string_view name) const;
};

// Sorts args (everything after the command name) into file names and the
// given options. "-h" / "--help" anywhere sets help, whatever else is wrong.
// "--" ends the options: what follows is taken as file names even when it
// starts with '-'. An option with one value also takes it as "--name=value".
// Values are taken as they come, so "--at -3" works. Throws UsageError for
// an unknown option or a missing value.
ParsedArgs ParseArgs(std::span<const std::string> args, std::span<const OptionDef> options);

// Strict whole-number parsing: the entire text must be an optional '-' and
// decimal digits, within [lowest, highest]. Throws UsageError naming what
// (an option such as "--D") otherwise.
std::int64_t ParseWholeNumber(std::string_view text, std::string_view what, std::int64_t lowest,
                              std::int64_t highest);

// A comma-separated list of whole numbers ("3,6,9"; spaces around an item
// are allowed). An empty or all-blank text is the empty list; an empty item
// ("3,,6", "3,") is an error.
std::vector<std::int32_t> ParseWholeNumberList(std::string_view text, std::string_view what);
