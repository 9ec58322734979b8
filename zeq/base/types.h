/// @file
/// Shared types of the library: array types, selector enumerations, point and rectangle
/// records, the event types and the constants every unit relies on.
///
/// Enumerations are unscoped with an explicit 8-bit base so that values read as in the
/// documentation (`dmEuclid`, `vkDouble`) and keep the ordinals the routines test.
#pragma once

#include <cfloat>
#include <cstdint>
#include <functional>
#include <vector>

#include "zeq/base/export.h"

namespace zeq {

class TObject;

///@{
/// 0-based growable arrays.
using TDoubleArray = std::vector<double>;
using TIntArray = std::vector<int32_t>;
using TDouble2DArray = std::vector<std::vector<double>>;
using TPDblArray = double*;
///@}

/// Selects the columns (ordinal 0) or the rows (ordinal 1) of a matrix.
enum TDims : uint8_t { dimColumns, dimRows };

/// Ordinal 0 works along each row (one result per row), ordinal 1 along each column.
enum TOrientation : uint8_t { orHorizontal, orVertical };

/// Element kinds of the untyped array routines: ordinals 0 and 1 are 64-bit floating values,
/// 2 is 32-bit floating, 3 and 4 are 32-bit signed integers. The other kinds are not handled
/// by the array routines, which then do nothing.
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

/// Angle notations: decimal degrees, degrees + decimal minutes, degrees + minutes + decimal
/// seconds, and the plain number without a degree sign.
enum TDegreeFormat : uint8_t { dfDecimal, dfDegMin, dfDegMinSec, dfPlain };

/// Bitwise combinations of two bit fields (`TBitFld::CombineWith`): the result is
/// this op Other, where loAndNot clears every bit that is set in Other.
enum TLogicOp : uint8_t { loAnd, loOr, loXor, loAndNot };

/// A point of the plane.
struct ZEQ_API TPointDouble {
  ///@{
  /// The coordinates.
  double X;
  double Y;
  ///@}
};

/// A rectangle of the plane by its edges.
struct ZEQ_API TRectDouble {
  ///@{
  /// The edges: Left <= Right and, in screen orientation, Top <= Bottom.
  double Left;
  double Top;
  double Right;
  double Bottom;
  ///@}
};

/// Integer point and rectangle of screen coordinates (y grows downwards: Top <= Bottom).
struct ZEQ_API TPoint {
  ///@{
  /// The coordinates.
  int32_t X;
  int32_t Y;
  ///@}
};

/// The integer rectangle.
struct ZEQ_API TRect {
  ///@{
  /// The edges.
  int32_t Left;
  int32_t Top;
  int32_t Right;
  int32_t Bottom;
  ///@}
};

/// A change notification; Sender is the component that changed. An empty std::function is an
/// unassigned slot, for every event type.
using TNotifyEvent = std::function<void(TObject* Sender)>;
/// Called for each exchange of a sort: ExchgWhat 0 for vector elements, 1 for columns, 2 for
/// rows; Index1 and Index2 the exchanged positions; First..Last the range exchanged with them.
using TSortExchgEvent = std::function<void(TObject* Sender, uint8_t ExchgWhat, int32_t Index1,
                                           int32_t Index2, int32_t First, int32_t Last)>;
/// Progress of a long computation in percent (0..100).
using TOnPercentDoneEvent = std::function<void(TObject* Sender, int32_t Percent)>;
/// Asked between steps of a long computation; setting Abort true stops it.
using TOnCheckAbortEvent = std::function<void(TObject* Sender, bool& Abort)>;

///@{
/// Start values of minimum and maximum searches: above any finite data value.
inline constexpr long double uc_MaxDouble = DBL_MAX;
inline constexpr long double uc_MaxReal = DBL_MAX;
///@}

/// sqrt(2)
inline constexpr long double uc_sqrt2 = 1.414213562373095048801688724209698079L;
/// 1 / sqrt(2 pi)
inline constexpr long double uc_sqrt2pitom1 = 0.398942280401432677939946059934381868L;

}  // namespace zeq
