#include "platform/StatusOperation.h"

#include <cmath>
#include <string>

CStatusOperation::CStatusOperation(IUiServices& ui, const std::string& text) : m_ui(ui), m_wait(ui)
{
    m_ui.SetStatusText(text);
}

CStatusOperation::~CStatusOperation()
{
    m_ui.SetStatusText(kReady);
}

void CStatusOperation::SetText(const std::string& text)
{
    m_ui.SetStatusText(text);
}

void CStatusOperation::Progress(const char* pattern, double fraction)
{
    m_ui.SetStatusText(FormatPercent(pattern, fraction));
}

std::string FormatPercent(const char* pattern, double fraction)
{
    double percent = fraction * 100.0;
    if (!(percent > 0.0))
        percent = 0.0;
    if (percent > 100.0)
        percent = 100.0;
    return FormatPercentValue(pattern, static_cast<int>(percent));
}

std::string FormatPercentValue(const char* pattern, int value)
{
    // Only "%i" and "%%" are expanded: the pattern is ours, but nothing else
    // in it is taken for a conversion.
    std::string out;
    for (const char* p = pattern; *p; ++p) {
        if (p[0] == '%' && p[1] == 'i') {
            out += std::to_string(value);
            ++p;
        } else if (p[0] == '%' && p[1] == '%') {
            out += '%';
            ++p;
        } else {
            out += *p;
        }
    }
    return out;
}
