// What the files of TDataTable share: ASCII case helpers for names and identifiers, an event
// suspension guard, and a guard that detaches the numeric matrix's change notification.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "zeq/datatable/datatable.h"

namespace zeq {

struct TDataTableAccess {
  // ASCII letters lower- or upper-cased; other bytes unchanged.
  static std::string Lower(std::string_view S);
  static std::string Upper(std::string_view S);

  // The five change events stay silent while a guard lives.
  struct TSuspend {
    TDataTable& T;
    explicit TSuspend(TDataTable& Table) : T(Table) { ++T.FSuspended; }
    ~TSuspend() { --T.FSuspended; }
  };
  // NumericData's OnChange is off while a guard lives, and the table's handler afterwards.
  struct TMatrixSilence {
    TDataTable& T;
    explicit TMatrixSilence(TDataTable& Table) : T(Table) { T.FNumericData->OnChange = nullptr; }
    ~TMatrixSilence() { T.AttachMatrix(); }
  };

  static std::vector<uint8_t>& States(TDataTable& T) { return T.FCState; }
  static const std::vector<uint8_t>& States(const TDataTable& T) { return T.FCState; }
  static std::vector<TVTypeSpec>& Types(TDataTable& T) { return T.FVType; }
  static std::vector<TDTNameStr>& ColNames(TDataTable& T) { return T.FColName; }
  static std::vector<TDTNameStr>& RowNames(TDataTable& T) { return T.FRowName; }
  static std::vector<int32_t>& ColAtt(TDataTable& T) { return T.FColAtt; }
  static std::vector<int32_t>& RowAtt(TDataTable& T) { return T.FRowAtt; }
  static bool& SortIncludeHd(TDataTable& T) { return T.FSortIncludeHd; }
  static size_t Cell(const TDataTable& T, int32_t Col, int32_t Row) { return T.Cell(Col, Row); }
  static void Fire(TDataTable& T, const TNotifyEvent& E) { T.Fire(E); }
  static bool IsCategorial(const TDataTable& T, int32_t Col) { return T.IsCategorial(Col); }
};

}  // namespace zeq
