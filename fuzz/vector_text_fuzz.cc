// Vector text files from untrusted bytes: LoadFromFile with and without header detection on
// both element types. A load never grows the vector beyond what the file's values back, and
// whatever StoreOnFile writes (17 significant digits) loads back to the same values.
#include "fuzz/fuzz_input.h"
#include "zeq/vector/vector.h"

namespace {

template <class V, class... Mode>
void LoadText(const std::string& File, size_t Bytes, Mode... Modes) {
  V Vec;
  Vec.Resize(3);
  // A load that stops at an unreadable value keeps what it read (the size too, when the
  // header or the line count set it): only the bound holds for every outcome.
  Vec.LoadFromFile(File, Modes...);
  ZEQ_FUZZ_CHECK(Vec.NrOfElem() <= 3 + 2 * static_cast<int64_t>(Bytes) + 65536);
}

void RoundTrip(const std::string& File) {
  zeq::TVector Vec;
  Vec.Resize(3);
  if (!Vec.LoadFromFile(File, true) || Vec.NrOfElem() > 4096) return;
  const std::string Out = File + ".out";
  ZEQ_FUZZ_CHECK(Vec.StoreOnFile(1, Vec.NrOfElem(), -2, Out));
  zeq::TVector Copy;
  Copy.Resize(1);
  ZEQ_FUZZ_CHECK(Copy.LoadFromFile(Out, true));
  ZEQ_FUZZ_CHECK(Copy.NrOfElem() == Vec.NrOfElem());
  zeq::fuzz::CheckSameValues(Vec, Copy, 1, Vec.NrOfElem());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  zeq::fuzz::TFuzzInput In(Data, Size);
  const uint8_t Mode = In.Take<uint8_t>();
  const std::string_view Bytes = In.Rest();
  const std::string File = zeq::fuzz::ScratchFile(Bytes);
  const bool Adjust = Mode & 1, AutoDetect = Mode & 2;
  switch ((Mode >> 2) % 3) {
    case 0:
      LoadText<zeq::TVector>(File, Bytes.size(), Adjust, AutoDetect);
      break;
    case 1:
      LoadText<zeq::TIntVector>(File, Bytes.size(), Adjust);
      break;
    default:
      RoundTrip(File);
  }
  return 0;
}
