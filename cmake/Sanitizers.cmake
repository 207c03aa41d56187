# Builds with the address and undefined-behaviour sanitizers, and the fuzz targets.
#
# JUKARIUM_SANITIZE  every target of ours built and linked with AddressSanitizer and
#                    UndefinedBehaviorSanitizer; any undefined behaviour ends the program, as a
#                    memory error does. gcc or clang. scripts/sanitizer-test runs the tests so.
# JUKARIUM_FUZZ      also the libFuzzer targets in fuzz/ (clang only; implies
#                    JUKARIUM_SANITIZE). Every library is instrumented for coverage, so the
#                    fuzzer sees the paths taken inside our parsers, not only in the targets.
# The libraries of others (Qt, libopenmpt, SDL) stay as Debian built them.
option(JUKARIUM_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(JUKARIUM_FUZZ "Build the libFuzzer targets in fuzz/ (clang; implies JUKARIUM_SANITIZE)" OFF)

if(JUKARIUM_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "JUKARIUM_FUZZ needs clang (libFuzzer): configure with "
                        "-DCMAKE_CXX_COMPILER=clang++")
  endif()
  set(JUKARIUM_SANITIZE ON)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

if(JUKARIUM_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined)
endif()
