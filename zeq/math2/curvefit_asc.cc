// TCurveFit's ASC text files: export of the points and import of a two-column file.
//
// An import never trusts the header further than the file: the rows are read into a scratch
// buffer sized by what the file can hold, and the points change only when every row was read.
#include <cerrno>
#include <cstring>
#include <fstream>
#include <new>
#include <sstream>
#include <vector>

#include "zeq/math2/curvefit.h"

namespace zeq {

std::string TCurveFit::ExportAsASC(const std::string& FName, const std::string& Comment,
                                   int32_t Precision) {
  std::ofstream Out(FName, std::ios::binary | std::ios::trunc);
  if (!Out) return "cannot create file \"" + FName + "\": " + std::strerror(errno);
  std::string Title = ReplaceCharInString(Comment, '\n', ' ');
  if (Title.empty()) Title = "Exported by ZEQ TCurveFit component: " + FName;
  Out << Title << "\n2\t;nr. of columns\n"
      << FNumData << "\t;nr. of rows\n"
      << "FALSE TRUE FALSE\t;row attributes, column names, row names\nx   y\n";
  for (int32_t r = 1; r <= FNumData; ++r)
    Out << strff(FData->GetVal(1, r), 1, Precision) << '\t'
        << strff(FData->GetVal(2, r), 1, Precision) << '\n';
  Out.flush();
  if (!Out) return "cannot write file \"" + FName + "\": " + std::strerror(errno);
  return "";
}

namespace {

// Reads the data part of an ASC file token by token.
class TAscReader {
 public:
  explicit TAscReader(std::string Text) : FText(std::move(Text)) {}

  // One quoted (or plain) name, fed character by character to ParseQuotedName; false at the
  // end of the text.
  bool SkipName() {
    TQuotedNameState State = qnsBefore;
    std::string Name;
    while (FPos < FText.size())
      if (ParseQuotedName(FText[FPos++], '"', State, Name)) return true;
    return State == qnsUnquoted;  // a plain name ended by the end of the text
  }

  // The next white-space separated token as a number.
  bool ReadNumber(double& Value) {
    while (FPos < FText.size() && IsBlank(FText[FPos])) ++FPos;
    const size_t Start = FPos;
    while (FPos < FText.size() && !IsBlank(FText[FPos])) ++FPos;
    return FPos > Start &&
           TryStrToFloat(std::string_view(FText).substr(Start, FPos - Start), Value);
  }

 private:
  static bool IsBlank(char C) { return C == ' ' || C == '\t' || C == '\r' || C == '\n'; }

  std::string FText;
  size_t FPos = 0;
};

}  // namespace

int32_t TCurveFit::ImportASC(const std::string& FName) {
  // Reading allocates (the file's text, the new points, the grown storage): any failure is
  // reported in the component's own words, with the old points still in place.
  try {
    return ImportASCPoints(FName);
  } catch (const std::bad_alloc&) {
  } catch (const EZEQMatrixError&) {  // only the point storage's growth raises it here
  }
  RaiseComponentError<EZEQMath2Error>(this, "not enough memory on heap");
}

int32_t TCurveFit::ImportASCPoints(const std::string& FName) {
  FKendallValid = false;
  TAscHeader H;
  if (const int32_t Code = ReadHeaderOfASC(FName, H); Code != 0) return Code;
  if (H.ColumnAttributes) return -7;
  if (H.NrOfColumns != 2)
    throw EZEQMath2Error("TCurveFit.ImportASC: number of columns must be 2 (is actually " +
                         std::to_string(H.NrOfColumns) + ").");
  std::ifstream In(FName, std::ios::binary);
  if (!In) return -1;
  In.seekg(static_cast<std::streamoff>(H.DataOffset));
  std::ostringstream Data;
  Data << In.rdbuf();
  std::string Text = Data.str();
  // Every row holds at least two numbers and two separators: a header claiming more rows than
  // that allows cannot be read, and no buffer is sized by such a claim.
  if (static_cast<uint64_t>(H.NrOfRows) > Text.size() / 4 + 1) return -6;
  TAscReader R(std::move(Text));
  if (H.ColumnNames)
    for (int32_t c = 0; c < H.NrOfColumns; ++c) R.SkipName();
  std::vector<double> X(static_cast<size_t>(H.NrOfRows)), Y(X.size());
  for (size_t r = 0; r < X.size(); ++r) {
    double Ignored;
    if (H.RowAttributes && !R.ReadNumber(Ignored)) return -5;
    if (H.RowNames) R.SkipName();
    if (!R.ReadNumber(X[r]) || !R.ReadNumber(Y[r])) return -6;
  }
  // The imported points replace the old ones, sums included.
  const int32_t Capacity = std::max(FData->NrOfRows(), H.NrOfRows);
  if (Capacity > FData->NrOfRows()) FData->Resize(2, Capacity);
  Init();
  for (size_t r = 0; r < X.size(); ++r) EnterStatValue(X[r], Y[r]);
  return 0;
}

}  // namespace zeq
