#include "cli/Args.h"

#include <charconv>
#include <limits>

const std::vector<std::string>& ParsedArgs::Values(std::string_view name) const
{
    static const std::vector<std::string> none;
    const auto it = options.find(name);
    return it == options.end() ? none : it->second;
}

namespace {

std::string Quoted(std::string_view text)
{
    std::string out = "\"";
    out += text;
    out += '"';
    return out;
}

const OptionDef* FindOption(std::span<const OptionDef> options, std::string_view name)
{
    for (const OptionDef& option : options)
        if (option.name == name || (!option.shortName.empty() && option.shortName == name))
            return &option;
    return nullptr;
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

} // namespace

ParsedArgs ParseArgs(std::span<const std::string> args, std::span<const OptionDef> options)
{
    ParsedArgs parsed;
    // The first problem is reported only once the whole line has been seen:
    // a request for help anywhere on it wins.
    std::string problem;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        // A lone "-" is a file name, as are arguments after "--".
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            parsed.positionals.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "-h" || arg == "--help") {
            parsed.help = true;
            return parsed;
        }
        std::string_view name = arg;
        std::string_view inlineValue;
        bool hasInlineValue = false;
        if (name.starts_with("--")) {
            const auto eq = name.find('=');
            if (eq != std::string_view::npos) {
                inlineValue = name.substr(eq + 1);
                name = name.substr(0, eq);
                hasInlineValue = true;
            }
        }
        const OptionDef* option = FindOption(options, name);
        std::string error;
        std::vector<std::string> values;
        const std::size_t need = option ? static_cast<std::size_t>(option->valueCount) : 0;
        if (!option) {
            error = "unknown option " + Quoted(name);
        } else if (hasInlineValue && need != 1) {
            error = std::string(option->name) + (need == 0 ? " takes no value" : " takes its values after a space");
        } else if (hasInlineValue) {
            values.emplace_back(inlineValue);
        } else if (args.size() - 1 - i < need) {
            error = std::string(option->name) + " needs ";
            error += need == 1 ? "a value" : std::to_string(need) + " values";
            if (!option->valueNames.empty())
                error += ": " + std::string(option->valueNames);
            i = args.size();
        } else {
            values.assign(args.begin() + static_cast<std::ptrdiff_t>(i + 1),
                          args.begin() + static_cast<std::ptrdiff_t>(i + 1 + need));
            i += need;
        }
        if (!error.empty()) {
            if (problem.empty())
                problem = std::move(error);
            continue;
        }
        parsed.options[std::string(option->name)] = std::move(values);
    }
    if (!problem.empty())
        throw UsageError(problem);
    return parsed;
}

std::int64_t ParseWholeNumber(std::string_view text, std::string_view what, std::int64_t lowest,
                              std::int64_t highest)
{
    const std::string range = " (allowed: " + std::to_string(lowest) + " to " + std::to_string(highest) + ")";
    std::int64_t value = 0;
    const char* first = text.data();
    const char* last = first + text.size();
    const auto result = std::from_chars(first, last, value);
    if (result.ec == std::errc::result_out_of_range && result.ptr == last)
        throw UsageError(std::string(what) + ": " + Quoted(text) + " is out of range" + range);
    if (text.empty() || result.ec != std::errc() || result.ptr != last)
        throw UsageError(std::string(what) + ": " + Quoted(text) + " is not a whole number");
    if (value < lowest || value > highest)
        throw UsageError(std::string(what) + ": " + std::string(text) + " is out of range" + range);
    return value;
}

std::vector<std::int32_t> ParseWholeNumberList(std::string_view text, std::string_view what)
{
    std::vector<std::int32_t> list;
    const std::string_view whole = Trim(text);
    if (whole.empty())
        return list;
    for (;;) {
        const auto comma = text.find(',');
        const std::string_view item = Trim(text.substr(0, comma));
        if (item.empty())
            throw UsageError(std::string(what) + ": empty item in the list " + Quoted(whole));
        list.push_back(static_cast<std::int32_t>(ParseWholeNumber(
            item, what, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max())));
        if (comma == std::string_view::npos)
            break;
        text.remove_prefix(comma + 1);
    }
    return list;
}
