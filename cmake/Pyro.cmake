# Helpers that let each module list its own sources and tests.
#
#   pyro_sources(PORTABLE a.cpp ... WINDOWS b.cpp ...)
#     PORTABLE sources never include <windows.h> and build everywhere; WINDOWS sources build
#     only for the Windows targets.
#
#   pyro_test(<name> PORTABLE a_test.cpp ... WINDOWS b_test.cpp ... [LOCK_DISPLAY] [TIMEOUT s])
#     One doctest program per subsystem, test_<name>. Under Wine it runs through the emulator
#     wrapper, twice: <name> under the Japanese locale and <name>_en under the English one (see
#     PYRO_TEST_LOCALES); LOCK_DISPLAY serialises programs that move the keyboard focus.

function(pyro_sources)
  cmake_parse_arguments(ARG "" "" "PORTABLE;WINDOWS" ${ARGN})
  target_sources(pyro PRIVATE ${ARG_PORTABLE})
  if(WIN32)
    target_sources(pyro PRIVATE ${ARG_WINDOWS})
  endif()
endfunction()

function(pyro_test name)
  cmake_parse_arguments(ARG "LOCK_DISPLAY" "TIMEOUT" "PORTABLE;WINDOWS" ${ARGN})
  set(srcs ${ARG_PORTABLE})
  if(WIN32)
    list(APPEND srcs ${ARG_WINDOWS})
  endif()
  if(NOT srcs)
    return()
  endif()
  add_executable(test_${name} ${srcs})
  target_link_libraries(test_${name} PRIVATE pyro_internal pyro_test_main)
  # Test code compiles at -O1: much quicker to build, and the code under test keeps the
  # library's own optimisation.
  target_compile_options(test_${name} PRIVATE -O1)
  if(NOT PYRO_RUN_TESTS)
    return()
  endif()
  foreach(locale IN LISTS PYRO_TEST_LOCALES)
    pyro_locale_suffix(${locale} suffix)
    pyro_test_directory(${name}${suffix} work)
    add_test(NAME ${name}${suffix} COMMAND test_${name} WORKING_DIRECTORY ${work})
    set_tests_properties(${name}${suffix} PROPERTIES ENVIRONMENT
      "PYRO_SOURCE_DIR=${CMAKE_SOURCE_DIR};PYRO_BINARY_DIR=${CMAKE_BINARY_DIR};PYRO_LOCALE=${locale}")
    if(ARG_LOCK_DISPLAY)
      set_tests_properties(${name}${suffix} PROPERTIES RESOURCE_LOCK display)
    endif()
    if(ARG_TIMEOUT)
      set_tests_properties(${name}${suffix} PROPERTIES TIMEOUT ${ARG_TIMEOUT})
    endif()
  endforeach()
endfunction()

# A working directory of the test's own, made now: runs of one program go in parallel (its two
# locales, its variants) and would otherwise share their scratch files.
function(pyro_test_directory test out)
  set(work ${CMAKE_BINARY_DIR}/run/${test})
  file(MAKE_DIRECTORY ${work})
  set(${out} ${work} PARENT_SCOPE)
endfunction()

# The locales the Windows programs are tested under: the Japanese system they are written for
# (ANSI code page 932) and an English one (1252), where every name and caption must come out the
# same. Native programs do not depend on the locale and run once. The 32-bit Windows build runs
# under the Japanese locale only: the locale-dependent code is the same for both sizes, and the
# game's own locale test (which plays under both) keeps the English system covered there too.
if(CMAKE_CROSSCOMPILING AND CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(PYRO_TEST_LOCALES ja_JP.UTF-8 en_US.UTF-8)
else()
  set(PYRO_TEST_LOCALES ja_JP.UTF-8)
endif()

# The Wine prefix of this build's programs (scripts/setup.sh makes it): 32-bit programs have
# their own, beside the 64-bit one. A prefix of another screen setting takes a suffix.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(PYRO_WINE_PREFIX ${CMAKE_SOURCE_DIR}/build/wineprefix32)
else()
  set(PYRO_WINE_PREFIX ${CMAKE_SOURCE_DIR}/build/wineprefix)
endif()

# The test name's suffix for a locale: none for the Japanese one (and natively), "_en" for English.
function(pyro_locale_suffix locale out)
  if(locale MATCHES "^en_")
    set(${out} "_en" PARENT_SCOPE)
  else()
    set(${out} "" PARENT_SCOPE)
  endif()
endfunction()
