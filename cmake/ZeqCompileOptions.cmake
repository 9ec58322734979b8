# Compiler settings shared by the library, its tests, benchmarks and tools.
#
# -ffp-contract=off keeps every a*b + c as two roundings: the library fixes the order and
# precision of its sums, so results must not depend on whether the compiler fuses them.
# -ffast-math and its relatives are never used for the same reason.

function(zeq_target_options target)
  target_compile_options(${target} PRIVATE
    $<$<CXX_COMPILER_ID:GNU,Clang,AppleClang>:-Wall -Wextra -Wpedantic -ffp-contract=off>)
  if(ZEQ_BUILD_FUZZERS)
    # Coverage feedback for libFuzzer everywhere; the fuzz targets add the fuzzer's main.
    target_compile_options(${target} PRIVATE
      -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
      -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  elseif(ZEQ_THREAD_SANITIZER)
    target_compile_options(${target} PRIVATE -fsanitize=thread -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=thread)
  elseif(ZEQ_SANITIZE)
    target_compile_options(${target} PRIVATE
      -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
  if(ZEQ_COVERAGE)
    target_compile_options(${target} PRIVATE --coverage)
    target_link_options(${target} PRIVATE --coverage)
  endif()
endfunction()
