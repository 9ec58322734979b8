// Test-only replacements of the global operator new, linked into the test programs that
// provoke allocation failures:
// - requests above 4 GiB fail as if memory were exhausted, so that the failure paths run
//   without touching real memory;
// - while a TFailingAllocation scope is alive, its N-th allocation fails (see
//   alloc_failure.h), so that a test can fail every allocation of an operation in turn.
// It lives in a file of its own so that no test inlines these replacements.
#include <cstdlib>
#include <new>

#include "zeq/testing/alloc_failure.h"

namespace {
constexpr std::size_t AllocationLimit = std::size_t{1} << 32;
// Allocations left before the armed failure (0: disarmed) and whether it has fired.
int64_t Countdown = 0;
bool HasFired = false;
}  // namespace

namespace zeq::test {

TFailingAllocation::TFailingAllocation(int64_t N) {
  Countdown = N;
  HasFired = false;
}
TFailingAllocation::~TFailingAllocation() { Countdown = 0; }
bool TFailingAllocation::Fired() const { return HasFired; }

}  // namespace zeq::test

void* operator new(std::size_t Size) {
  if (Size > AllocationLimit) throw std::bad_alloc();
  if (Countdown > 0 && --Countdown == 0) {
    HasFired = true;
    throw std::bad_alloc();
  }
  if (void* P = std::malloc(Size == 0 ? 1 : Size)) return P;
  throw std::bad_alloc();
}
void operator delete(void* P) noexcept { std::free(P); }
void operator delete(void* P, std::size_t) noexcept { std::free(P); }
