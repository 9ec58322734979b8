// A test fixture that runs its test once per SIMD level of the library, so that every fast
// path the CPU can run is checked, not only the best one. Levels the CPU lacks are skipped.
#pragma once

#include "zeq/base/internal/simd.h"
#include "zeq/testing/test_util.h"

namespace zeq::test {

class SimdLevelTest : public ::testing::TestWithParam<detail::TSimdLevel> {
 protected:
  void SetUp() override {
    Saved = detail::ActiveSimdLevel();
    if (!detail::SetActiveSimdLevel(GetParam()))
      GTEST_SKIP() << "this CPU has no " << detail::SimdLevelName(GetParam()) << " level";
  }
  void TearDown() override { detail::SetActiveSimdLevel(Saved); }

 private:
  detail::TSimdLevel Saved = detail::TSimdLevel::Generic;
};

inline auto EverySimdLevel() {
  return ::testing::Values(detail::TSimdLevel::Generic, detail::TSimdLevel::Avx2,
                           detail::TSimdLevel::Avx512);
}

inline std::string SimdLevelParamName(const ::testing::TestParamInfo<detail::TSimdLevel>& Info) {
  return detail::SimdLevelName(Info.param);
}

}  // namespace zeq::test

// Declares the fixture Suite, whose TEST_P tests run once per SIMD level.
#define ZEQ_TEST_EVERY_SIMD_LEVEL(Suite)                                     \
  class Suite : public ::zeq::test::SimdLevelTest {};                        \
  INSTANTIATE_TEST_SUITE_P(EveryLevel, Suite, ::zeq::test::EverySimdLevel(), \
                           ::zeq::test::SimdLevelParamName)
