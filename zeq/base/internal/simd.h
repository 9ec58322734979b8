// Run-time choice of the SIMD code paths, the same for every fast path of the library: one
// query of the CPU, one active level that tests may lower, and one way to compile a loop for
// each level and dispatch to the right copy.
//
// A fast path written with ZEQ_SIMD_FUNCTION computes the same bits at every level (the
// build forbids fused multiply-add and every copy runs the same operations in the same
// order); the levels differ only in how many lanes run at once.
#pragma once

#include <cstdint>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define ZEQ_SIMD_X86 1
#define ZEQ_TARGET_AVX2 __attribute__((target("avx2")))
#define ZEQ_TARGET_AVX512 __attribute__((target("avx512f")))
#else
#define ZEQ_TARGET_AVX2
#define ZEQ_TARGET_AVX512
#endif

namespace zeq::detail {

enum class TSimdLevel : uint8_t { Generic, Avx2, Avx512 };

// The best level this CPU runs (Generic on other architectures).
TSimdLevel CpuSimdLevel();
// The level the fast paths use: CpuSimdLevel() unless lowered by SetActiveSimdLevel.
TSimdLevel ActiveSimdLevel();
// Makes Level the active one; false (nothing changes) when the CPU lacks it. For tests, which
// check every level against a plain loop.
bool SetActiveSimdLevel(TSimdLevel Level);
// "generic", "avx2" or "avx512".
const char* SimdLevelName(TSimdLevel Level);

// The variant for the active level.
template <class T>
T PickSimd(T Generic, T Avx2, T Avx512) {
  switch (ActiveSimdLevel()) {
    case TSimdLevel::Avx512:
      return Avx512;
    case TSimdLevel::Avx2:
      return Avx2;
    default:
      return Generic;
  }
}

}  // namespace zeq::detail

// The body of a SIMD function: inlined into each per-level copy, where the compiler
// vectorises it for that level's registers.
#define ZEQ_SIMD_BODY [[gnu::always_inline]] inline

// Defines `void Name Params`, which runs Name##Body Args compiled for the active level. Use in
// an anonymous namespace of a .cc file, after the ZEQ_SIMD_BODY function Name##Body.
#define ZEQ_SIMD_FUNCTION(Name, Params, Args)                     \
  ZEQ_TARGET_AVX512 void Name##Avx512 Params { Name##Body Args; } \
  ZEQ_TARGET_AVX2 void Name##Avx2 Params { Name##Body Args; }     \
  void Name##Generic Params { Name##Body Args; }                  \
  void Name Params { ::zeq::detail::PickSimd(&Name##Generic, &Name##Avx2, &Name##Avx512) Args; }
