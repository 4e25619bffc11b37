#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/TextLines.h"

namespace text_lines_test {

using namespace std::string_literals;

namespace {

// The lines of bytes fed in pieces of `step` bytes (0: all at once).
std::vector<std::string> LinesOf(const std::string& bytes, std::size_t step, std::size_t maxLine = 100)
{
    std::vector<std::string> lines;
    CTextLines splitter([&](std::string_view line) { lines.emplace_back(line); }, maxLine);
    if (step == 0)
        step = bytes.size() + 1;
    for (std::size_t i = 0; i < bytes.size(); i += step)
        splitter.Feed(bytes.data() + i, std::min(step, bytes.size() - i));
    splitter.Finish();
    return lines;
}

} // namespace

TEST(TextLines, SameLinesWhateverThePieces)
{
    const struct
    {
        std::string bytes;
        std::vector<std::string> lines;
    } cases[] = {
        {"", {}},
        {"a\nb", {"a", "b"}},
        {"a\r\n\r\nb\r\n", {"a", "", "b"}},
        {"a\r\rb\r", {"a", "", "b"}},
        {"\xef\xbb\xbf" "1\n", {"1"}},
        {"\xef\xbb", {"\xef\xbb"}},                          // too short for a mark: bytes as they are
        {"\xff\xfe" "1\0\r\0\n\0\xe9\0"s, {"1", "\xc3\xa9"}}, // UTF-16LE, é
        {"\xfe\xff\0" "2\0\r\xd8\x3d\xde\0"s, {"2", "\xf0\x9f\x98\x80"}}, // UTF-16BE, U+1F600
        {"\xff\xfe\0\xdc" "3"s, {"\xef\xbf\xbd\xef\xbf\xbd"}},            // lone low half, then a cut unit
        {"1\0\n\0" "2\0"s, {"1", "2"}},                                   // UTF-16LE without a mark
        {"\0" "3\0\r\0\n\0" "4"s, {"3", "4"}},                              // UTF-16BE without a mark
    };
    for (const auto& c : cases)
        for (std::size_t step : {0, 1, 2, 3}) {
            SCOPED_TRACE(testing::PrintToString(c.bytes) + " in pieces of " + std::to_string(step));
            EXPECT_EQ(LinesOf(c.bytes, step), c.lines);
        }
}

TEST(TextLines, ALineOverTheLimitNamesItsNumber)
{
    const std::string text = "1\r\n2\r" + std::string(101, 'x') + "\n";
    for (std::size_t step : {0, 1, 7}) {
        try {
            LinesOf(text, step);
            ADD_FAILURE() << "accepted";
        } catch (const CTextLineTooLong& e) {
            EXPECT_STREQ(e.what(), "line 3 is longer than 100 bytes");
        }
    }
    EXPECT_EQ(LinesOf(std::string(100, 'x'), 1).size(), 1u);
}

// NUL bytes outside UTF-16 are no text: a binary file is refused, wherever
// they are.
TEST(TextLines, NulBytesOutsideUtf16AreRefused)
{
    for (const std::string& bytes : {"1\n2\0\n"s, "\x04\0\0\0\x03\0\0\0\0"s, std::string(1000, '7') + '\0'}) {
        for (std::size_t step : {0, 1, 7}) {
            SCOPED_TRACE(testing::PrintToString(bytes.substr(0, 12)) + " in pieces of " + std::to_string(step));
            EXPECT_THROW(LinesOf(bytes, step, 2000), CTextHasNulBytes);
        }
    }
}

} // namespace text_lines_test
