# One GoogleTest program per unit, built from the *_test.cc files beside the unit's code:
#   zeq_add_unit_tests(<unit> [ALLOC_LIMIT] <test sources>...)
# ALLOC_LIMIT links the test-only allocation limit (zeq/testing/alloc_limit.cc), for units
# whose tests provoke allocation failures.
#
# Tests whose name contains "Slow" are registered with the label "slow"; the default test
# preset leaves them out, so that the everyday run stays short.

function(zeq_add_unit_tests unit)
  if(NOT ZEQ_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(PARSE_ARGV 1 ARG "ALLOC_LIMIT" "" "")
  set(exe zeq_${unit}_tests)
  add_executable(${exe} ${ARG_UNPARSED_ARGUMENTS})
  zeq_target_options(${exe})
  target_link_libraries(${exe} PRIVATE zeq GTest::gtest_main)
  if(ARG_ALLOC_LIMIT)
    target_link_libraries(${exe} PRIVATE zeq_alloc_limit)
  endif()
  # Tests read their data files from the source tree (zeq/<unit>/testdata/).
  target_compile_definitions(${exe} PRIVATE ZEQ_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  gtest_discover_tests(${exe} TEST_FILTER "-*Slow*" DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS "${unit}" TIMEOUT 300)
  gtest_discover_tests(${exe} TEST_FILTER "*Slow*" DISCOVERY_TIMEOUT 60 TEST_SUFFIX ".slow"
    PROPERTIES LABELS "${unit};slow" TIMEOUT 1800)
endfunction()
