#!/usr/bin/env bash
# Line coverage of the library by the default test run (the `coverage` preset: GCC with
# --coverage, no optimisation), summarised per file and in total by gcovr (Debian `gcovr`).
# Test code, test helpers and the fuzz targets are not counted.
#   tests/tools/coverage.sh            summary on the terminal, report in build/coverage/
set -euo pipefail
cd "$(dirname "$0")/../.."
command -v gcovr >/dev/null || { echo "coverage needs gcovr (apt-get install gcovr)"; exit 2; }
cmake --preset coverage >/dev/null
cmake --build --preset coverage
find build/coverage -name '*.gcda' -delete
ctest --preset coverage >/dev/null || true  # the coverage counts even if a test fails
# Counts above 2^31 make gcov print negative function percentages, which gcovr cannot parse;
# those summary lines are skipped (line coverage is unaffected).
gcovr --root . --object-directory build/coverage --gcov-ignore-parse-errors \
  --filter 'zeq/' --exclude '.*_test\.cc' --exclude 'zeq/testing/' \
  --txt build/coverage/coverage.txt --print-summary | tail -3
echo "per-file report: build/coverage/coverage.txt"
