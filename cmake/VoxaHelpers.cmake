# voxa_library(NAME SOURCES... [DEPS libs...])
# One static library per subsystem; the include root is src/ for all of them.
function(voxa_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# voxa_plugin(NAME SOURCES... [DEPS libs...] [OUTPUT_DIR dir])
# A Susie plug-in: a shared object named NAME.spi, by default beside voxa.
function(voxa_plugin name)
  cmake_parse_arguments(ARG "" "OUTPUT_DIR" "SOURCES;DEPS" ${ARGN})
  add_library(${name} MODULE ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".spi"
                        C_VISIBILITY_PRESET hidden CXX_VISIBILITY_PRESET hidden)
  if(ARG_OUTPUT_DIR)
    set_target_properties(${name} PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${ARG_OUTPUT_DIR})
  endif()
  target_link_libraries(${name} PRIVATE voxa_plugin_interface ${ARG_DEPS})
endfunction()

# voxa_test(NAME SOURCES... DEPS libs...)
# A GoogleTest program whose cases ctest runs one by one.
function(voxa_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} voxa_test_support GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
                       PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# A Google Benchmark program, written to build/<cfg>/bench/ where the README's
# loop finds every one of them.
function(voxa_benchmark name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} benchmark::benchmark)
endfunction()

# voxa_fuzzer(NAME SOURCES... SEEDS seed-sources... DEPS libs...)
# fuzz_NAME is the libFuzzer target; seeds_NAME writes its seed corpus into a folder.
function(voxa_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;SEEDS;DEPS" ${ARGN})
  add_executable(fuzz_${name} ${ARG_SOURCES})
  target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(fuzz_${name} PRIVATE ${ARG_DEPS})
  add_executable(seeds_${name} ${ARG_SEEDS})
  target_link_libraries(seeds_${name} PRIVATE ${ARG_DEPS})
  set_target_properties(fuzz_${name} seeds_${name} PROPERTIES
                        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
endfunction()
