// The text parsers on untrusted strings: numbers, hexadecimal bit patterns, bracket checks,
// quoted names and string helpers. Parsers either succeed or report failure as documented,
// and what a number parser accepts formats and parses back to the same value.
#include <bit>
#include <cmath>

#include "fuzz/fuzz_input.h"
#include "zeq/math1/math1.h"
#include "zeq/math2/geometry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const std::string_view Text(reinterpret_cast<const char*>(Data), Size);
  int32_t I = 12345;
  if (zeq::TryStrToInt(Text, I)) {
    int32_t Back = 0;
    ZEQ_FUZZ_CHECK(zeq::TryStrToInt(std::to_string(I), Back) && Back == I);
    ZEQ_FUZZ_CHECK(zeq::StrToIntDefault(Text, 0) == I);
  } else {
    ZEQ_FUZZ_CHECK(I == 12345);  // unchanged on failure
    ZEQ_FUZZ_CHECK(zeq::StrToIntDefault(Text, 77) == 77);
  }
  double X = 0.5;
  if (zeq::TryStrToFloat(Text, X) && std::isfinite(X)) {
    double Back = 0;
    ZEQ_FUZZ_CHECK(zeq::TryStrToFloat(zeq::StrScientific(X, 26), Back));
    ZEQ_FUZZ_CHECK(Back == X);
  }
  try {
    const double H = zeq::HexToDouble(Text);
    ZEQ_FUZZ_CHECK(std::bit_cast<uint64_t>(zeq::HexToDouble(zeq::FPNumToHex(H))) ==
                   std::bit_cast<uint64_t>(H));
    zeq::HexToSingle(Text);
    zeq::HexToExtended(Text);
  } catch (const zeq::EZEQError&) {
  }
  const int32_t Brackets = zeq::CheckParanthInExp(Text);
  ZEQ_FUZZ_CHECK(Brackets >= -static_cast<int64_t>(Size) && Brackets <= static_cast<int64_t>(Size));
  zeq::TQuotedNameState State = zeq::qnsBefore;
  std::string Name;
  for (const char C : Text) zeq::ParseQuotedName(C, ',', State, Name);
  ZEQ_FUZZ_CHECK(zeq::RemoveControlChars(Text).size() <= Size);
  zeq::StringContains(Text, Text.substr(Size / 2));
  return 0;
}
