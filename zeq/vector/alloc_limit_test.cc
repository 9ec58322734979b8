// The allocation limit of the vector test program: requests above 4 GiB fail as if memory
// were exhausted, so that allocation failures can be provoked without touching real memory.
// Kept in a file of its own so that no test code inlines these definitions.
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
