// Failing each allocation of an operation in turn (the test programs linked with the
// test-only allocation limit, ALLOC_LIMIT in cmake/ZeqTesting.cmake):
//
//   ForEachAllocationFailure([&](int64_t N) {
//     TVector V;  V.Resize(10);            // set up without failures
//     bool Fired;
//     {
//       TFailingAllocation Fail(N);
//       try { V.Resize(1000); } catch (...) {}
//       Fired = Fail.Fired();
//     }
//     if (Fired) { ... expect V as it was ... }
//     return Fired;
//   });
#pragma once

#include <cstdint>

namespace zeq::test {

// While alive, the N-th allocation through operator new (counted from the construction)
// fails with std::bad_alloc. Scopes do not nest.
class TFailingAllocation {
 public:
  explicit TFailingAllocation(int64_t N);
  ~TFailingAllocation();
  TFailingAllocation(const TFailingAllocation&) = delete;
  TFailingAllocation& operator=(const TFailingAllocation&) = delete;
  // Whether the N-th allocation was reached (and failed).
  bool Fired() const;
};

// Calls Attempt(N) for N = 1, 2, ... while it returns true (its N-th allocation failed) and
// returns the number of failing attempts: the operation's allocation count. A bound of one
// million attempts stops an operation that never runs through.
template <class TAttempt>
int64_t ForEachAllocationFailure(TAttempt&& Attempt) {
  int64_t N = 1;
  while (N <= 1000000 && Attempt(N)) ++N;
  return N - 1;
}

}  // namespace zeq::test
