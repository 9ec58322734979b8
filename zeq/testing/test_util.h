// Helpers shared by the tests of every unit: expected exception messages, test data files,
// temporary files and near-comparisons. It is also the tests' common prelude: GoogleTest and
// the standard headers most test files use, so that each test file includes only what is
// particular to it. The test programs precompile it (cmake/ZeqTesting.cmake).
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
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
#include <string_view>
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

// A path in the temporary folder for a test's file ("zeq_<process id>_" + Name): test runs of
// other build trees on the same machine use other files.
inline std::string TempPath(const std::string& Name) {
  return (std::filesystem::temp_directory_path() /
          ("zeq_" + std::to_string(::getpid()) + "_" + Name))
      .string();
}
inline void WriteFile(const std::string& Path, const std::string& Bytes) {
  std::ofstream(Path, std::ios::binary) << Bytes;
}
inline std::string ReadFile(const std::string& Path) {
  std::ifstream In(Path, std::ios::binary);
  return {std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
}

// The lines of a data file in the source tree (RelPath such as "zeq/math2/testdata/x.txt"),
// without blank lines and lines starting with '#'. An unreadable file fails the test.
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

// A data line "Name 1 2.5 ...": its first word and the numbers after it.
inline std::pair<std::string, std::vector<double>> NamedNumbers(const std::string& Line) {
  const size_t End = std::min(Line.find(' '), Line.size());
  return {Line.substr(0, End), Numbers(Line.substr(End))};
}

// Expects Got as long as Expected and each value within Tol of its counterpart.
inline void ExpectAllNear(const std::vector<double>& Got, const std::vector<double>& Expected,
                          double Tol) {
  ASSERT_EQ(Got.size(), Expected.size());
  for (size_t i = 0; i < Got.size(); ++i)
    EXPECT_NEAR(Got[i], Expected[i], Tol) << "value " << i + 1;
}

// Log relative error (correct significant digits) of X against the certified C: the absolute
// error for C = 0, capped at 15.
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

// Counts the OnChange calls of an object, which must not notify after the counter is gone.
struct TChangeCounter {
  int Count = 0;
  template <class T>
  explicit TChangeCounter(T& X) {
    X.OnChange = [this](auto*) { ++Count; };
  }
};

// Test inputs that the reference scripts (tests/tools/plain_reference.py) repeat exactly:
// SplitMix64, and doubles uniform in [-1, 1) from its top 53 bits.
class TTestRandom {
 public:
  explicit TTestRandom(uint64_t Seed) : FState(Seed) {}
  uint64_t Next() {
    uint64_t Z = FState += 0x9E3779B97F4A7C15u;
    Z = (Z ^ (Z >> 30)) * 0xBF58476D1CE4E5B9u;
    Z = (Z ^ (Z >> 27)) * 0x94D049BB133111EBu;
    return Z ^ (Z >> 31);
  }
  double Uniform() { return static_cast<double>(Next() >> 11) * 0x1.0p-53 * 2.0 - 1.0; }

 private:
  uint64_t FState;
};

// A hash of bit patterns in order (FNV-1a over 64-bit words): the form in which the reference
// scripts record long bit-exact results.
struct TBitsHash {
  uint64_t Value = 14695981039346656037u;
  void Add(double X) { Value = (Value ^ std::bit_cast<uint64_t>(X)) * 1099511628211u; }
};

// The reference file's line that starts with Key (its words after the key), "" if none.
inline std::string ReferenceLine(const std::string& RelPath, const std::string& Key) {
  for (const std::string& L : DataLines(RelPath))
    if (L.rfind(Key + " ", 0) == 0) return L.substr(Key.size() + 1);
  ADD_FAILURE() << "no line " << Key << " in " << RelPath;
  return "";
}

// A 64-bit hexadecimal word of a reference line (0-based).
inline uint64_t HexWord(const std::string& Words, size_t Index) {
  std::istringstream In(Words);
  std::string W;
  for (size_t i = 0; i <= Index; ++i) In >> W;
  return std::stoull(W, nullptr, 16);
}

}  // namespace zeq::test
