// Table-driven CRC-32 (IEEE 802.3, reflected).
#include "zeq/base/crc.h"

#include "zeq/base/numtext.h"

namespace zeq {

namespace {

constexpr std::array<uint32_t, 256> MakeCRCTable() {
  std::array<uint32_t, 256> Table{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t C = i;
    for (int k = 0; k < 8; ++k) C = (C & 1u) ? (C >> 1) ^ 0xEDB88320u : C >> 1;
    Table[i] = C;
  }
  return Table;
}

constexpr std::array<uint32_t, 256> CRCTable = MakeCRCTable();

}  // namespace

uint32_t CalcNextCRC32(uint8_t Data, uint32_t CRC) {
  return CRCTable[(CRC ^ Data) & 0xFFu] ^ (CRC >> 8);
}

std::string HexOfCRC(uint32_t Value) { return PatternDigits(Value, 8, 4); }

}  // namespace zeq
