#pragma once

#include <string>

#include "platform/UiServices.h"

// The convention every long operation follows: wait cursor on, its text in
// the status bar at once, and "Ready" with the normal cursor back at the end,
// on every way out of the scope (errors and exceptions included).
class CStatusOperation
{
public:
    CStatusOperation(IUiServices& ui, const std::string& text);
    ~CStatusOperation();
    CStatusOperation(const CStatusOperation&) = delete;
    CStatusOperation& operator=(const CStatusOperation&) = delete;

    void SetText(const std::string& text);
    // Shows a percentage through a pattern holding one "%i" (and "%%" for a
    // percent sign): fraction is 0..1, shown truncated and kept in 0..100.
    void Progress(const char* pattern, double fraction);

    static constexpr const char* kReady = "Ready";

private:
    IUiServices& m_ui;
    CWaitCursor m_wait;
};

// Formats a progress pattern such as "Calculating Sliding Windows (%i %%)".
std::string FormatPercent(const char* pattern, double fraction);
// The same with the whole percentage already taken.
std::string FormatPercentValue(const char* pattern, int percent);
