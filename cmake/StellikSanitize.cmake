# Checked builds.
#
# STELLIK_SANITIZE: every target (libraries, tools, tests) is built with AddressSanitizer and
#   UndefinedBehaviorSanitizer; the first report ends the program with a failure, so a report
#   fails the test that ran into it.
# STELLIK_FUZZ: the libFuzzer targets of fuzz/ (clang only). Turns STELLIK_SANITIZE on and adds
#   the coverage the fuzzer steers by to every target. Build the target fuzz-all there: the
#   tests are run checked in a STELLIK_SANITIZE build of the usual compiler (scripts/test).
option(STELLIK_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(STELLIK_FUZZ "Build the libFuzzer targets of fuzz/ (clang; turns STELLIK_SANITIZE on)" OFF)

if(STELLIK_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "STELLIK_FUZZ needs clang: configure with CC=clang CXX=clang++")
  endif()
  set(STELLIK_SANITIZE ON)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

if(STELLIK_SANITIZE)
  set(stellikSanitizeFlags -fsanitize=address,undefined -fno-sanitize-recover=all
                           -fno-omit-frame-pointer)
  add_compile_options(${stellikSanitizeFlags} -g)
  # GCC's flow analysis under the sanitizers reports standard library code (std::function,
  # std::regex) as maybe uninitialised; those warnings say nothing about our code there.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_compile_options(-Wno-maybe-uninitialized)
  endif()
  add_link_options(${stellikSanitizeFlags})
  # The sanitizers' default options, linked into every target made from here on.
  add_library(stellik_sanitizer_defaults OBJECT ${CMAKE_CURRENT_LIST_DIR}/SanitizerDefaults.cpp)
  link_libraries(stellik_sanitizer_defaults)
endif()
