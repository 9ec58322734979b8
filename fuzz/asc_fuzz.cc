// ASC files from untrusted bytes: the header reader and the curve fit's import. A failed
// import keeps the points it had; nothing is allocated from a header's claims alone.
#include "fuzz/fuzz_input.h"
#include "zeq/math2/curvefit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const std::string File =
      zeq::fuzz::ScratchFile(std::string_view(reinterpret_cast<const char*>(Data), Size));
  zeq::TAscHeader Header;
  const int32_t Code = zeq::ReadHeaderOfASC(File, Header);
  ZEQ_FUZZ_CHECK(Code <= 0 && Code >= -4);
  zeq::TCurveFit Fit;
  Fit.EnterStatValue(1, 2);
  Fit.EnterStatValue(3, 5);
  int32_t Result = -100;
  try {
    Result = Fit.ImportASC(File);
  } catch (const zeq::EZEQMath2Error&) {  // a column count other than 2
    return 0;
  }
  ZEQ_FUZZ_CHECK(Result <= 0 && Result >= -7);
  if (Result != 0) {
    ZEQ_FUZZ_CHECK(Fit.NumData() == 2);
    ZEQ_FUZZ_CHECK(Fit.DataX(2) == 3 && Fit.DataY(2) == 5);
  } else {
    ZEQ_FUZZ_CHECK(static_cast<size_t>(Fit.NumData()) <= Size);
  }
  return 0;
}
