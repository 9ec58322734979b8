// Examples of free functions as rows of a data file, one call per line:
//
//   Round125 0.7 -> 0.5
//   Decimal -42 3 -> "-042"
//   lg 0 -> "throws logarithm: invalid argument"
//   nDistriIntegral 1.5 -> 0.9331927987311419 ~1e-12
//
//   Percentile "1 2 3 4" 50 -> 2.5
//   Quartiles "2 1" -> "1 1.5 2"
//   MeanCenterRows "1 3; 3 5" -> "2 4; -1 1; -1 1"
//
// The test names the functions a table may call (each turns its text arguments into a call and
// its result into text with Show; Call does both for a free function). A result is compared as
// numbers when the expected text and the result are both numbers or quoted lists of numbers of
// the same length, ";" in the same places (NaN equals NaN; "~tol" allows that absolute
// difference in each), otherwise as text. Texts with blanks are quoted; inside quotes \xHH
// stands for a byte and \ before any other character for that character. A call that raises
// gives "throws " and the message.
#pragma once

#include "zeq/testing/test_util.h"

namespace zeq::test {

using TArgs = std::vector<std::string>;
using TExample = std::function<std::string(const TArgs&)>;

// The text of a double: shortest round-trip form, "nan", "inf" or "-inf".
inline std::string Show(double X) {
  char Buf[40];
  std::snprintf(Buf, sizeof Buf, "%.17g", X);
  return std::isnan(X) ? "nan" : Buf;
}
inline std::string Show(long double X) { return Show(static_cast<double>(X)); }
inline std::string Show(float X) { return Show(static_cast<double>(X)); }
inline std::string Show(bool B) { return B ? "true" : "false"; }
inline std::string Show(std::string S) { return S; }
template <class I>
requires std::is_integral_v<I> std::string Show(I X) { return std::to_string(X); }

// Number arguments: decimal, "nan", "inf", "-inf", or integers with a "0x" prefix.
inline double Num(const std::string& S) {
  return S.rfind("0x", 0) == 0 ? static_cast<double>(std::stoull(S, nullptr, 16))
                               : std::strtod(S.c_str(), nullptr);
}
inline int32_t Int(const std::string& S) { return static_cast<int32_t>(std::stoll(S, nullptr, 0)); }

// A quoted list argument: its blank-separated numbers (as Num reads them).
inline std::vector<double> List(const std::string& S) {
  std::vector<double> V;
  for (size_t i = S.find_first_not_of(' '); i < S.size(); i = S.find_first_not_of(' ', i)) {
    const size_t End = std::min(S.find(' ', i), S.size());
    V.push_back(Num(S.substr(i, End - i)));
    i = End;
  }
  return V;
}
inline std::vector<int32_t> IntList(const std::string& S) {
  const std::vector<double> D = List(S);
  return {D.begin(), D.end()};
}

// A quoted matrix argument: rows separated by ";" ("1 2; 3 4"; "" for none).
inline std::vector<std::vector<double>> ListRows(const std::string& S) {
  std::vector<std::vector<double>> R;
  for (size_t i = 0; i < S.size();) {
    const size_t End = std::min(S.find(';', i), S.size());
    R.push_back(List(S.substr(i, End - i)));
    i = End + 1;
  }
  return R;
}

// A list result: the values' texts separated by blanks.
template <class T>
std::string Show(const std::vector<T>& V) {
  std::string S;
  for (const T& X : V) {
    if (!S.empty()) S += ' ';
    S += Show(X);
  }
  return S;
}
template <class... T>
requires(sizeof...(T) > 1) std::string Show(const T&... X) {
  return Show(std::vector<double>{static_cast<double>(X)...});
}

// The tokens of a row: blank-separated words and quoted texts.
inline std::vector<std::string> RowTokens(const std::string& Line) {
  std::vector<std::string> T;
  for (size_t i = Line.find_first_not_of(" \t"); i < Line.size();
       i = Line.find_first_not_of(" \t", i)) {
    if (Line[i] != '"') {
      const size_t End = std::min(Line.find_first_of(" \t", i), Line.size());
      T.push_back(Line.substr(i, End - i));
      i = End;
      continue;
    }
    std::string S;
    for (++i; i < Line.size() && Line[i] != '"'; ++i) {
      if (Line[i] != '\\' || i + 1 == Line.size()) {
        S += Line[i];
      } else if (Line[i + 1] == 'x') {
        S += static_cast<char>(std::stoi(Line.substr(i + 2, 2), nullptr, 16));
        i += 3;
      } else {
        S += Line[++i];
      }
    }
    T.push_back(S);
    ++i;
  }
  return T;
}

// A text argument as a parameter of type P: texts (and views of them) as they are, a character
// as the text's first, "true" for true, integers and enumerations as Int reads them, other
// numbers as Num reads them.
template <class P>
std::remove_cvref_t<P> Arg(const std::string& S) {
  using T = std::remove_cvref_t<P>;
  if constexpr (std::is_same_v<T, std::string> || std::is_same_v<T, std::string_view>)
    return T(S);  // a view of the row's argument, which outlives the call
  else if constexpr (std::is_same_v<T, bool>)
    return S == "true";
  else if constexpr (std::is_same_v<T, char>)
    return S.empty() ? '\0' : S[0];
  else if constexpr (std::is_integral_v<T> || std::is_enum_v<T>)
    return static_cast<T>(std::stoll(S, nullptr, 0));
  else
    return static_cast<T>(Num(S));
}

// The call of a free function with each argument converted to its parameter's type (too few
// arguments raise), its result shown.
template <class R, class... P>
TExample Call(R (*F)(P...)) {
  return [F](const TArgs& a) {
    return [&]<size_t... I>(std::index_sequence<I...>) { return Show(F(Arg<P>(a.at(I))...)); }
    (std::index_sequence_for<P...>{});
  };
}

// Free functions registered under their own names, in one list:
// ZEQ_CALLS(Erf, LnGamma) is {{"Erf", Call(Erf)}, {"LnGamma", Call(LnGamma)}}.
#define ZEQ_CALLS(...) ::zeq::test::NamedCalls(#__VA_ARGS__, __VA_ARGS__)
template <class... F>
std::map<std::string, TExample> NamedCalls(const std::string& Names, F... Functions) {
  std::map<std::string, TExample> T;
  std::istringstream In(Names);
  std::string Name;
  ((std::getline(In >> std::ws, Name, ','), T[Name] = Call(Functions)), ...);
  return T;
}

// The names the calls of a table use: `using namespace test::table;` in a test.
namespace table {
using test::Call;
using test::Int;
using test::List;
using test::ListRows;
using test::Num;
using test::Show;
using A = const TArgs&;
}  // namespace table

// Runs every row of the data file RelPath with the functions of Table and of More.
inline void RunExamples(const std::string& RelPath, std::map<std::string, TExample> Table,
                        const std::map<std::string, TExample>& More = {}) {
  Table.insert(More.begin(), More.end());
  // The numbers of a text that holds nothing else; a ";" between them (rows of a matrix) is
  // noted in the numbers' Shape, which must match too.
  const auto Numbers = [](const std::string& S, std::vector<double>& X, std::string& Shape) {
    X.clear();
    Shape.clear();
    const char* P = S.c_str();
    for (char* End = nullptr;; P = End) {
      for (; *P == ' ' || *P == ';'; ++P)
        if (*P == ';') Shape += ';';
      if (*P == 0) return !X.empty();
      X.push_back(std::strtod(P, &End));
      Shape += "n";
      if (End == P || (*End != ' ' && *End != ';' && *End != 0)) return false;
    }
  };
  const std::vector<std::string> Lines = DataLines(RelPath);
  EXPECT_FALSE(Lines.empty()) << RelPath << " holds no example";
  for (const std::string& Line : Lines) {
    const std::vector<std::string> T = RowTokens(Line);
    const auto Arrow = std::find(T.begin(), T.end(), "->");
    const auto F = T.empty() ? Table.end() : Table.find(T[0]);
    if (F == Table.end() || Arrow == T.end() || Arrow + 1 == T.end()) {
      ADD_FAILURE() << "malformed row or unknown function: " << Line;
      continue;
    }
    const double Tolerance = Arrow + 2 == T.end() ? 0 : Num((Arrow + 2)->substr(1));
    std::string Actual;
    try {
      Actual = F->second(TArgs(T.begin() + 1, Arrow));
    } catch (const std::exception& E) {
      Actual = std::string("throws ") + E.what();
    }
    std::vector<double> X, Y;
    std::string XShape, YShape;
    if (Numbers(*(Arrow + 1), X, XShape) && Numbers(Actual, Y, YShape) && XShape == YShape) {
      for (size_t i = 0; i < X.size(); ++i)
        EXPECT_TRUE((std::isnan(X[i]) && std::isnan(Y[i])) || std::fabs(X[i] - Y[i]) <= Tolerance ||
                    X[i] == Y[i])
            << Line << "\n  actual: " << Actual;
    } else {
      EXPECT_EQ(Actual, *(Arrow + 1)) << Line;
    }
  }
}

}  // namespace zeq::test
