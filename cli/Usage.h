#pragma once

#include <string_view>

inline constexpr const char* kProgramName = "kestrin-cli";

// The program's version, as the build gives it ("0.1.0").
const char* ProgramVersion();

// The help texts: the tool's overview and each command's usage.
std::string_view ToolHelp();
// command must be one of the tool's commands.
std::string_view CommandHelp(std::string_view command);
// The window analyses' help (AnalysisUsage.cpp); empty for other commands.
std::string_view AnalysisCommandHelp(std::string_view command);
