// zeq demo: the tour of the library over built-in data.
#include "../demo_common.h"
#include "cli.h"

namespace zeqcli {

TCommand DemoCommand() {
  return {"demo",
          "",
          "a tour of the library on built-in data",
          "Runs the library's routines on built-in data: statistics, sorting, vectors and\n"
          "matrices, data tables, distributions, smoothing, fits, principal components,\n"
          "clustering, geometry and transforms.",
          {},
          [](const TOptions& O) {
            if (!O.Positional().empty()) throw TUsageError("demo takes no arguments");
            if (demo::RunDemo() != 0) throw TInputError("the demo failed");
          },
          false};
}

}  // namespace zeqcli
