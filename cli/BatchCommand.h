#pragma once

#include <optional>
#include <span>
#include <string>

#include "cli/Args.h"

// A run of estimate, tabs or meta-h over many series: when the command line
// names more than one series or asks for a batch option (WantsBatch), runs
// every series and writes one tidy table; returns the exit status. Returns
// nothing for a single series without batch options, or for help, which the
// command then handles as it always has. options are the command's own.
std::optional<int> RunBatchIfAsked(const char* command, std::span<const std::string> args,
                                   std::span<const OptionDef> options);
