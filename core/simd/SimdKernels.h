#pragma once

#include <cstddef>
#include <cstdint>

#include "core/simd/SimdLevel.h"

// The numeric kernels that run on vector registers, one set per SimdLevel.
// Every kernel of every set computes each of its results with exactly the
// operations of the plain loop it stands for, in the same order, so all sets
// give the same bits.
struct CSimdKernels
{
    // L(r) of one series: the sum from 0.0, in segment order, of the lengths
    // of `segments` segments, segment j running from the nD values at x + j r
    // to those at x + (j + 1) r, each length as SegmentLength computes it.
    // segments >= 1, nD >= 1.
    double (*curveLength)(const double* x, std::int64_t segments, int nD, std::ptrdiff_t r);

    // out[i] = SegmentLength(y + i, r, nD) for i = 0 .. count - 1. nD >= 1.
    void (*segmentLengths)(const double* y, std::int64_t count, std::ptrdiff_t r, int nD, double* out);

    // L(r) of `windows` windows, each the plain sum from 0.0 of its
    // `segments` lengths in segment order. The lengths lie in a table by
    // residue: the length at compact position b is table[(b % stride) * rows
    // + b / stride]; window w starts at compact position w * stride and its
    // segment j lies at w * stride + j * r. So with the windows' segment j
    // at the same residue, neighbouring windows read neighbouring doubles.
    void (*windowLagSums)(const double* table, std::ptrdiff_t rows, std::ptrdiff_t stride, std::int64_t windows,
                          std::int64_t segments, std::ptrdiff_t r, double* out);

    // The least-squares slopes of kSlopeBlock windows of `size` points
    // starting at x + w, y + w (w = 0 .. kSlopeBlock - 1): each window's
    // sums taken from 0.0 in point order, then SlopeFromSums.
    void (*blockSlopes)(const double* x, const double* y, int size, double* out);

    // The residual sum of squares of the s values at y about their own
    // least-squares line against the positions 0 .. s - 1 (DFA's detrending).
    // s >= 1.
    double (*residualSquares)(const double* y, int s);
};

// Windows one blockSlopes call computes.
constexpr int kSlopeBlock = 8;

// The kernels of ResolveSimdLevel(asked).
const CSimdKernels& SimdKernels(SimdLevel asked = SimdLevel::Automatic);
