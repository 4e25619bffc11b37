#pragma once

#include <cstdint>
#include <vector>

#include "tests/support/TestSupport.h"

// Document file bytes built by hand, little-endian as the file holds them.

inline void PutInt(std::vector<std::uint8_t>& b, std::int32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i)));
}

inline void PutDouble(std::vector<std::uint8_t>& b, double v)
{
    const std::uint64_t bits = Bits(v);
    for (int i = 0; i < 8; ++i)
        b.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
}
