#include "cli/Commands.h"

#include <cstdio>
#include <exception>
#include <new>
#include <string_view>

#include "cli/CliUi.h"
#include "cli/Usage.h"

namespace {

struct Command
{
    const char* name;
    int (*run)(std::span<const std::string>);
};

constexpr Command kCommands[] = {
    {"estimate", RunEstimate},
    {"tabs", RunTabs},
    {"import", RunImport},
    {"info", RunInfo},
    {"tables", RunTables},
    {"fields", RunFields},
    {"sliding", RunSliding},
    {"meta-h", RunMetaH},
    {"slopes", RunSlopes},
    {"correlate", RunCorrelate},
    {"h-data", RunHData},
    {"extract", RunExtract},
    {"profile", RunProfile},
};

const Command* FindCommand(std::string_view name)
{
    for (const Command& c : kCommands)
        if (name == c.name)
            return &c;
    return nullptr;
}

// The message, and where to read how the command line goes: the command's
// help when the command is known (empty: the tool's).
int UsageFailure(const std::string& command, const std::string& message)
{
    PrintCliMessage(command, message);
    PrintCliMessage("", "Try '" + std::string(kProgramName) + (command.empty() ? "" : " " + command) + " --help'.");
    return kExitUsage;
}

} // namespace

const std::string& RequireOneFile(const ParsedArgs& parsed, const char* what)
{
    if (parsed.positionals.empty())
        throw UsageError(std::string("missing ") + what);
    if (parsed.positionals.size() > 1)
        throw UsageError("unexpected argument \"" + parsed.positionals[1] + "\" (only one " + what +
                         " is taken)");
    return parsed.positionals.front();
}

int EmitOutput(const std::string& text)
{
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    if (std::fflush(stdout) != 0 || !written || std::ferror(stdout)) {
        PrintCliMessage("", "cannot write the output");
        return kExitFailure;
    }
    return kExitOk;
}

int EmitUnlessOutputIsStandard(const std::string& output, const std::string& text)
{
    return output == kStandardOutputName ? kExitOk : EmitOutput(text);
}

int ShowCommandHelp(const char* command)
{
    return EmitOutput(std::string(CommandHelp(command)));
}

int RunCli(std::span<const std::string> args)
{
    if (args.empty()) {
        std::fprintf(stderr, "%s", std::string(ToolHelp()).c_str());
        return kExitUsage;
    }
    const std::string& first = args.front();
    if (first == "-h" || first == "--help")
        return EmitOutput(std::string(ToolHelp()));
    if (first == "help") {
        if (args.size() == 1)
            return EmitOutput(std::string(ToolHelp()));
        if (!FindCommand(args[1]))
            return UsageFailure("", "help: unknown command \"" + args[1] + "\"");
        if (args.size() > 2)
            return UsageFailure("", "help: unexpected argument \"" + args[2] + "\" (help takes one command name)");
        return ShowCommandHelp(FindCommand(args[1])->name);
    }
    const Command* command = FindCommand(first);
    if (!command) {
        const std::string what = first.starts_with("-") ? "unknown option \"" : "unknown command \"";
        return UsageFailure("", what + first + "\"");
    }
    try {
        return command->run(args.subspan(1));
    } catch (const UsageError& e) {
        return UsageFailure(command->name, e.what());
    } catch (const std::bad_alloc&) {
        PrintCliMessage(command->name, "not enough memory");
    } catch (const std::exception& e) {
        PrintCliMessage(command->name, e.what());
    }
    return kExitFailure;
}
