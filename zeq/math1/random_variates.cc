// Random variates on top of the process-wide uniform generator, and the library's own
// combined generator LongRand.
//
// LongRand's seeds are drawn from the uniform generator once, when the library is loaded.
// They sit in a function-local static so that a call made during another translation
// unit's static initialisation still finds them seeded; the namespace-scope initialiser
// below makes sure the draws happen at load time even when nobody calls LongRand early.
#include <cmath>
#include <mutex>
#include <numbers>

#include "zeq/math1/math1.h"

namespace zeq {

namespace {

struct TLongRandState {
  int32_t S1, S2, S3;
  std::mutex Lock;
};

int32_t SeedFromUniform() { return static_cast<int32_t>(std::nearbyint(Random() * 990000.0)); }

TLongRandState& LongRandState() {
  static TLongRandState State{SeedFromUniform(), SeedFromUniform(), SeedFromUniform(), {}};
  return State;
}

[[maybe_unused]] const bool LongRandSeededAtLoad = (LongRandState(), true);

// The Gaussian pair cache of the polar method, one per thread.
struct TGaussCache {
  bool Full = false;
  double Value = 0.0;
};
thread_local TGaussCache GaussCache;

}  // namespace

bool BRandom(double P) { return P >= 1.0 || Random() < P; }

double CRandom(double Location, double Scale) {
  return Location + Scale * std::tan(std::numbers::pi * (Random() - 0.5));
}

double GRandom() {
  if (GaussCache.Full) {
    GaussCache.Full = false;
    return GaussCache.Value;
  }
  double U1, U2, S;
  do {
    U1 = 2.0 * Random() - 1.0;
    U2 = 2.0 * Random() - 1.0;
    S = U1 * U1 + U2 * U2;
  } while (!(S > 0.0 && S < 1.0));
  const double F = std::sqrt(-2.0 * std::log(S) / S);
  GaussCache = {true, U1 * F};
  return U2 * F;
}

double LongRand(int32_t Seed) {
  TLongRandState& St = LongRandState();
  std::lock_guard<std::mutex> Guard(St.Lock);
  if (Seed != 0) {
    // 32-bit signed arithmetic: the shifts wrap, the remainders keep the sign of v.
    const int32_t V = Seed % 990923;
    const auto Shifted = [V](int Bits) {
      return static_cast<int32_t>(static_cast<uint32_t>(V) << Bits) ^ V;
    };
    St.S1 = V < 0 ? -V : V;
    St.S2 = static_cast<int32_t>(std::llabs(int64_t{Shifted(8)}) % 990923);
    St.S3 = static_cast<int32_t>(std::llabs(int64_t{Shifted(16)}) % 990923);
  }
  St.S1 = St.S1 * 1187 % 1001003;
  St.S2 = St.S2 * 983 % 990923;
  St.S3 = St.S3 * 1283 % 1400423;
  const long double R = St.S1 / 1001003.0L + St.S2 / 990923.0L + St.S3 / 1400423.0L;
  return static_cast<double>(R - std::trunc(R));
}

}  // namespace zeq
