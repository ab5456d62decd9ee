# The installed package. One prefix holds the builds of several platforms side by side: the
# headers are shared, while libraries, tools and the CMake package go to folders named after the
# platform (win32, win64, native), and each package's version file accepts only a consumer of
# its own platform, so find_package(Pyro) picks the right one for the toolchain in use.
#
#   include/pyro/<module>/*.h              public headers
#   lib/<platform>/libpyro.a, objects-*/   the library, the allocator and entry-point objects
#   bin/<platform>/pyro-pack, pyro-qga     the tools
#   lib/cmake/Pyro-<platform>/             the package: Pyro::pyro, Pyro::main, Pyro::pyro-pack...
#   share/pyro/                            the MinGW toolchain files

include(CMakePackageConfigHelpers)
include(cmake/PyroPlatform.cmake)
pyro_platform_name(PYRO_PLATFORM)

set(PYRO_LIB_DIR lib/${PYRO_PLATFORM})
set(PYRO_BIN_DIR bin/${PYRO_PLATFORM})
set(PYRO_PACKAGE_DIR lib/cmake/Pyro-${PYRO_PLATFORM})

install(DIRECTORY include/pyro DESTINATION include)

set(PYRO_EXPORTED pyro pyro_allocator pyro-pack pyro-qga ${PYRO_DEPENDENCIES})
if(TARGET pyro_main)
  list(APPEND PYRO_EXPORTED pyro_entry_point pyro_main pyro_manifest)
  list(APPEND PYRO_EXPORTED pyro_entry_point_utf8 pyro_main_utf8)
endif()
install(TARGETS ${PYRO_EXPORTED} EXPORT PyroTargets
  ARCHIVE DESTINATION ${PYRO_LIB_DIR}
  OBJECTS DESTINATION ${PYRO_LIB_DIR}
  RUNTIME DESTINATION ${PYRO_BIN_DIR})
install(EXPORT PyroTargets NAMESPACE Pyro:: DESTINATION ${PYRO_PACKAGE_DIR})

configure_package_config_file(cmake/PyroConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/package/PyroConfig.cmake
  INSTALL_DESTINATION ${PYRO_PACKAGE_DIR})
configure_file(cmake/PyroConfigVersion.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/package/PyroConfigVersion.cmake @ONLY)
install(FILES
    ${CMAKE_CURRENT_BINARY_DIR}/package/PyroConfig.cmake
    ${CMAKE_CURRENT_BINARY_DIR}/package/PyroConfigVersion.cmake
    cmake/PyroPlatform.cmake
  DESTINATION ${PYRO_PACKAGE_DIR})
install(FILES cmake/toolchain-i686-w64-mingw32.cmake cmake/toolchain-x86_64-w64-mingw32.cmake
  DESTINATION share/pyro)
