#pragma once

#include <span>
#include <string>

#include "cli/Args.h"

// Exit statuses: success, a file that could not be read or written, and a
// command line that could not be understood.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// Runs the tool on its arguments (without the program name); returns the
// exit status. Everything the user must see goes to standard output or, for
// problems, standard error.
int RunCli(std::span<const std::string> args);

// The commands. Each takes what follows its name on the command line and
// returns the exit status; a command line it cannot use throws UsageError.
int RunEstimate(std::span<const std::string> args);
int RunTabs(std::span<const std::string> args);
int RunImport(std::span<const std::string> args);
int RunInfo(std::span<const std::string> args);
int RunTables(std::span<const std::string> args);
int RunFields(std::span<const std::string> args);
// The window analyses (SlidingCommand.cpp, MetaHCommand.cpp,
// SlopesCommand.cpp, CorrelateCommand.cpp, NewDocumentCommands.cpp).
int RunSliding(std::span<const std::string> args);
int RunMetaH(std::span<const std::string> args);
int RunSlopes(std::span<const std::string> args);
int RunCorrelate(std::span<const std::string> args);
int RunHData(std::span<const std::string> args);
int RunExtract(std::span<const std::string> args);
int RunProfile(std::span<const std::string> args);

// The switch every command takes for machine-readable output.
inline constexpr OptionDef kJsonOption{"--json", "", 0};

// The single file name a command needs, named what in the message.
const std::string& RequireOneFile(const ParsedArgs& parsed, const char* what);

// Writes text to standard output; on a write error says so and returns
// kExitFailure, otherwise kExitOk.
int EmitOutput(const std::string& text);

// The -o name that writes a command's file to standard output instead.
inline constexpr const char* kStandardOutputName = "-";

// EmitOutput, unless the command's file went to standard output (-o -):
// then nothing more is written there, and kExitOk.
int EmitUnlessOutputIsStandard(const std::string& output, const std::string& text);

// Prints a command's help to standard output; returns kExitOk.
int ShowCommandHelp(const char* command);
