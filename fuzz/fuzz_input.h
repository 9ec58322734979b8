// Helpers of the fuzz targets: reading typed values off the fuzzer's bytes, a scratch file per
// process, and a check that stops the run with a message (the fuzzer then keeps the input).
#pragma once

#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <string_view>

#define ZEQ_FUZZ_CHECK(Condition)                                                        \
  do {                                                                                   \
    if (!(Condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #Condition); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (0)

namespace zeq::fuzz {

// Consumes the input front to back; past its end every value reads as zero.
class TFuzzInput {
 public:
  TFuzzInput(const uint8_t* Data, size_t Size) : FData(Data), FSize(Size) {}

  template <class T>
  T Take() {
    T Value{};
    const size_t n = std::min(sizeof(T), FSize - FPos);
    std::memcpy(&Value, FData + FPos, n);
    FPos += n;
    return Value;
  }
  bool TakeBool() { return (Take<uint8_t>() & 1) != 0; }
  // An integer in Lo..Hi.
  int32_t TakeInRange(int32_t Lo, int32_t Hi) {
    const auto Span = static_cast<uint32_t>(static_cast<int64_t>(Hi) - Lo + 1);
    return static_cast<int32_t>(Lo + static_cast<int64_t>(Take<uint32_t>() % Span));
  }
  std::string_view Rest() {
    const std::string_view R(reinterpret_cast<const char*>(FData + FPos), FSize - FPos);
    FPos = FSize;
    return R;
  }
  bool Empty() const { return FPos >= FSize; }

 private:
  const uint8_t* FData;
  size_t FSize;
  size_t FPos = 0;
};

// A scratch file of this process holding Bytes; its name.
inline std::string ScratchFile(std::string_view Bytes, const char* Tag = "in") {
  const std::string Name = "/tmp/zeq_fuzz_" + std::to_string(::getpid()) + "_" + Tag;
  std::ofstream(Name, std::ios::binary | std::ios::trunc)
      .write(Bytes.data(), static_cast<std::streamsize>(Bytes.size()));
  return Name;
}

// Stops the run unless vectors A and B hold the same values at First..Last (a NaN equals a
// NaN: its payload need not survive a write and a read).
template <class V>
void CheckSameValues(const V& A, const V& B, int32_t First, int32_t Last) {
  for (int32_t i = First; i <= Last; ++i) {
    const double X = A.GetVal(i), Y = B.GetVal(i);
    ZEQ_FUZZ_CHECK(X == Y || (std::isnan(X) && std::isnan(Y)));
  }
}

}  // namespace zeq::fuzz
