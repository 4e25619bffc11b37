#include "app/LockKeys.h"

#include <QGuiApplication>

#ifdef KESTRIN_HAVE_XKB
#include <X11/XKBlib.h>
#endif

std::optional<CLockKeyState> ReadLockKeyState()
{
#ifdef KESTRIN_HAVE_XKB
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display)
        return std::nullopt;
    // The indicators by name: which bit each one has is the keymap's choice.
    const auto indicator = [display](const char* name, bool& on) {
        const Atom atom = XInternAtom(display, name, True);
        Bool state = False;
        if (atom == None || !XkbGetNamedIndicator(display, atom, nullptr, &state, nullptr, nullptr))
            return false;
        on = state != False;
        return true;
    };
    CLockKeyState keys;
    if (!indicator("Caps Lock", keys.caps) || !indicator("Num Lock", keys.num))
        return std::nullopt;
    // Many keyboards have no Scroll Lock light; the key is then off.
    indicator("Scroll Lock", keys.scroll);
    return keys;
#else
    return std::nullopt;
#endif
}
