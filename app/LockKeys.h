#pragma once

#include <optional>

// The states of the three lock keys, as the status bar's CAP, NUM and SCRL
// panes show them.
struct CLockKeyState
{
    bool caps = false;
    bool num = false;
    bool scroll = false;
    bool operator==(const CLockKeyState&) const = default;
};

// The lock keys as the keyboard has them now. On X11 the keyboard extension
// is asked for its named indicators; where the platform offers no way to ask
// (offscreen, Wayland) there is no answer.
std::optional<CLockKeyState> ReadLockKeyState();
