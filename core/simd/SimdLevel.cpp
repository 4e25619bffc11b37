#include "core/simd/SimdLevel.h"

#include <algorithm>
#include <atomic>

#include "core/simd/SimdLanes.h"

namespace {

std::atomic<SimdLevel> g_simdLimit{SimdLevel::Automatic};

} // namespace

SimdLevel DetectedSimdLevel()
{
#if KESTRIN_SIMD_X86
    static const SimdLevel detected = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") ? SimdLevel::Avx2 : SimdLevel::Sse2;
    }();
    return detected;
#else
    return SimdLevel::Plain;
#endif
}

void SetSimdLimit(SimdLevel level)
{
    g_simdLimit.store(level);
}

SimdLevel ResolveSimdLevel(SimdLevel asked)
{
    return std::min({asked, g_simdLimit.load(), DetectedSimdLevel()});
}

const char* SimdLevelName(SimdLevel level)
{
    switch (level) {
    case SimdLevel::Plain: return "Plain";
    case SimdLevel::Sse2: return "SSE2";
    case SimdLevel::Avx2: return "AVX2";
    default: return "Automatic";
    }
}
