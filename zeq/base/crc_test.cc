#include <string_view>

#include "zeq/base/base.h"
#include "zeq/testing/test_util.h"

namespace zeq {
namespace {

TEST(CRC32, StandardCheckValue) {
  uint32_t R = 0xFFFFFFFF;
  for (char C : std::string_view("123456789")) R = CalcNextCRC32(static_cast<uint8_t>(C), R);
  EXPECT_EQ(~R, 0xCBF43926u);
}

// Python: ''.join('%08X' % zlib.crc32(bytes(b[k] for b in packed)) for k in range(4)) with
// packed = [struct.pack('<i', v) for v in values]. The eight registers of doubles: vector_test.
TEST(CheckString, IntegerElementsEmptyContentsAndSingleBytes) {
  EXPECT_EQ(CheckStringOf(std::vector<int32_t>{1, -2, 300000}), "D4B69D6E0563E69E6B08E0796C652460");
  EXPECT_EQ(CheckStringOf(std::vector<double>{}), std::string(64, '0'));
  EXPECT_EQ(CheckStringOf(std::vector<int32_t>{}), std::string(32, '0'));
  TCRCRegisters<2> Regs;
  for (char C : std::string_view("1234")) Regs.AddByte(0, static_cast<uint8_t>(C));
  // zlib.crc32(b'1234') = 0x9BE3E0A3; register 2 saw nothing.
  EXPECT_EQ(Regs.Str(), "9BE3E0A300000000");
}

}  // namespace
}  // namespace zeq
