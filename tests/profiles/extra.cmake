# Fuzzing the profile reader: a CTest test that builds the fuzz target with
# clang (libFuzzer + AddressSanitizer) in its own build folder and runs it
# for a bounded time on a seed corpus of the shipped profiles. It passes
# when the fuzzer finds nothing.
add_test(NAME profile_fuzz
  COMMAND ${CMAKE_COMMAND}
    -DZENDREL_SOURCE_DIR=${CMAKE_SOURCE_DIR}
    -DFUZZ_SOURCE_DIR=${CMAKE_CURRENT_LIST_DIR}/fuzz
    -DFUZZ_BINARY_DIR=${CMAKE_BINARY_DIR}/tests/profile_fuzz
    -DFUZZ_SECONDS=30
    "-DFUZZ_GENERATOR=${CMAKE_GENERATOR}"
    -P ${CMAKE_CURRENT_LIST_DIR}/fuzz/run_fuzz.cmake)
set_tests_properties(profile_fuzz PROPERTIES LABELS "fuzz" TIMEOUT 900)
