# Build helpers shared by every folder: test executables and device staging.

# obscuro_add_test(NAME SOURCES src... [LIBS lib...])
# One GoogleTest executable per tested unit folder; cases are discovered when CTest runs.
function(obscuro_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
  target_compile_definitions(${name} PRIVATE
    OBSCURO_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    OBSCURO_BINARY_DIR="${PROJECT_BINARY_DIR}"
    OBSCURO_DEVICE_ROOT="${OBSCURO_DEVICE_ROOT}")
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "OBSCURO_DEVICE_ROOT=${OBSCURO_DEVICE_ROOT}")
endfunction()
