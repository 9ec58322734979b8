// Shared types of the library: array types, selector enumerations, point and rectangle
// records, the event types and the constants every unit relies on.
//
// Enumerations are unscoped with an explicit 8-bit base so that values read as in the
// documentation (`dmEuclid`, `vkDouble`) and keep the ordinals the routines test.
#pragma once

#include <cfloat>
#include <cstdint>
#include <functional>
#include <vector>

#include "zeq/base/export.h"

namespace zeq {

class TObject;

// 0-based growable arrays.
using TDoubleArray = std::vector<double>;
using TIntArray = std::vector<int32_t>;
using TDouble2DArray = std::vector<std::vector<double>>;
using TPDblArray = double*;

// Selects the columns (ordinal 0) or the rows (ordinal 1) of a matrix.
enum TDims : uint8_t { dimColumns, dimRows };

// Ordinal 0 works along each row (one result per row), ordinal 1 along each column.
enum TOrientation : uint8_t { orHorizontal, orVertical };

// Element kinds of the untyped array routines: ordinals 0 and 1 are 64-bit floating values,
// 2 is 32-bit floating, 3 and 4 are 32-bit signed integers. The other kinds are not handled
// by the array routines, which then do nothing.
enum TVarKind : uint8_t {
  vkDouble,
  vkReal,
  vkSingle,
  vkInteger,
  vkLongint,
  vkByte,
  vkWord,
  vkString
};

// Angle notations: decimal degrees, degrees + decimal minutes, degrees + minutes + decimal
// seconds, and the plain number without a degree sign.
enum TDegreeFormat : uint8_t { dfDecimal, dfDegMin, dfDegMinSec, dfPlain };

// Bitwise combinations of two bit fields (`TBitFld::CombineWith`): the result is
// this op Other, where loAndNot clears every bit that is set in Other.
enum TLogicOp : uint8_t { loAnd, loOr, loXor, loAndNot };

struct ZEQ_API TPointDouble {
  double X;
  double Y;
};

struct ZEQ_API TRectDouble {
  double Left;
  double Top;
  double Right;
  double Bottom;
};

// Integer point and rectangle of screen coordinates (y grows downwards: Top <= Bottom).
struct ZEQ_API TPoint {
  int32_t X;
  int32_t Y;
};

struct ZEQ_API TRect {
  int32_t Left;
  int32_t Top;
  int32_t Right;
  int32_t Bottom;
};

// Event types. An empty std::function is an unassigned slot.
using TNotifyEvent = std::function<void(TObject* Sender)>;
using TSortExchgEvent = std::function<void(TObject* Sender, uint8_t ExchgWhat, int32_t Index1,
                                           int32_t Index2, int32_t First, int32_t Last)>;
using TOnPercentDoneEvent = std::function<void(TObject* Sender, int32_t Percent)>;
using TOnCheckAbortEvent = std::function<void(TObject* Sender, bool& Abort)>;

// Start values of minimum and maximum searches: above any finite data value.
inline constexpr long double uc_MaxDouble = DBL_MAX;
inline constexpr long double uc_MaxReal = DBL_MAX;

inline constexpr long double uc_sqrt2 = 1.414213562373095048801688724209698079L;
// 1 / sqrt(2 pi)
inline constexpr long double uc_sqrt2pitom1 = 0.398942280401432677939946059934381868L;

}  // namespace zeq
