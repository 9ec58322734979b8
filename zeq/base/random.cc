// SplitMix64 over one atomic counter: a draw is an atomic increment followed by a pure
// mixing function, so the generator needs no lock and never yields torn state.
#include "zeq/base/random.h"

#include <atomic>
#include <chrono>
#include <random>

namespace zeq {

namespace {

constexpr uint64_t GoldenGamma = 0x9E3779B97F4A7C15ull;
constinit std::atomic<uint64_t> State{0x853C49E6748FEA9Bull};

uint64_t Mix(uint64_t Z) {
  Z = (Z ^ (Z >> 30)) * 0xBF58476D1CE4E5B9ull;
  Z = (Z ^ (Z >> 27)) * 0x94D049BB133111EBull;
  return Z ^ (Z >> 31);
}

uint64_t Next() {
  return Mix(State.fetch_add(GoldenGamma, std::memory_order_relaxed) + GoldenGamma);
}

}  // namespace

double Random() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }

int32_t Random(int32_t Range) {
  if (Range <= 0) return 0;
  // Lemire's multiply-and-reject: unbiased for every Range.
  const auto N = static_cast<uint64_t>(Range);
  const uint64_t Threshold = (uint64_t{1} << 32) % N;
  for (;;) {
    const uint64_t M = (Next() >> 32) * N;
    if ((M & 0xFFFFFFFFull) >= Threshold) return static_cast<int32_t>(M >> 32);
  }
}

void Randomize() {
  const auto Ticks =
      static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  uint64_t Entropy = 0;
  try {
    std::random_device Device;
    Entropy = static_cast<uint64_t>(Device()) << 32 | Device();
  } catch (const std::exception&) {
    // No entropy source on this system: the clock alone seeds the generator.
  }
  SetRandSeed(Mix(Ticks ^ Entropy));
}

void SetRandSeed(uint64_t Seed) { State.store(Seed, std::memory_order_relaxed); }

uint64_t RandSeed() { return State.load(std::memory_order_relaxed); }

}  // namespace zeq
