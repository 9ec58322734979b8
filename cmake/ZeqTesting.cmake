# One GoogleTest program per unit, built from the *_test.cc files beside the unit's code:
#   zeq_add_unit_tests(<unit> [ALLOC_LIMIT] <test sources>...)
# ALLOC_LIMIT links the test-only allocation limit (zeq/testing/alloc_limit.cc), for units
# whose tests provoke allocation failures.
#
# Every program reuses one precompiled zeq/testing/test_util.h, the tests' prelude (GoogleTest
# and the common standard headers): compiled once instead of once per test file.
#
# Tests whose name contains "Slow" are registered with the label "slow"; the default test
# preset leaves them out, so that the everyday run stays short.

function(zeq_add_unit_tests unit)
  if(NOT ZEQ_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(PARSE_ARGV 1 ARG "ALLOC_LIMIT" "" "")
  if(NOT TARGET zeq_test_prelude)
    add_library(zeq_test_prelude OBJECT ${PROJECT_SOURCE_DIR}/zeq/testing/prelude.cc)
    zeq_test_program_options(zeq_test_prelude)
    target_precompile_headers(zeq_test_prelude PRIVATE
      ${PROJECT_SOURCE_DIR}/zeq/testing/test_util.h)
  endif()
  set(exe zeq_${unit}_tests)
  add_executable(${exe} ${ARG_UNPARSED_ARGUMENTS})
  zeq_test_program_options(${exe})
  target_precompile_headers(${exe} REUSE_FROM zeq_test_prelude)
  if(ARG_ALLOC_LIMIT)
    target_link_libraries(${exe} PRIVATE zeq_alloc_limit)
  endif()
  gtest_discover_tests(${exe} TEST_FILTER "-*Slow*" DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS "${unit}" TIMEOUT 300)
  gtest_discover_tests(${exe} TEST_FILTER "*Slow*" DISCOVERY_TIMEOUT 60 TEST_SUFFIX ".slow"
    PROPERTIES LABELS "${unit};slow" TIMEOUT 1800)
endfunction()

# The compile options of a test program and of the precompiled prelude (they must be equal).
function(zeq_test_program_options target)
  zeq_target_options(${target})
  target_link_libraries(${target} PRIVATE zeq GTest::gtest_main)
  # Tests read their data files from the source tree (zeq/<unit>/testdata/).
  target_compile_definitions(${target} PRIVATE ZEQ_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
endfunction()
