include(${CMAKE_CURRENT_LIST_DIR}/StellikSanitize.cmake)

# stellik_library(NAME DEPS...): one static library per folder, built from every
# source file of that folder (subfolders excluded), with warnings on.
function(stellik_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
                                           -Wnon-virtual-dtor -Wold-style-cast)
  if(STELLIK_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

function(stellik_library name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARGN})
  stellik_warnings(${name})
endfunction()

# stellik_test(NAME DEPS... [TIMEOUT SECONDS CASES FILTER]): a GoogleTest program from every
# source file of the current folder, registered with ctest case by case. The cases that the
# gtest filter FILTER names (e.g. "Fuzz.*:LargeRun.*") get a time limit of their own, SECONDS,
# in place of the one ctest is given on its command line: long cases whose hang should fail
# them, whatever the run's limit.
function(stellik_test name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "TIMEOUT;CASES" "")
  if(DEFINED arg_TIMEOUT AND NOT DEFINED arg_CASES
     OR DEFINED arg_CASES AND NOT DEFINED arg_TIMEOUT)
    message(FATAL_ERROR "stellik_test(${name}): TIMEOUT and CASES go together")
  endif()
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${arg_UNPARSED_ARGUMENTS} GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_definitions(${name} PRIVATE
    STELLIK_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  stellik_warnings(${name})
  if(DEFINED arg_CASES)
    # Two discoveries of the one program: the named cases with their limit, the others without.
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 TEST_FILTER "-${arg_CASES}")
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 TEST_FILTER "${arg_CASES}"
                         PROPERTIES TIMEOUT ${arg_TIMEOUT})
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
  endif()
endfunction()

# stellik_bench(NAME SOURCE DEPS...): one Google Benchmark program (built, not run by ctest).
function(stellik_bench name source)
  find_package(benchmark REQUIRED)
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE ${ARGN} benchmark::benchmark benchmark::benchmark_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  stellik_warnings(${name})
endfunction()
