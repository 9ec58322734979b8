// zeq: answers and plots from data files on the command line (see `zeq --help`).
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli.h"
#include "zeq/base/errors.h"
#include "zeq/version.h"

namespace zeqcli {

const std::vector<TCommand>& Commands() {
  static const std::vector<TCommand> All = {
      StatsCommand(), TestCommand(),    FitCommand(), SmoothCommand(),  FilterCommand(),
      FftCommand(),   WaveletCommand(), PcaCommand(), ClusterCommand(), DemoCommand()};
  return All;
}

std::string CommandHelp(const TCommand& Command) {
  std::string H =
      "usage: zeq " + Command.Name + " " + Command.Usage + "\n\n" + Command.Description + "\n";
  std::vector<TOptionSpec> Options = Command.Options;
  if (Command.TakesData) {
    const std::vector<TOptionSpec> Common = CommonOptions();
    Options.insert(Options.end(), Common.begin(), Common.end());
    H += "\nThe data: columns of numbers separated by blanks or commas, from FILE or standard\n"
         "input (FILE omitted or -); a first line holding a word names the columns.\n";
  }
  if (!Options.empty()) H += "\noptions:\n";
  for (const TOptionSpec& O : Options) {
    std::string Left = "  ";
    Left += O.Short ? std::string{'-', O.Short} + ", " : "    ";
    Left += "--" + O.Name + (O.Meta.empty() ? "" : " " + O.Meta);
    H += Left + std::string(Left.size() < 28 ? 28 - Left.size() : 1, ' ') + O.Help + "\n";
  }
  H += "  -h, --help                show this help\n";
  return H;
}

namespace {

std::string GeneralHelp() {
  std::string H =
      "usage: zeq COMMAND [options] [FILE]\n\n"
      "Answers and plots from columns of numbers, with the zeq library " ZEQ_VERSION
      ".\n\n"
      "commands:\n";
  for (const TCommand& C : Commands())
    H += "  " + C.Name + std::string(10 - C.Name.size(), ' ') + C.Summary + "\n";
  H += "\n`zeq COMMAND --help` describes a command. Exit codes: 0 success, 1 bad input, 2 usage,\n"
       "130 interrupted.\n";
  return H;
}

bool AsksForHelp(const std::vector<std::string>& Args) {
  for (const std::string& A : Args) {
    if (A == "--") return false;
    if (A == "-h" || A == "--help") return true;
  }
  return false;
}

}  // namespace

int Main(const std::vector<std::string>& Args) {
  if (Args.empty() || Args[0] == "-h" || Args[0] == "--help") {
    std::cout << GeneralHelp();
    return Args.empty() ? 2 : 0;
  }
  if (Args[0] == "--version") {
    std::cout << "zeq " ZEQ_VERSION "\n";
    return 0;
  }
  const TCommand* Command = nullptr;
  for (const TCommand& C : Commands())
    if (C.Name == Args[0]) Command = &C;
  if (Command == nullptr) {
    std::cerr << "zeq: unknown command '" << Args[0] << "' (see zeq --help)\n";
    return 2;
  }
  const std::vector<std::string> Rest(Args.begin() + 1, Args.end());
  if (AsksForHelp(Rest)) {
    std::cout << CommandHelp(*Command);
    return 0;
  }
  const std::string Prefix = "zeq " + Command->Name + ": ";
  try {
    std::vector<TOptionSpec> Specs = Command->Options;
    if (Command->TakesData) {
      const std::vector<TOptionSpec> Common = CommonOptions();
      Specs.insert(Specs.end(), Common.begin(), Common.end());
    }
    Command->Run(TOptions(Rest, Specs));
  } catch (const TUsageError& E) {
    std::cerr << Prefix << E.what() << " (see zeq " << Command->Name << " --help)\n";
    return 2;
  } catch (const std::exception& E) {
    if (TProgress::Aborted()) {
      std::cerr << Prefix << "interrupted\n";
      return 130;
    }
    std::cerr << Prefix << E.what() << "\n";
    return 1;
  }
  if (TProgress::Aborted()) {
    std::cerr << Prefix << "interrupted\n";
    return 130;
  }
  return 0;
}

}  // namespace zeqcli

int main(int argc, char** argv) {
  return zeqcli::Main(std::vector<std::string>(argv + 1, argv + argc));
}
