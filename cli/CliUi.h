#pragma once

#include <string>
#include <vector>

#include "platform/HeadlessUi.h"

class CJsonWriter;

// Writes text to standard error, every line starting "kestrin-cli: " and,
// when command is not empty, the command's name: "kestrin-cli: estimate: ".
void PrintCliMessage(const std::string& command, const std::string& text);

// What the document and the analyses tell the user, for one command of the
// tool: each message goes to standard error as it is shown (a leading
// "Kestrin: " gives way to the tool's own prefix), and warnings, the
// document's and the command's own, are kept for the --json output. A
// quiet one (a series of a batch run) prints nothing and keeps the failures
// too, for the series' row.
class CCliUi : public CHeadlessUi
{
public:
    explicit CCliUi(std::string command, bool quiet = false) : m_command(std::move(command)), m_quiet(quiet) {}

    MsgResult MessageBox(const std::string& text, MsgButtons buttons, MsgIcon icon) override;

    // A result that is computed but means less than it seems; on standard
    // error as "kestrin-cli: COMMAND: warning: text".
    void Warn(const std::string& text);
    // A failure of the command itself.
    void Fail(const std::string& text) const;

    const std::vector<std::string>& Warnings() const { return m_warnings; }
    // What Fail said, when quiet.
    const std::vector<std::string>& Failures() const { return m_failures; }

private:
    std::string m_command;
    bool m_quiet;
    std::vector<std::string> m_warnings;
    mutable std::vector<std::string> m_failures;
};

// The JSON member "warnings": the warnings' texts in the order given, an
// empty list when there were none.
void WriteWarnings(CJsonWriter& json, const std::vector<std::string>& warnings);
