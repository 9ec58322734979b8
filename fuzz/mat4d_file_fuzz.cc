// 4-D record files from untrusted bytes: header, whole loads and single layers. A load that
// fails raises and leaves the array as it was; no header claim allocates unchecked.
#include "fuzz/fuzz_input.h"
#include "zeq/matrix/mat4d.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  zeq::fuzz::TFuzzInput In(Data, Size);
  const int32_t First = In.TakeInRange(-2, 5), Last = In.TakeInRange(-2, 5);
  const int32_t Layer = In.TakeInRange(0, 4), Slot = In.TakeInRange(0, 4);
  const std::string_view Bytes = In.Rest();
  const std::string File = zeq::fuzz::ScratchFile(Bytes);
  zeq::TMat4D M;
  M.Resize(2, 2, 1, 1);
  M.SetVal(2, 1, 1, 1, 7.5);
  int32_t Nc = 0, Nr = 0, Nl = 0, Nt = 0;
  std::string Id;
  try {
    M.ReadBinaryHeader(File, Nc, Nr, Nl, Nt, Id);
  } catch (const zeq::EInOutError&) {  // a file shorter than its header record
  }
  const std::string Before = M.CRCofData();
  try {
    M.LoadBinary(File, First, Last);
    // Whatever loaded came from the file's records: 8 bytes a value.
    ZEQ_FUZZ_CHECK(int64_t{M.NrOfColumns()} * M.NrOfRows() * M.NrOfLayers() * M.NrOfTimeSlots() <=
                   static_cast<int64_t>(Bytes.size() / 8) + 1);
  } catch (const zeq::Exception&) {
    ZEQ_FUZZ_CHECK(M.CRCofData() == Before);
  }
  try {
    M.ReadLayer(File, Layer, Slot);
    zeq::TDouble2DArray Plane;
    M.ReadLayer(File, Layer, Slot, Plane);
  } catch (const zeq::Exception&) {
  }
  return 0;
}
