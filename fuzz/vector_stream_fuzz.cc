// Vector blocks from untrusted streams: LoadFromStream on both element types. A failed load
// keeps the size; a vector never grows beyond what the stream's values can back; a block
// that loads writes back and loads again to the same values.
#include <memory>

#include "fuzz/fuzz_input.h"
#include "zeq/vector/vector.h"

namespace {

template <class V>
void LoadBlock(std::string_view Bytes, bool Adjust) {
  V Vec;
  Vec.Resize(3);
  zeq::TMemoryStream In;
  In.Write(Bytes.data(), static_cast<int64_t>(Bytes.size()));
  In.Seek(0, zeq::soBeginning);
  const bool Loaded = Vec.LoadFromStream(&In, Adjust);
  if (!Loaded) ZEQ_FUZZ_CHECK(Vec.NrOfElem() == 3);
  // 8-byte header, then at least 4 bytes a value: the size is backed by the stream's values
  // (the gap before a block may be as large as the block, or 65536).
  ZEQ_FUZZ_CHECK(Vec.NrOfElem() <= 3 + 2 * static_cast<int64_t>(Bytes.size()) + 65536);
  if (!Loaded || Bytes.size() < 8) return;
  int32_t Lo, Hi;
  std::memcpy(&Lo, Bytes.data(), 4);
  std::memcpy(&Hi, Bytes.data() + 4, 4);
  if (Lo < 1 || Hi < Lo || Hi > Vec.NrOfElem()) return;
  zeq::TMemoryStream* Out = nullptr;
  Vec.SaveToStream(Out, Lo, Hi);
  const std::unique_ptr<zeq::TMemoryStream> Owned(Out);
  V Copy;
  Copy.Resize(Vec.NrOfElem());
  Out->Seek(0, zeq::soBeginning);
  ZEQ_FUZZ_CHECK(Copy.LoadFromStream(Out, false));
  zeq::fuzz::CheckSameValues(Vec, Copy, Lo, Hi);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  zeq::fuzz::TFuzzInput In(Data, Size);
  const uint8_t Mode = In.Take<uint8_t>();
  const std::string_view Bytes = In.Rest();
  if (Mode & 2)
    LoadBlock<zeq::TIntVector>(Bytes, Mode & 1);
  else
    LoadBlock<zeq::TVector>(Bytes, Mode & 1);
  return 0;
}
