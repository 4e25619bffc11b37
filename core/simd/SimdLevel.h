#pragma once

// The vector instructions the numeric kernels run with, chosen once at run
// time. Every level performs exactly the same IEEE operations in the same
// order for every result (no fused multiply-add, no reassociation), so the
// level changes the speed, never a bit of a number.
enum class SimdLevel
{
    Plain = 0,     // one double at a time, plain C++ (every processor)
    Sse2 = 1,      // two doubles per register (every x86-64 processor)
    Avx2 = 2,      // four doubles per register (x86-64 with AVX2)
    Automatic = 3, // the widest the processor runs
};

// The widest level this processor runs: Avx2 or Sse2 on x86-64, Plain
// elsewhere.
SimdLevel DetectedSimdLevel();

// The widest level used from now on, whatever a computation asks (for the
// tests, which compare the levels; Automatic lifts the limit).
void SetSimdLimit(SimdLevel level);

// The level a computation that asks for `asked` runs with: the narrowest of
// the asked level, the limit and what the processor runs.
SimdLevel ResolveSimdLevel(SimdLevel asked = SimdLevel::Automatic);

// "Plain", "SSE2", "AVX2" or "Automatic" (for test names and traces).
const char* SimdLevelName(SimdLevel level);
