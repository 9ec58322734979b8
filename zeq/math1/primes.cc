// Primes, prime factors, fractions and factorials.
//
// The table of the first 4792 primes (all primes below sqrt(2^31)) is computed by a sieve
// at compile time, so it cannot hold a typing error.
#include <array>
#include <cmath>
#include <numeric>

#include "zeq/math1/math1.h"

namespace zeq {

namespace {

constexpr int32_t NumPrimes = 4792;
constexpr int32_t LargestTabledPrime = 46337;

constexpr std::array<int32_t, NumPrimes> SievePrimes() {
  std::array<bool, LargestTabledPrime + 1> Composite{};
  std::array<int32_t, NumPrimes> Primes{};
  size_t Count = 0;
  for (int32_t i = 2; i <= LargestTabledPrime && Count < Primes.size(); ++i) {
    if (Composite[static_cast<size_t>(i)]) continue;
    Primes[Count++] = i;
    for (int64_t j = int64_t{i} * i; j <= LargestTabledPrime; j += i)
      Composite[static_cast<size_t>(j)] = true;
  }
  return Primes;
}

constexpr std::array<int32_t, NumPrimes> PrimeTable = SievePrimes();
static_assert(PrimeTable.back() == LargestTabledPrime,
              "the table ends at the largest prime below sqrt(2^31)");

}  // namespace

int32_t ListOfPrimes(int32_t Index) {
  if (Index < 1 || Index > NumPrimes) return 0;
  return PrimeTable[static_cast<size_t>(Index - 1)];
}

bool IsPrime(int32_t N) {
  const int64_t A = std::llabs(int64_t{N});
  if (A < 2) return false;
  // Trial division by the tabled primes gives the same answer as by every integer up to
  // sqrt(|N|): the table reaches beyond sqrt(2^31).
  for (int32_t P : PrimeTable) {
    if (int64_t{P} * P > A) break;
    if (A % P == 0) return false;
  }
  return true;
}

void FindPrimeFactors(int32_t N, TIntArray& Factors) {
  Factors.clear();
  if (N < 2) return;
  const auto Bound = static_cast<int32_t>(std::trunc(std::sqrt(static_cast<double>(N)))) + 1;
  int32_t Rest = N;
  for (int32_t P : PrimeTable) {
    if (P >= Bound) break;
    while (Rest % P == 0) {
      Factors.push_back(P);
      Rest /= P;
    }
  }
  if (Rest >= 2) Factors.push_back(Rest);
}

void CancelFraction(int32_t& Numerator, int32_t& Denominator) {
  if (Numerator == 0 || Denominator == 0) return;
  // Dividing by every common divisor until none is left is dividing by the greatest one.
  const int64_t G = std::gcd(int64_t{Numerator}, int64_t{Denominator});
  Numerator = static_cast<int32_t>(Numerator / G);
  Denominator = static_cast<int32_t>(Denominator / G);
}

long double Factorial(int32_t N) {
  if (N < 0) throw EZEQMath1Error("Factorial: negative argument");
  if (N > 1000) throw EZEQMath1Error("Factorial: argument too big");
  long double F = 1.0L;
  for (int32_t i = 2; i <= N; ++i) F *= i;
  return F;
}

}  // namespace zeq
