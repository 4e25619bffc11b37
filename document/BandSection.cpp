// The interval band.
//
// Framed as DocumentSections.h describes, after every other section. All
// numbers are little-endian.
//
//   tag       4 bytes   "KBND"
//   version   int32     1
//   length    int32     bytes of the body that follows: 96 + 25 * count
//   body:
//     replicates   int32
//     seed         8 bytes, an unsigned 64-bit integer
//     level        double
//     width, D, M  int32 x 3   the windows' width, D and M
//     first lag    int32       of the windows' fits, 1 .. M - 1
//     model        int32       0 fBm, 1 fGn, 2 profile of fGn
//     input        int32       0 auto, 1 noise, 2 motion
//     profile      int32       0 or 1: the series is known to be a profile
//     alpha        double      DFA-1 alpha of the series (NaN: too short)
//     measured     int32       0 noise, 1 motion, 2 unclear
//     estimatedAs  int32       the same
//     checked      int32       windows of the model check
//     failing      int32       of those, the ones that failed
//     expected     double      the share expected to fail under the model
//     p            double      the chance of at least that many failures
//     passed       int32       0 or 1
//     count        int32       windows of the band
//     per window:  corrected, low, high (doubles; NaN when not reached),
//                  then one byte of bounds: corrected in bits 0-1, low in
//                  bits 2-3, high in bits 4-5 (0 a value, 1 at or below,
//                  2 at or above).
//
// On reading, the count is checked against the body's length before
// anything is allocated, and every code against its range.
#include "document/BandSection.h"

#include <string>

#include "document/DocumentSections.h"

namespace {

constexpr std::uint64_t kHeadBytes = 96;
constexpr std::size_t kBandWindowBytes = 25;

void WriteSeed(CArchive& ar, std::uint64_t seed)
{
    std::uint8_t bytes[8];
    for (int i = 0; i < 8; ++i)
        bytes[i] = static_cast<std::uint8_t>(seed >> (8 * i));
    ar.WriteBytes(bytes, 8);
}

std::uint64_t ReadSeed(CArchive& ar)
{
    std::uint8_t bytes[8];
    ar.ReadBytes(bytes, 8);
    std::uint64_t seed = 0;
    for (int i = 0; i < 8; ++i)
        seed |= static_cast<std::uint64_t>(bytes[i]) << (8 * i);
    return seed;
}

std::int32_t ReadCode(CArchive& ar, std::int32_t most, const char* what)
{
    std::int32_t code = 0;
    ar >> code;
    if (code < 0 || code > most)
        throw CArchiveException(CArchiveException::badValue, std::string(what) + " " + std::to_string(code) +
                                                                 " is unknown");
    return code;
}

EBandBound BoundOf(int bits)
{
    if (bits > 2)
        throw CArchiveException(CArchiveException::badValue, "a window's bound is unknown");
    return static_cast<EBandBound>(bits);
}

} // namespace

void StoreBandSection(CArchive& ar, const CIntervalBand& band)
{
    const std::uint64_t length = kHeadBytes + kBandWindowBytes * static_cast<std::uint64_t>(band.windows.size());
    WriteSectionHeader(ar, kBandSectionTag, kBandSectionVersion, length, "the interval band is too large to save");
    ar << band.replicates;
    WriteSeed(ar, band.seed);
    ar << band.level << band.width << band.nD << band.nM << band.nRMin << band.model << band.input
       << static_cast<std::int32_t>(band.isProfile) << band.alpha << band.measured << band.estimatedAs;
    ar << band.check.windows << band.check.failing << band.check.expectedShare << band.check.pValue
       << static_cast<std::int32_t>(band.check.passed);
    ar << static_cast<std::int32_t>(band.windows.size());
    for (const CBandWindow& w : band.windows) {
        ar << w.corrected << w.low << w.high;
        const auto bounds = static_cast<std::uint8_t>(static_cast<int>(w.correctedBound) |
                                                      static_cast<int>(w.lowBound) << 2 |
                                                      static_cast<int>(w.highBound) << 4);
        ar.WriteBytes(&bounds, 1);
    }
}

CIntervalBand ReadBandSectionBody(CArchive& ar)
{
    CIntervalBand band;
    ar >> band.replicates;
    band.seed = ReadSeed(ar);
    ar >> band.level >> band.width >> band.nD >> band.nM >> band.nRMin;
    if (band.replicates < 1 || band.width < 1 || band.nD < 1 || band.nM < 1 || band.nRMin < 1 ||
        band.nRMin >= band.nM || !(band.level > 0.0 && band.level < 1.0))
        throw CArchiveException(CArchiveException::badValue,
                                "its replicates, level, width, D, M or first lag are impossible");
    band.model = ReadCode(ar, 2, "the model");
    band.input = ReadCode(ar, 2, "the input");
    band.isProfile = ReadCode(ar, 1, "the profile mark") == 1;
    ar >> band.alpha;
    band.measured = ReadCode(ar, 2, "the measured kind");
    band.estimatedAs = ReadCode(ar, 2, "the kind estimated as");
    ar >> band.check.windows >> band.check.failing >> band.check.expectedShare >> band.check.pValue;
    band.check.passed = ReadCode(ar, 1, "the check's verdict") == 1;
    if (band.check.windows < 0 || band.check.failing < 0 || band.check.failing > band.check.windows)
        throw CArchiveException(CArchiveException::badValue, "its model check counts are impossible");
    std::int32_t count = 0;
    ar >> count;
    ar.CheckCount(count, kBandWindowBytes, "interval band");
    band.windows.resize(static_cast<std::size_t>(count));
    for (CBandWindow& w : band.windows) {
        ar >> w.corrected >> w.low >> w.high;
        std::uint8_t bounds = 0;
        ar.ReadBytes(&bounds, 1);
        if (bounds >> 6)
            throw CArchiveException(CArchiveException::badValue, "a window's bound is unknown");
        w.correctedBound = BoundOf(bounds & 3);
        w.lowBound = BoundOf(bounds >> 2 & 3);
        w.highBound = BoundOf(bounds >> 4 & 3);
    }
    return band;
}
