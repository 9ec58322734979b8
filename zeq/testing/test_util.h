// Helpers shared by the tests of every unit: expected exception messages, test data files,
// temporary files and near-comparisons. It is also the tests' common prelude: GoogleTest and
// the standard headers most test files use, so that each test file includes only what is
// particular to it. The test programs precompile it (cmake/ZeqTesting.cmake).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <numbers>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

namespace zeq::test {

// Call() must raise E with exactly Message.
template <class E, class F>
void ExpectThrowMessage(F&& Call, const std::string& Message) {
  try {
    Call();
    ADD_FAILURE() << "no exception; expected: " << Message;
  } catch (const E& Err) {
    EXPECT_EQ(std::string(Err.what()), Message);
  }
}

// The lines of a data file in the source tree (RelPath such as "zeq/math2/testdata/x.txt"),
// without blank lines and lines starting with '#'. An unreadable file fails the test.
// A path in the temporary folder for a test's file ("zeq_" + Name).
inline std::string TempPath(const std::string& Name) {
  return (std::filesystem::temp_directory_path() / ("zeq_" + Name)).string();
}
inline void WriteFile(const std::string& Path, const std::string& Bytes) {
  std::ofstream(Path, std::ios::binary) << Bytes;
}
inline std::string ReadFile(const std::string& Path) {
  std::ifstream In(Path, std::ios::binary);
  return {std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
}

inline std::vector<std::string> DataLines(const std::string& RelPath) {
  std::ifstream In(std::string(ZEQ_SOURCE_DIR) + "/" + RelPath);
  EXPECT_TRUE(In.good()) << "cannot read " << RelPath;
  std::vector<std::string> Lines;
  for (std::string L; std::getline(In, L);)
    if (!L.empty() && L[0] != '#') Lines.push_back(L);
  return Lines;
}

// The numbers of a line of white-space separated values.
inline std::vector<double> Numbers(const std::string& Line) {
  std::istringstream In(Line);
  std::vector<double> V;
  for (double X; In >> X;) V.push_back(X);
  return V;
}

// Log relative error (correct significant digits) of X against the certified C: the absolute
// error for C = 0, capped at 15.
// Expects Got as long as Expected and each value within Tol of its counterpart.
inline void ExpectAllNear(const std::vector<double>& Got, const std::vector<double>& Expected,
                          double Tol) {
  ASSERT_EQ(Got.size(), Expected.size());
  for (size_t i = 0; i < Got.size(); ++i)
    EXPECT_NEAR(Got[i], Expected[i], Tol) << "value " << i + 1;
}

inline double LRE(double X, double C) {
  const double Err = C == 0 ? std::fabs(X) : std::fabs(X - C) / std::fabs(C);
  return Err == 0 ? 15.0 : std::min(15.0, -std::log10(Err));
}

// The parts written one after another into one text (numbers in decimal).
template <class... P>
std::string Cat(const P&... Parts) {
  std::ostringstream S;
  (S << ... << Parts);
  return S.str();
}

}  // namespace zeq::test
