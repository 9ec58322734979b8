/// @file
/// TBitFld: a resizable field of bits addressed from 0.
#pragma once

#include <cstdint>
#include <vector>

#include "zeq/base/export.h"
#include "zeq/base/object.h"
#include "zeq/base/types.h"

namespace zeq {

/// A resizable field of bits addressed from 0 (new bits are false), with bitwise combination of
/// two fields.
class ZEQ_API TBitFld : public TComponent {
 public:
  /// An empty field (no bits; Size() is -1).
  explicit TBitFld(TComponent* AOwner = nullptr);
  std::string ClassName() const override { return "TBitFld"; }

  /// The highest bit index (bit count - 1).
  /// (64-bit arithmetic: SetSize(INT32_MAX) holds 2^31 bits.)
  int32_t Size() const { return static_cast<int32_t>(static_cast<int64_t>(FBits.size()) - 1); }
  /// Resizes to bits 0..HighestIndex (a negative index empties the field); bits that stay
  /// keep their values, new bits are false.
  void SetSize(int32_t HighestIndex);

  /// Every bit false; the size stays.
  void Clear();
  ///@{
  /// Bits outside 0..Size() read false; writes there are ignored.
  void SetBit(int32_t Ix, bool Value);
  bool GetBit(int32_t Ix) const;
  ///@}
  /// Saturates at INT32_MAX (a field of 2^31 true bits has one more).
  int32_t CountTrueBits() const;
  /// Every bit flipped.
  void Invert();
  /// Copies size and bits of Source (null: nothing happens).
  void Clone(const TBitFld* Source);
  /// this := this Op Other over the bits both fields have; bits beyond Other's size keep
  /// their values. A null Other does nothing.
  void CombineWith(const TBitFld* Other, TLogicOp Op);

 private:
  std::vector<bool> FBits;
};

}  // namespace zeq
