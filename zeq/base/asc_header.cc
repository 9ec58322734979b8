// Reading the header of ASC text data files.
#include "zeq/base/asc_header.h"

#include <cctype>
#include <fstream>
#include <sstream>

#include "zeq/base/numtext.h"

namespace zeq {

namespace {

// The text before the first semicolon.
std::string BeforeComment(const std::string& Line) { return Line.substr(0, Line.find(';')); }

bool ReadCount(const std::string& Line, int32_t& Count) {
  std::istringstream In(BeforeComment(Line));
  std::string Token, Rest;
  if (!(In >> Token) || (In >> Rest)) return false;
  return TryStrToInt(Token, Count) && Count >= 0 && Token.find_first_of("$xX") == std::string::npos;
}

// TRUE or FALSE in any case.
bool ReadFlag(const std::string& Token, bool& Flag) {
  std::string Upper = Token;
  for (char& C : Upper) C = static_cast<char>(std::toupper(static_cast<unsigned char>(C)));
  if (Upper != "TRUE" && Upper != "FALSE") return false;
  Flag = Upper == "TRUE";
  return true;
}

bool ReadFlags(const std::string& Line, TAscHeader& H) {
  std::istringstream In(BeforeComment(Line));
  std::string T[5];
  int N = 0;
  while (N < 5 && In >> T[N]) ++N;
  if (N < 3 || N > 4) return false;
  H.ColumnAttributes = false;
  return ReadFlag(T[0], H.RowAttributes) && ReadFlag(T[1], H.ColumnNames) &&
         ReadFlag(T[2], H.RowNames) && (N == 3 || ReadFlag(T[3], H.ColumnAttributes));
}

}  // namespace

int32_t ReadHeaderOfASC(const std::string& FName, TAscHeader& Header) {
  std::ifstream In(FName, std::ios::binary);
  if (!In) return -1;
  std::string Lines[4];
  for (std::string& L : Lines) {
    if (!std::getline(In, L)) return -2;
    if (!L.empty() && L.back() == '\r') L.pop_back();
  }
  TAscHeader H;
  H.Comment = Lines[0];
  if (!ReadCount(Lines[1], H.NrOfColumns) || !ReadCount(Lines[2], H.NrOfRows)) return -3;
  if (!ReadFlags(Lines[3], H)) return -4;
  if (In.eof()) {  // the header is the whole file
    In.clear();
    In.seekg(0, std::ios::end);
  }
  const std::streamoff Offset = In.tellg();
  H.DataOffset = Offset < 0 ? 0 : static_cast<uint64_t>(Offset);
  Header = H;
  return 0;
}

}  // namespace zeq
