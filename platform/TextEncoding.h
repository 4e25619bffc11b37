#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Texts read from document files are kept byte for byte. For display they
// are taken as UTF-8 when they are valid UTF-8, otherwise as Windows-1252
// (the code page such files were written in).
bool IsValidUtf8(std::string_view bytes);
// The length of the valid UTF-8 character that starts at bytes[at], or 0
// when the bytes there are no such character.
std::size_t Utf8CharacterLength(std::string_view bytes, std::size_t at);
// Appends the UTF-8 form of one code point.
void AppendUtf8(std::string& out, std::uint32_t codePoint);
std::string Windows1252ToUtf8(std::string_view bytes);
std::string DisplayText(std::string_view bytes);
