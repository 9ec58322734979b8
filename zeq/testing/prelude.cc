// The translation unit that precompiles the tests' prelude once for every test program.
#include "zeq/testing/test_util.h"
