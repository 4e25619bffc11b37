#pragma once

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/TestSupport.h"

// Switches the whole C library to a German locale, whose decimal separator
// is ',' (as a Qt program does with setlocale(LC_ALL, "")), and back to "C"
// when it goes. When the machine has no such locale but can build one, it is
// compiled once per test run into a temporary directory. Active() is false
// when neither works.
class CommaLocale
{
public:
    CommaLocale()
    {
        if (Try())
            return;
        if (const std::string* dir = BuiltLocaleDir()) {
            ::setenv("LOCPATH", dir->c_str(), 1);
            m_setLocPath = true;
            Try();
        }
    }
    ~CommaLocale()
    {
        std::setlocale(LC_ALL, "C");
        if (m_setLocPath)
            ::unsetenv("LOCPATH");
    }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

    bool Active() const { return m_active; }

private:
    bool Try()
    {
        m_active = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr && *std::localeconv()->decimal_point == ',';
        return m_active;
    }

    static const std::string* BuiltLocaleDir()
    {
        static TempDir dir;
        static const bool built = [] {
            if (!std::filesystem::exists("/usr/bin/localedef") ||
                !std::filesystem::exists("/usr/share/i18n/locales/de_DE"))
                return false;
            const std::string command =
                "/usr/bin/localedef -i de_DE -f UTF-8 '" + dir.File("de_DE.UTF-8") + "' >/dev/null 2>&1";
            return std::system(command.c_str()) == 0;
        }();
        static const std::string path = dir.Path().string();
        return built ? &path : nullptr;
    }

    bool m_active = false;
    bool m_setLocPath = false;
};
