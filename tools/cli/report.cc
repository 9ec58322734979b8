// The results of a subcommand as aligned text, CSV or JSON.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <sstream>

#include "cli.h"

namespace zeqcli {

std::string FormatNumber(double X) {
  if (std::isnan(X)) return "nan";
  if (std::isinf(X)) return X > 0 ? "inf" : "-inf";
  char Buf[32];
  std::snprintf(Buf, sizeof Buf, "%.10g", X);
  return Buf;
}

namespace {

std::string JsonString(const std::string& S) {
  std::string R = "\"";
  for (char C : S) {
    if (C == '"' || C == '\\') R += '\\';
    if (static_cast<unsigned char>(C) < 0x20) {
      char Buf[8];
      std::snprintf(Buf, sizeof Buf, "\\u%04x", C);
      R += Buf;
    } else {
      R += C;
    }
  }
  return R + "\"";
}

std::string JsonNumber(double X) { return std::isfinite(X) ? FormatNumber(X) : "null"; }

std::string CsvField(const std::string& S) {
  if (S.find_first_of(",\"\n") == std::string::npos) return S;
  std::string R = "\"";
  for (char C : S) R += C == '"' ? std::string("\"\"") : std::string(1, C);
  return R + "\"";
}

// Rows of text cells printed in columns, numbers right-aligned.
void Aligned(std::ostringstream& Out, const std::vector<std::vector<std::string>>& Cells) {
  std::vector<size_t> Width;
  for (const auto& Row : Cells)
    for (size_t c = 0; c < Row.size(); ++c) {
      if (Width.size() <= c) Width.push_back(0);
      Width[c] = std::max(Width[c], Row[c].size());
    }
  for (const auto& Row : Cells) {
    std::string Line;
    for (size_t c = 0; c < Row.size(); ++c) {
      if (c > 0) Line += "  ";
      Line += c == 0 ? Row[c] + std::string(Width[c] - Row[c].size(), ' ')
                     : std::string(Width[c] - Row[c].size(), ' ') + Row[c];
    }
    while (!Line.empty() && Line.back() == ' ') Line.pop_back();
    Out << Line << "\n";
  }
}

}  // namespace

void TReport::Value(const std::string& Name, double X) {
  FItems.push_back({Name, false, X, "", {}, {}, {}});
}

void TReport::Value(const std::string& Name, const std::string& Text) {
  FItems.push_back({Name, true, 0, Text, {}, {}, {}});
}

void TReport::Table(const std::string& Name, const std::vector<std::string>& Header,
                    const std::vector<std::vector<double>>& Rows,
                    const std::vector<std::string>& RowLabels) {
  FItems.push_back({Name, false, 0, "", Header, Rows, RowLabels});
}

std::string TReport::Render(const std::string& Format) const {
  std::ostringstream Out;
  const auto Cell = [](const TItem& I) { return I.IsText ? I.Text : FormatNumber(I.Number); };
  if (Format == "json") {
    Out << "{";
    for (size_t i = 0; i < FItems.size(); ++i) {
      const TItem& I = FItems[i];
      Out << (i ? ",\n " : "") << JsonString(I.Name) << ": ";
      if (I.Header.empty()) {
        Out << (I.IsText ? JsonString(I.Text) : JsonNumber(I.Number));
        continue;
      }
      Out << "{\"columns\": [";
      for (size_t c = 0; c < I.Header.size(); ++c)
        Out << (c ? ", " : "") << JsonString(I.Header[c]);
      Out << "], \"rows\": [";
      for (size_t r = 0; r < I.Rows.size(); ++r) {
        Out << (r ? ", " : "") << "[";
        if (!I.RowLabels.empty())
          Out << JsonString(I.RowLabels[r]) << (I.Rows[r].empty() ? "" : ", ");
        for (size_t c = 0; c < I.Rows[r].size(); ++c)
          Out << (c ? ", " : "") << JsonNumber(I.Rows[r][c]);
        Out << "]";
      }
      Out << "]}";
    }
    Out << "}\n";
    return Out.str();
  }
  std::vector<std::vector<std::string>> Values;
  const auto FlushValues = [&] {
    if (Values.empty()) return;
    if (Out.tellp() > 0) Out << "\n";
    if (Format == "csv")
      for (const auto& V : Values) Out << CsvField(V[0]) << "," << CsvField(V[1]) << "\n";
    else
      Aligned(Out, Values);
    Values.clear();
  };
  for (const TItem& I : FItems) {
    if (I.Header.empty()) {
      Values.push_back({I.Name, Cell(I)});
      continue;
    }
    FlushValues();
    std::vector<std::vector<std::string>> Cells{I.Header};
    for (size_t r = 0; r < I.Rows.size(); ++r) {
      Cells.emplace_back();
      if (!I.RowLabels.empty()) Cells.back().push_back(I.RowLabels[r]);
      for (double X : I.Rows[r]) Cells.back().push_back(FormatNumber(X));
    }
    if (Out.tellp() > 0) Out << "\n";
    if (Format == "csv") {
      for (const auto& Row : Cells) {
        for (size_t c = 0; c < Row.size(); ++c) Out << (c ? "," : "") << CsvField(Row[c]);
        Out << "\n";
      }
    } else {
      Out << I.Name << "\n";
      Aligned(Out, Cells);
    }
  }
  FlushValues();
  return Out.str();
}

void Print(const TOptions& Options, const TReport& Report) {
  std::cout << Report.Render(OutputFormat(Options)) << std::flush;
}

}  // namespace zeqcli
