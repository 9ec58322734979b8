// Reading columns of numbers from a file or standard input, with the position of any field
// that is not a number.
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

#include "cli.h"
#include "zeq/vector/vector.h"

namespace zeqcli {

namespace {

// The fields of a line and the column (from 1) where each starts.
struct TFields {
  std::vector<std::string> Text;
  std::vector<size_t> Column;
};

TFields Split(const std::string& Line, bool Comma) {
  TFields F;
  size_t i = 0;
  while (i < Line.size()) {
    while (i < Line.size() && std::isspace(static_cast<unsigned char>(Line[i]))) ++i;
    if (i == Line.size()) break;
    size_t End = i;
    if (Comma) {
      End = Line.find(',', i);
      if (End == std::string::npos) End = Line.size();
    } else {
      while (End < Line.size() && !std::isspace(static_cast<unsigned char>(Line[End]))) ++End;
    }
    std::string Field = Line.substr(i, End - i);
    while (!Field.empty() && std::isspace(static_cast<unsigned char>(Field.back())))
      Field.pop_back();
    F.Text.push_back(Field);
    F.Column.push_back(i + 1);
    i = Comma && End < Line.size() ? End + 1 : End;
  }
  return F;
}

bool IsNumber(const std::string& S, double& X) {
  if (S.empty()) return false;
  char* End = nullptr;
  X = std::strtod(S.c_str(), &End);
  return *End == '\0';
}

// The positions (from 0) of the selected columns.
std::vector<size_t> Select(const std::string& Selection, const std::vector<std::string>& Names,
                           size_t Count) {
  std::vector<size_t> Picked;
  if (Selection.empty()) {
    for (size_t c = 0; c < Count; ++c) Picked.push_back(c);
    return Picked;
  }
  std::stringstream In(Selection);
  for (std::string Item; std::getline(In, Item, ',');) {
    char* End = nullptr;
    const long N = std::strtol(Item.c_str(), &End, 10);
    if (!Item.empty() && *End == '\0') {
      if (N < 1 || static_cast<size_t>(N) > Count)
        throw TUsageError("column " + Item + " does not exist (the data have " +
                          std::to_string(Count) + ")");
      Picked.push_back(static_cast<size_t>(N - 1));
      continue;
    }
    size_t c = 0;
    while (c < Names.size() && Names[c] != Item) ++c;
    if (c == Names.size()) throw TUsageError("no column named '" + Item + "'");
    Picked.push_back(c);
  }
  return Picked;
}

}  // namespace

TColumns ReadColumns(const std::string& Path, const std::string& Selection, bool NoHeader) {
  TColumns Data;
  Data.Source = Path == "-" ? "<stdin>" : Path;
  std::ifstream File;
  if (Path != "-") {
    File.open(Path);
    if (!File) throw TInputError(Path + ": cannot be read");
  }
  std::istream& In = Path == "-" ? std::cin : File;
  std::vector<std::pair<size_t, TFields>> Lines;  // line number and fields
  bool Comma = false, Decided = false;
  size_t LineNo = 0;
  for (std::string Line; std::getline(In, Line);) {
    ++LineNo;
    if (!Line.empty() && Line.back() == '\r') Line.pop_back();
    const size_t First = Line.find_first_not_of(" \t");
    if (First == std::string::npos || Line[First] == '#') continue;
    if (!Decided) Comma = Line.find(',') != std::string::npos, Decided = true;
    Lines.emplace_back(LineNo, Split(Line, Comma));
  }
  if (Lines.empty()) throw TInputError(Data.Source + ": no data");
  double X;
  bool Header = false;
  for (const std::string& F : Lines.front().second.Text) Header = Header || !IsNumber(F, X);
  Header = Header && !NoHeader;
  const size_t Count = Lines.front().second.Text.size();
  for (size_t c = 0; c < Count; ++c)
    Data.Names.push_back(Header ? Lines.front().second.Text[c] : std::to_string(c + 1));
  const std::vector<size_t> Picked = Select(Selection, Data.Names, Count);
  std::vector<std::string> PickedNames;
  for (size_t c : Picked) PickedNames.push_back(Data.Names[c]);
  Data.Names = PickedNames;
  Data.Values.assign(Picked.size(), {});
  for (size_t l = Header ? 1 : 0; l < Lines.size(); ++l) {
    const auto& [No, F] = Lines[l];
    for (size_t k = 0; k < Picked.size(); ++k) {
      const size_t c = Picked[k];
      const std::string Where = Data.Source + ":" + std::to_string(No) + ":";
      if (c >= F.Text.size())
        throw TInputError(Where + std::to_string(F.Column.empty() ? 1 : F.Column.back()) +
                          ": missing column " + std::to_string(c + 1));
      if (!IsNumber(F.Text[c], X))
        throw TInputError(Where + std::to_string(F.Column[c]) + ": '" + F.Text[c] +
                          "' is not a number");
      Data.Values[k].push_back(X);
    }
  }
  return Data;
}

TColumns ReadInput(const TOptions& Options) {
  const auto& P = Options.Positional();
  if (P.size() > 1)
    throw TUsageError("one data file at most (got " + std::to_string(P.size()) + ")");
  return ReadColumns(P.empty() ? "-" : P[0], Options.Text("columns", ""), Options.Has("no-header"));
}

std::string Variant(const TOptions& Options, const std::string& Missing) {
  if (Options.Positional().empty()) throw TUsageError(Missing);
  return Options.Positional()[0];
}

TColumns ReadInputAfterVariant(const TOptions& Options) {
  const auto& P = Options.Positional();
  if (P.size() > 2)
    throw TUsageError("one data file at most (got " + std::to_string(P.size() - 1) + ")");
  return ReadColumns(P.size() > 1 ? P[1] : "-", Options.Text("columns", ""),
                     Options.Has("no-header"));
}

void ToVector(const std::vector<double>& X, zeq::TVector& V) {
  V.Resize(static_cast<int32_t>(X.size()));
  for (size_t i = 0; i < X.size(); ++i) V.SetVal(static_cast<int32_t>(i + 1), X[i]);
}

const std::vector<double>& FirstColumn(const TColumns& Data, size_t MinValues) {
  if (Data.Values.empty()) throw TInputError(Data.Source + ": no column selected");
  if (Data.Values[0].size() < MinValues)
    throw TInputError(Data.Source + ": at least " + std::to_string(MinValues) +
                      " values needed, the data have " + std::to_string(Data.Values[0].size()));
  return Data.Values[0];
}

}  // namespace zeqcli
