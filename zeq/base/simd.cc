// The CPU query and the active SIMD level behind zeq/base/internal/simd.h.
#include "zeq/base/internal/simd.h"

#include <atomic>

namespace zeq::detail {

namespace {

TSimdLevel QueryCpu() {
#ifdef ZEQ_SIMD_X86
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx512f")) return TSimdLevel::Avx512;
  if (__builtin_cpu_supports("avx2")) return TSimdLevel::Avx2;
#endif
  return TSimdLevel::Generic;
}

std::atomic<TSimdLevel>& Active() {
  static std::atomic<TSimdLevel> Level{CpuSimdLevel()};
  return Level;
}

}  // namespace

TSimdLevel CpuSimdLevel() {
  static const TSimdLevel Best = QueryCpu();
  return Best;
}

TSimdLevel ActiveSimdLevel() { return Active().load(std::memory_order_relaxed); }

bool SetActiveSimdLevel(TSimdLevel Level) {
  if (Level > CpuSimdLevel()) return false;
  Active().store(Level, std::memory_order_relaxed);
  return true;
}

const char* SimdLevelName(TSimdLevel Level) {
  switch (Level) {
    case TSimdLevel::Avx512:
      return "avx512";
    case TSimdLevel::Avx2:
      return "avx2";
    default:
      return "generic";
  }
}

}  // namespace zeq::detail
