# Build helpers shared by every folder: test executables, fuzz targets and device staging.

# obscuro_add_test(NAME SOURCES src... [LIBS lib...] [THREADED] [NO_TSAN])
# One GoogleTest executable per tested unit folder; cases are discovered when CTest runs.
# THREADED labels its cases "threaded": the ThreadSanitizer stage builds and runs exactly those
# (target `threaded_tests`, `ctest -L threaded`). NO_TSAN also labels them "no-tsan", for
# executables that exercise threads but cannot run under ThreadSanitizer (say why beside the call);
# that stage leaves them out.
function(obscuro_add_test name)
  cmake_parse_arguments(T "THREADED;NO_TSAN" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
  target_compile_definitions(${name} PRIVATE
    OBSCURO_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    OBSCURO_BINARY_DIR="${PROJECT_BINARY_DIR}"
    OBSCURO_DEVICE_ROOT="${OBSCURO_DEVICE_ROOT}")
  set(labels "")
  if(T_THREADED)
    list(APPEND labels threaded)
    if(NOT TARGET threaded_tests)
      add_custom_target(threaded_tests)
    endif()
    add_dependencies(threaded_tests ${name})
  endif()
  if(T_NO_TSAN)
    list(APPEND labels no-tsan)
  endif()
  set(properties ENVIRONMENT "OBSCURO_DEVICE_ROOT=${OBSCURO_DEVICE_ROOT}")
  if(labels)
    list(APPEND properties LABELS "${labels}")
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 PROPERTIES ${properties})
endfunction()

# obscuro_add_fuzzer(NAME SOURCES src... [LIBS lib...])
# One fuzz target (LLVMFuzzerTestOneInput) per reader of outside data; its seeds live in
# fuzz/corpus/NAME, its dictionary (if any) in fuzz/NAME.dict, inputs that once crashed it in
# fuzz/regressions/NAME. With OBSCURO_FUZZ (clang) it is a libFuzzer program, and target
# `fuzzers` builds them all. Otherwise, in a build with tests, it is linked with a plain main
# that replays the seeds and regressions, and that replay is a test labelled "fuzz-replay".
function(obscuro_add_fuzzer name)
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  if(OBSCURO_FUZZ)
    add_executable(${name} ${F_SOURCES})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    if(NOT TARGET fuzzers)
      add_custom_target(fuzzers)
    endif()
    add_dependencies(fuzzers ${name})
  elseif(OBSCURO_TESTS)
    add_executable(${name} ${F_SOURCES} ${PROJECT_SOURCE_DIR}/fuzz/replay_main.cpp)
    add_test(NAME fuzz_replay.${name}
      COMMAND ${name} ${PROJECT_SOURCE_DIR}/fuzz/corpus/${name} ${PROJECT_SOURCE_DIR}/fuzz/regressions/${name})
    set_tests_properties(fuzz_replay.${name} PROPERTIES LABELS fuzz-replay)
  else()
    return()
  endif()
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  target_compile_definitions(${name} PRIVATE OBSCURO_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
endfunction()
