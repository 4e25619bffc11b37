#include "core/simd/SimdKernels.h"

#include "core/simd/KernelSets.h"

namespace {

constexpr CSimdKernels kPlain = {simd::CurveLengthPlain, simd::SegmentLengthsPlain, simd::WindowLagSumsPlain,
                                 simd::BlockSlopesPlain, simd::ResidualSquaresPlain};
#if KESTRIN_SIMD_X86
constexpr CSimdKernels kSse2 = {simd::CurveLengthSse2, simd::SegmentLengthsSse2, simd::WindowLagSumsSse2,
                                simd::BlockSlopesSse2, simd::ResidualSquaresSse2};
constexpr CSimdKernels kAvx2 = {simd::CurveLengthAvx2, simd::SegmentLengthsAvx2, simd::WindowLagSumsAvx2,
                                simd::BlockSlopesAvx2, simd::ResidualSquaresAvx2};
#endif

} // namespace

const CSimdKernels& SimdKernels(SimdLevel asked)
{
    switch (ResolveSimdLevel(asked)) {
#if KESTRIN_SIMD_X86
    case SimdLevel::Avx2: return kAvx2;
    case SimdLevel::Sse2: return kSse2;
#endif
    default: return kPlain;
    }
}
