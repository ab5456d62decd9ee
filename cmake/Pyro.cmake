# Helpers that let each module list its own sources and tests.
#
#   pyro_sources(PORTABLE a.cpp ... WINDOWS b.cpp ...)
#     PORTABLE sources never include <windows.h> and build everywhere; WINDOWS sources build
#     only for the Windows targets.
#
#   pyro_test(<name> PORTABLE a_test.cpp ... WINDOWS b_test.cpp ... [LOCK_DISPLAY] [TIMEOUT s])
#     One doctest program per subsystem, test_<name>. Under Wine it runs through the emulator
#     wrapper; LOCK_DISPLAY serialises programs that move the keyboard focus.

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
  if(PYRO_RUN_TESTS)
    add_test(NAME ${name} COMMAND test_${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "PYRO_SOURCE_DIR=${CMAKE_SOURCE_DIR};PYRO_BINARY_DIR=${CMAKE_BINARY_DIR}")
    if(ARG_LOCK_DISPLAY)
      set_tests_properties(${name} PROPERTIES RESOURCE_LOCK display)
    endif()
    if(ARG_TIMEOUT)
      set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT})
    endif()
  endif()
endfunction()
