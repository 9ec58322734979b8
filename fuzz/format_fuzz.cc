// The number formatters on any double, width and precision (NaN, infinities, subnormals and
// the extremes of the 32-bit range included): they return text of bounded length and never
// fail; bit patterns round-trip; the documented angle conversion raises only its messages.
#include <bit>
#include <cmath>

#include "fuzz/fuzz_input.h"
#include "zeq/math1/math1.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  zeq::fuzz::TFuzzInput In(Data, Size);
  const double X = In.Take<double>();
  const int32_t Width = In.Take<int32_t>(), Decimals = In.Take<int32_t>();
  const int32_t SmallWidth = In.TakeInRange(-50, 200), SmallDecimals = In.TakeInRange(-5, 60);
  // A width is padding only: outputs may not grow with huge requests beyond a sane bound.
  const auto Bounded = [](const std::string& S) { return S.size() <= 4096; };
  ZEQ_FUZZ_CHECK(Bounded(zeq::strf(X, SmallWidth, SmallDecimals)));
  ZEQ_FUZZ_CHECK(Bounded(zeq::strff(X, SmallWidth, SmallDecimals)));
  ZEQ_FUZZ_CHECK(Bounded(zeq::StrFixed(X, SmallWidth, SmallDecimals)));
  ZEQ_FUZZ_CHECK(Bounded(zeq::StrScientific(X, SmallWidth)));
  if (Width < -1000 || Width > 1000) {  // extreme widths must not overflow or allocate wildly
    zeq::strff(X, Width, Decimals % 30);
    zeq::StrScientific(X, Width);
    zeq::strf(X, Width, Decimals % 30);
  }
  ZEQ_FUZZ_CHECK(Bounded(zeq::MakeEFormat(X, Width, Decimals)));
  ZEQ_FUZZ_CHECK(Bounded(zeq::EEngStr(X, Decimals)));
  ZEQ_FUZZ_CHECK(std::bit_cast<uint64_t>(zeq::HexToDouble(zeq::FPNumToHex(X))) ==
                 std::bit_cast<uint64_t>(X));
  const auto F = static_cast<float>(X);
  const float FBack = zeq::HexToSingle(zeq::FPNumToHex(F));
  ZEQ_FUZZ_CHECK(std::bit_cast<uint32_t>(FBack) == std::bit_cast<uint32_t>(F));
  zeq::TExtendedBytes B;  // any 80-bit pattern, unnormal encodings included
  for (uint8_t& Byte : B) Byte = In.Take<uint8_t>();
  const long double XBack = zeq::HexToExtended(zeq::FPNumToHex(zeq::BytesToExtended(B)));
  ZEQ_FUZZ_CHECK(zeq::ExtendedToBytes(XBack) == B);
  zeq::Decimal(static_cast<int64_t>(In.Take<uint64_t>()), In.Take<uint8_t>());
  zeq::Hex(In.Take<uint32_t>(), In.Take<uint8_t>());
  zeq::Bin(In.Take<uint32_t>(), In.Take<uint8_t>());
  const auto Format = static_cast<zeq::TDegreeFormat>(In.Take<uint8_t>() % 5);
  ZEQ_FUZZ_CHECK(Bounded(zeq::DegreeToStr(X, Format, Decimals)));
  double Deg = X, Min = In.Take<double>(), Sec = In.Take<double>();
  try {
    zeq::ConvertDegrees(Deg, Min, Sec, Format, static_cast<zeq::TDegreeFormat>(Width & 3));
  } catch (const zeq::EZEQError&) {
  }
  int32_t D = In.Take<int32_t>(), M = In.Take<int32_t>(), S = In.Take<int32_t>();
  zeq::RoundDegrees(D, M, S, In.TakeBool());
  return 0;
}
