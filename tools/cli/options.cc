// Command-line options of the subcommands: "--name value", "--name=value", "-s value", flags,
// and "--" before positional arguments that start with a dash.
#include <cstdlib>

#include "cli.h"

namespace zeqcli {

std::vector<TOptionSpec> CommonOptions() {
  return {{"columns", 'c', "LIST", "columns to use, by number (from 1) or header name: 2,height"},
          {"no-header", 0, "", "the first line is data even if it holds a word"},
          {"csv", 0, "", "print comma-separated values"},
          {"json", 0, "", "print JSON"},
          {"plot", 0, "FILE.svg", "draw the result as an SVG picture"}};
}

TOptions::TOptions(const std::vector<std::string>& Args, const std::vector<TOptionSpec>& Specs) {
  const auto Find = [&](const std::string& Arg) -> const TOptionSpec& {
    for (const TOptionSpec& S : Specs)
      if (Arg == "--" + S.Name || (S.Short != 0 && Arg == std::string{'-', S.Short})) return S;
    throw TUsageError("unknown option " + Arg);
  };
  bool OnlyPositional = false;
  for (size_t i = 0; i < Args.size(); ++i) {
    const std::string& A = Args[i];
    if (OnlyPositional || A == "-" || A.empty() || A[0] != '-') {
      FPositional.push_back(A);
    } else if (A == "--") {
      OnlyPositional = true;
    } else if (const size_t Eq = A.find('='); A.rfind("--", 0) == 0 && Eq != std::string::npos) {
      const TOptionSpec& S = Find(A.substr(0, Eq));
      if (S.Meta.empty()) throw TUsageError("option --" + S.Name + " takes no value");
      FValues[S.Name] = A.substr(Eq + 1);
    } else {
      const TOptionSpec& S = Find(A);
      if (S.Meta.empty()) {
        FValues.insert_or_assign(S.Name, std::string(1, '1'));  // a flag
      } else {
        if (++i == Args.size())
          throw TUsageError(std::string("option ").append(A).append(" needs a value"));
        FValues[S.Name] = Args[i];
      }
    }
  }
}

std::string TOptions::Text(const std::string& Name, const std::string& Default) const {
  const auto It = FValues.find(Name);
  return It == FValues.end() ? Default : It->second;
}

double TOptions::Number(const std::string& Name, double Default) const {
  if (!Has(Name)) return Default;
  const std::string V = Text(Name, "");
  char* End = nullptr;
  const double X = std::strtod(V.c_str(), &End);
  if (V.empty() || *End != '\0')
    throw TUsageError("--" + Name + " needs a number, not '" + V + "'");
  return X;
}

int TOptions::Integer(const std::string& Name, int Default, int Min, int Max) const {
  const double X = Number(Name, Default);
  if (X != static_cast<int>(X) || X < Min || X > Max)
    throw TUsageError("--" + Name + " needs a whole number from " + std::to_string(Min) + " to " +
                      std::to_string(Max));
  return static_cast<int>(X);
}

std::string OutputFormat(const TOptions& Options) {
  if (Options.Has("csv") && Options.Has("json"))
    throw TUsageError("choose one of --csv and --json");
  return Options.Has("csv") ? "csv" : Options.Has("json") ? "json" : "text";
}

}  // namespace zeqcli
