// Progress on a terminal through the library's progress hook, and Ctrl-C through its abort flag.
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <string>

#include "cli.h"
#include "zeq/base/hooks.h"

#if defined(__unix__) || defined(__APPLE__)
#include <unistd.h>
#define ZEQ_CLI_HAS_ISATTY 1
#endif

namespace zeqcli {

namespace {

volatile std::sig_atomic_t Interrupted = 0;
std::string Label;
double Total = 0;
bool OnTerminal = false;

void OnInterrupt(int) {
  Interrupted = 1;
  zeq::AbortMathProc.store(true);  // lock-free: safe in a signal handler
}

void ShowProgress(double Done) {
  if (Total > 0) {
    const int Percent = static_cast<int>(std::min(100.0, 100 * Done / Total));
    const int Filled = Percent * 30 / 100;
    std::fprintf(stderr, "\r%s [%s%s] %3d%%", Label.c_str(), std::string(Filled, '#').c_str(),
                 std::string(30 - Filled, ' ').c_str(), Percent);
  } else {
    std::fprintf(stderr, "\r%s: step %.0f", Label.c_str(), Done);
  }
  std::fflush(stderr);
}

}  // namespace

TProgress::TProgress(const std::string& What, double Steps) {
  Label = What;
  Total = Steps;
#ifdef ZEQ_CLI_HAS_ISATTY
  OnTerminal = isatty(STDERR_FILENO) != 0;
#endif
  zeq::ProcStat = 0;
  zeq::AbortMathProc = false;
  Interrupted = 0;
  zeq::MathFeedBackProc = OnTerminal ? ShowProgress : nullptr;
  std::signal(SIGINT, OnInterrupt);
}

TProgress::~TProgress() {
  std::signal(SIGINT, SIG_DFL);
  zeq::MathFeedBackProc = nullptr;
  if (OnTerminal) std::fprintf(stderr, "\r%s\r", std::string(Label.size() + 40, ' ').c_str());
}

bool TProgress::Aborted() { return Interrupted != 0; }

}  // namespace zeqcli
