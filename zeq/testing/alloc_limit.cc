// A test-only allocation limit, linked into the test programs that provoke allocation
// failures: requests above 4 GiB fail as if memory were exhausted, so that the failure paths
// run without touching real memory. It lives in a file of its own so that no test inlines
// these replacements of the global operator new and delete.
#include <cstdlib>
#include <new>

namespace {
constexpr std::size_t AllocationLimit = std::size_t{1} << 32;
}

void* operator new(std::size_t Size) {
  if (Size > AllocationLimit) throw std::bad_alloc();
  if (void* P = std::malloc(Size == 0 ? 1 : Size)) return P;
  throw std::bad_alloc();
}
void operator delete(void* P) noexcept { std::free(P); }
void operator delete(void* P, std::size_t) noexcept { std::free(P); }
