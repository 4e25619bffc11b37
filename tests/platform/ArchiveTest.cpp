#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Archive.h"

namespace archive_test {

namespace {

std::string RoundTrip(const std::string& s, std::size_t* size = nullptr)
{
    std::vector<std::uint8_t> bytes;
    {
        CMemorySink sink(bytes);
        CArchive ar(sink);
        ar << s;
        ar.Flush();
    }
    if (size)
        *size = bytes.size();
    CMemorySource in(bytes);
    CArchive ar(in);
    std::string back;
    ar >> back;
    EXPECT_EQ(ar.BytesLeft(), 0u);
    return back;
}

std::string ReadOne(const std::vector<std::uint8_t>& bytes)
{
    CMemorySource in(bytes);
    CArchive ar(in);
    return ar.ReadString();
}

} // namespace

TEST(Archive, StringFormsRoundTrip)
{
    std::size_t size = 0;
    EXPECT_EQ(RoundTrip("", &size), "");
    EXPECT_EQ(size, 1u);
    EXPECT_EQ(RoundTrip(std::string(254, 'a'), &size), std::string(254, 'a'));
    EXPECT_EQ(size, 255u);
    EXPECT_EQ(RoundTrip(std::string(255, 'b'), &size), std::string(255, 'b'));
    EXPECT_EQ(size, 258u);
    EXPECT_EQ(RoundTrip(std::string(0xFFFD, 'c'), &size), std::string(0xFFFD, 'c'));
    EXPECT_EQ(size, 3u + 0xFFFD);
    EXPECT_EQ(RoundTrip(std::string(0xFFFE, 'd'), &size), std::string(0xFFFE, 'd'));
    EXPECT_EQ(size, 7u + 0xFFFE);
    // Bytes are kept as they are, whatever their encoding.
    const std::string raw("caf\xe9\0x", 6);
    EXPECT_EQ(RoundTrip(raw), raw);
}

TEST(Archive, ReadsStringsOf16BitCharacters)
{
    // 0xFF, 0xFFFE announces 16-bit characters; then the usual length prefix.
    const std::vector<std::uint8_t> wide = {0xFF, 0xFE, 0xFF, 3, 'H', 0, 0xE9, 0x00, 0x29, 0x6E};
    EXPECT_EQ(ReadOne(wide), "H\xc3\xa9\xe6\xb8\xa9"); // "Hé温" in UTF-8
    const std::vector<std::uint8_t> surrogates = {0xFF, 0xFE, 0xFF, 2, 0x3D, 0xD8, 0x00, 0xDE};
    EXPECT_EQ(ReadOne(surrogates), "\xf0\x9f\x98\x80");
    const std::vector<std::uint8_t> truncated = {0xFF, 0xFE, 0xFF, 4, 'H', 0};
    EXPECT_THROW(ReadOne(truncated), CArchiveException);
}

TEST(Archive, LittleEndianNumbersAndEndOfFile)
{
    std::vector<std::uint8_t> bytes;
    {
        CMemorySink sink(bytes);
        CArchive ar(sink);
        ar << std::int32_t(-2) << 1.0;
        ar.Flush();
    }
    const std::vector<std::uint8_t> expected = {0xFE, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F};
    EXPECT_EQ(bytes, expected);
    CMemorySource in(bytes);
    CArchive ar(in);
    std::int32_t i = 0;
    double d = 0;
    ar >> i >> d;
    EXPECT_EQ(i, -2);
    EXPECT_EQ(d, 1.0);
    EXPECT_THROW(ar >> i, CArchiveException);
}

TEST(Archive, CountsAreCheckedAgainstTheBytesLeft)
{
    const std::vector<std::uint8_t> bytes(48, 0);
    CMemorySource in(bytes);
    CArchive ar(in);
    EXPECT_NO_THROW(ar.CheckCount(3, 16, "series"));
    EXPECT_THROW(ar.CheckCount(4, 16, "series"), CArchiveException);
    EXPECT_THROW(ar.CheckCount(-1, 16, "series"), CArchiveException);
    EXPECT_THROW(ar.CheckCount(0x7FFFFFFF, 8, "series"), CArchiveException);
}

} // namespace archive_test
