#pragma once

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include <gtest/gtest.h>

// A directory of its own for one test, removed afterwards.
class TempDir
{
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "kestrin-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()))
            m_path = pattern;
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    std::string File(const std::string& name) const { return (m_path / name).string(); }
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// A file of the database fixtures that come with the tests.
inline std::string DbFixture(const std::string& name)
{
    return std::string(KESTRIN_DB_FIXTURES_DIR) + "/" + name;
}

inline void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<std::uint8_t> ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The bit pattern of a double, for comparisons that must hold bit for bit
// (0.0 and -0.0 differ, and so do NaNs with different payloads).
inline std::uint64_t Bits(double v)
{
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

// Bit for bit, except that of a NaN only its being NaN is checked: the
// compiler may swap the operands of an addition of two NaNs (C++ does not fix
// which payload wins).
inline ::testing::AssertionResult SameBits(double expected, double actual)
{
    if (Bits(expected) == Bits(actual) || (expected != expected && actual != actual))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "expected " << expected << " (0x" << std::hex << Bits(expected)
                                         << "), got " << actual << " (0x" << Bits(actual) << ")";
}
