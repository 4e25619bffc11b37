#include <gtest/gtest.h>

#include "platform/TextEncoding.h"

namespace text_encoding_test {

TEST(TextEncoding, DisplayDecodesUtf8OrWindows1252)
{
    EXPECT_EQ(DisplayText("Durchfluss"), "Durchfluss");
    EXPECT_EQ(DisplayText("caf\xc3\xa9"), "caf\xc3\xa9");               // valid UTF-8 kept
    EXPECT_EQ(DisplayText("caf\xe9"), "caf\xc3\xa9");                   // é in Windows-1252
    EXPECT_EQ(DisplayText("\x80 \x93x\x94"), "\xe2\x82\xac \xe2\x80\x9cx\xe2\x80\x9d"); // € “x”
    EXPECT_FALSE(IsValidUtf8("\xc3"));
    EXPECT_FALSE(IsValidUtf8("\xe0\x80\x80")); // overlong
    EXPECT_FALSE(IsValidUtf8("\xed\xa0\x80")); // surrogate
    EXPECT_TRUE(IsValidUtf8("\xf0\x9f\x98\x80"));
}

} // namespace text_encoding_test
