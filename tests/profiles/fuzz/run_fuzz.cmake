# Configures and builds the fuzz target with clang, then runs it.
# Inputs: ZENDREL_SOURCE_DIR, FUZZ_SOURCE_DIR, FUZZ_BINARY_DIR, FUZZ_SECONDS,
# FUZZ_GENERATOR.
find_program(CLANGXX NAMES clang++ clang++-14)
if(NOT CLANGXX)
  message(FATAL_ERROR "clang++ not found: install the packages in scripts/packages.txt (clang, libclang-rt-14-dev)")
endif()

set(build ${FUZZ_BINARY_DIR}/build)
execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${FUZZ_SOURCE_DIR} -B ${build} -G ${FUZZ_GENERATOR}
    -DCMAKE_CXX_COMPILER=${CLANGXX} -DCMAKE_BUILD_TYPE=
    -DZENDREL_SOURCE_DIR=${ZENDREL_SOURCE_DIR}
  RESULT_VARIABLE rc)
if(rc)
  message(FATAL_ERROR "configuring the fuzz target failed (${rc})")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${build} RESULT_VARIABLE rc)
if(rc)
  message(FATAL_ERROR "building the fuzz target failed (${rc})")
endif()

# New inputs go to a corpus in the build tree; the shipped profiles and the
# seeds beside this script are read only.
set(corpus ${FUZZ_BINARY_DIR}/corpus)
file(MAKE_DIRECTORY ${corpus} ${FUZZ_BINARY_DIR}/artifacts)
execute_process(
  COMMAND ${build}/fuzz_profile
    -max_total_time=${FUZZ_SECONDS} -timeout=10 -rss_limit_mb=2048 -max_len=4096
    -print_final_stats=1 -artifact_prefix=${FUZZ_BINARY_DIR}/artifacts/
    ${corpus} ${ZENDREL_SOURCE_DIR}/data/profile ${FUZZ_SOURCE_DIR}/seeds
  RESULT_VARIABLE rc)
if(rc)
  message(FATAL_ERROR "the fuzzer found a failure (${rc}); the input is in ${FUZZ_BINARY_DIR}/artifacts")
endif()
