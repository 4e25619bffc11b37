#include "cli/CliUi.h"

#include <cstdio>

#include "cli/JsonWriter.h"
#include "cli/Usage.h"

void PrintCliMessage(const std::string& command, const std::string& text)
{
    const std::string prefix = std::string(kProgramName) + ": " + (command.empty() ? "" : command + ": ");
    std::string out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find('\n', start);
        out += prefix + text.substr(start, end - start) + "\n";
        if (end == std::string::npos || end + 1 == text.size())
            break;
        start = end + 1;
    }
    std::fputs(out.c_str(), stderr);
}

MsgResult CCliUi::MessageBox(const std::string& text, MsgButtons buttons, MsgIcon icon)
{
    const std::string own = "Kestrin: ";
    const std::string shown = text.rfind(own, 0) == 0 ? text.substr(own.size()) : text;
    if (icon == MsgIcon::warning)
        Warn(shown);
    else
        Fail(shown);
    return CHeadlessUi::MessageBox(text, buttons, icon);
}

void CCliUi::Warn(const std::string& text)
{
    m_warnings.push_back(text);
    if (!m_quiet)
        PrintCliMessage(m_command, "warning: " + text);
}

void CCliUi::Fail(const std::string& text) const
{
    if (m_quiet)
        m_failures.push_back(text);
    else
        PrintCliMessage(m_command, text);
}

void WriteWarnings(CJsonWriter& json, const std::vector<std::string>& warnings)
{
    json.Key("warnings");
    json.BeginArray();
    for (const std::string& text : warnings)
        json.String(text);
    json.EndArray();
}
