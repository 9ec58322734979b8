// Small string routines of the base layer.
#include "zeq/base/strings.h"

#include <algorithm>

namespace zeq {

namespace {

bool IsBlank(char C) { return C == ' ' || C == '\t' || C == '\r' || C == '\n' || C == '\f'; }

}  // namespace

bool StringContains(std::string_view S, std::string_view Pattern) {
  if (Pattern == "//dig")
    return std::any_of(S.begin(), S.end(), [](char C) { return C >= '0' && C <= '9'; });
  return S.find(Pattern) != std::string_view::npos;
}

std::string ReplaceCharInString(std::string_view S, char OldChar, char NewChar) {
  std::string Result(S);
  std::replace(Result.begin(), Result.end(), OldChar, NewChar);
  return Result;
}

std::string RemoveControlChars(std::string_view S) {
  std::string Result;
  Result.reserve(S.size());
  for (char C : S) {
    const auto Code = static_cast<unsigned char>(C);
    if (Code >= 32 && Code != 127) Result += C;
  }
  return Result;
}

bool ParseQuotedName(char C, char Delimiter, TQuotedNameState& State, std::string& Name) {
  if (State == qnsDone) {
    State = qnsBefore;
    Name.clear();
  }
  switch (State) {
    case qnsBefore:
      if (C == Delimiter) {
        State = qnsQuoted;
      } else if (!IsBlank(C)) {
        State = qnsUnquoted;
        Name += C;
      }
      return false;
    case qnsQuoted:
      if (C != Delimiter) {
        Name += C;
        return false;
      }
      break;
    case qnsUnquoted:
      if (!IsBlank(C)) {
        Name += C;
        return false;
      }
      break;
    case qnsDone:
      break;
  }
  State = qnsDone;
  return true;
}

}  // namespace zeq
