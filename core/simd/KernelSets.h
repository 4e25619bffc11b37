#pragma once

// The kernels of each level, for the table in SimdKernels.cpp.

#include <cstddef>
#include <cstdint>

#include "core/simd/SimdLanes.h"

#define KESTRIN_DECLARE_KERNELS(Level)                                                                               \
    double CurveLength##Level(const double* x, std::int64_t segments, int nD, std::ptrdiff_t r);                     \
    void SegmentLengths##Level(const double* y, std::int64_t count, std::ptrdiff_t r, int nD, double* out);           \
    void WindowLagSums##Level(const double* table, std::ptrdiff_t rows, std::ptrdiff_t stride, std::int64_t windows, \
                              std::int64_t segments, std::ptrdiff_t r, double* out);                                 \
    void BlockSlopes##Level(const double* x, const double* y, int size, double* out);                               \
    double ResidualSquares##Level(const double* y, int s);

namespace simd {
KESTRIN_DECLARE_KERNELS(Plain)
#if KESTRIN_SIMD_X86
KESTRIN_DECLARE_KERNELS(Sse2)
KESTRIN_DECLARE_KERNELS(Avx2)
#endif
} // namespace simd

#undef KESTRIN_DECLARE_KERNELS
