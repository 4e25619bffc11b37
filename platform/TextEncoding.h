#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Texts read from document files are kept byte for byte. For display they
// are taken as UTF-8 when they are valid UTF-8, otherwise as Windows-1252
// (the code page such files were written in).
bool IsValidUtf8(std::string_view bytes);
// Appends the UTF-8 form of one code point.
void AppendUtf8(std::string& out, std::uint32_t codePoint);
std::string Windows1252ToUtf8(std::string_view bytes);
std::string DisplayText(std::string_view bytes);
