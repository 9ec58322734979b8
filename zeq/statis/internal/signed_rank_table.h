// The table of critical values of the Wilcoxon signed-rank statistic, generated on first use
// from the statistic's exact null distribution.
#pragma once

#include <array>
#include <cstdint>

namespace zeq::detail {

// The two-sided levels of the table's columns.
inline constexpr std::array<double, 5> SignedRankLevels = {0.1, 0.05, 0.02, 0.01, 0.001};
inline constexpr int32_t SignedRankTableLow = 6, SignedRankTableHigh = 100;

// The largest t >= 0 with P(T <= t) <= alpha / 2 for n observations and the two-sided level
// SignedRankLevels[Level], 0 when no t qualifies; -1 outside the table.
int32_t SignedRankCriticalValue(int32_t n, int32_t Level);

}  // namespace zeq::detail
