#pragma once

#include <cstddef>
#include <cstdint>

// Vector kernels of the sliding-window analysis: segment lengths computed
// several positions at a time, and the curve lengths L(r) of several windows
// summed side by side, one window per SIMD lane. Every lane performs exactly
// the operations the estimator performs for its segment or its window, in the
// same order, so the instruction set never changes a result.

// The instruction sets the kernels are built for.
enum class WindowLaneSet
{
    Automatic, // the widest this processor has
    Sse2,      // two doubles per register (every x86-64 processor)
    Avx2,      // four doubles per register; falls back to Sse2 without AVX2
};

// Whether this processor runs the AVX2 kernels.
bool HasAvx2Lanes();

struct CWindowLaneKernels
{
    // out[i] = SegmentLength(y + i, r, nD) for i = 0 .. count - 1, bit for
    // bit. nD >= 1.
    void (*segmentLengths)(const double* y, std::int64_t count, std::ptrdiff_t r, int nD, double* out);

    // L(r) of `windows` windows, each the plain sum from 0.0 of its
    // `segments` lengths in segment order. The lengths lie in a table by
    // residue: the length at compact position b is table[(b % stride) * rows
    // + b / stride]; window w starts at compact position w * stride and its
    // segment j lies at w * stride + j * r. So with the windows' segment j
    // at the same residue, neighbouring windows read neighbouring doubles.
    void (*lagSums)(const double* table, std::ptrdiff_t rows, std::ptrdiff_t stride, std::int64_t windows,
                    std::int64_t segments, std::ptrdiff_t r, double* out);
};

// The kernels of `set` (Automatic and an unavailable Avx2 resolve to what
// the processor has).
const CWindowLaneKernels& WindowLaneKernels(WindowLaneSet set);
