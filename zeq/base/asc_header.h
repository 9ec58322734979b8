/// @file
/// The header of the library's ASC text data files: a comment line, the number of columns, the
/// number of rows and a line of flags, each count or flag list followed by an optional comment
/// after a semicolon:
/// @verbatim
///   Exported by ...
///   2<TAB>;nr. of columns
///   120<TAB>;nr. of rows
///   FALSE TRUE FALSE<TAB>;row attributes, column names, row names
/// @endverbatim
/// The flags are TRUE or FALSE in any case: row attributes, column names, row names and an
/// optional fourth one, column attributes (FALSE when absent).
#pragma once

#include <cstdint>
#include <string>

#include "zeq/base/export.h"

namespace zeq {

/// The parts of an ASC header.
struct ZEQ_API TAscHeader {
  /// The comment line, without its line end.
  std::string Comment;
  ///@{
  /// The counts of the second and third lines.
  int32_t NrOfColumns = 0;
  int32_t NrOfRows = 0;
  ///@}
  ///@{
  /// The flags of the fourth line, in their order.
  bool RowAttributes = false;
  bool ColumnNames = false;
  bool RowNames = false;
  bool ColumnAttributes = false;
  ///@}
  /// The byte offset of the line after the header.
  uint64_t DataOffset = 0;  // the byte offset of the line after the header
};

/// Reads the header of FName into Header. Result 0 on success; -1 the file cannot be opened,
/// -2 it ends within the four header lines, -3 a count is not a whole number in 0..2^31 - 1,
/// -4 the flag line does not start with three or four flags.
ZEQ_API int32_t ReadHeaderOfASC(const std::string& FName, TAscHeader& Header);

}  // namespace zeq
