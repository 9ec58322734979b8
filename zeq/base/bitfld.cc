// Bit field on std::vector<bool>.
#include "zeq/base/bitfld.h"

#include <algorithm>

namespace zeq {

TBitFld::TBitFld(TComponent* AOwner) : TComponent(AOwner) {}

void TBitFld::SetSize(int32_t HighestIndex) {
  FBits.resize(static_cast<size_t>(std::max<int64_t>(HighestIndex, -1) + 1), false);
}

void TBitFld::Clear() { std::fill(FBits.begin(), FBits.end(), false); }

void TBitFld::SetBit(int32_t Ix, bool Value) {
  if (Ix >= 0 && Ix <= Size()) FBits[static_cast<size_t>(Ix)] = Value;
}

bool TBitFld::GetBit(int32_t Ix) const {
  return Ix >= 0 && Ix <= Size() && FBits[static_cast<size_t>(Ix)];
}

int32_t TBitFld::CountTrueBits() const {
  const auto Count = std::count(FBits.begin(), FBits.end(), true);
  return static_cast<int32_t>(std::min<int64_t>(Count, INT32_MAX));
}

void TBitFld::Invert() { FBits.flip(); }

void TBitFld::Clone(const TBitFld* Source) {
  if (Source != nullptr && Source != this) FBits = Source->FBits;
}

void TBitFld::CombineWith(const TBitFld* Other, TLogicOp Op) {
  if (Other == nullptr) return;
  const size_t N = std::min(FBits.size(), Other->FBits.size());
  for (size_t i = 0; i < N; ++i) {
    const bool A = FBits[i];
    const bool B = Other->FBits[i];
    switch (Op) {
      case loAnd:
        FBits[i] = A && B;
        break;
      case loOr:
        FBits[i] = A || B;
        break;
      case loXor:
        FBits[i] = A != B;
        break;
      case loAndNot:
        FBits[i] = A && !B;
        break;
      default:
        return;  // an ordinal beyond the enumeration changes nothing
    }
  }
}

}  // namespace zeq
