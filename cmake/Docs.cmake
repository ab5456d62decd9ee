# The API reference: Doxygen over the public headers, built by the `docs` target into
# <build>/docs/html. Every public class and operation must be documented: an undocumented one
# fails the build. The headers' // comments are read through docs/reference/filter.py.
find_package(Doxygen QUIET)
if(DOXYGEN_FOUND)
  set(DOXYGEN_PROJECT_NAME "Pyro丸Plaza")
  set(DOXYGEN_PROJECT_NUMBER ${PROJECT_VERSION})
  set(DOXYGEN_PROJECT_BRIEF "A 2D game framework for the Windows desktop")
  set(DOXYGEN_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/docs)
  set(DOXYGEN_INPUT_FILTER ${CMAKE_SOURCE_DIR}/docs/reference/filter.py)
  set(DOXYGEN_FILE_PATTERNS *.h *.md)
  set(DOXYGEN_RECURSIVE YES)
  set(DOXYGEN_STRIP_FROM_PATH ${CMAKE_SOURCE_DIR}/include)
  set(DOXYGEN_STRIP_FROM_INC_PATH ${CMAKE_SOURCE_DIR}/include)
  set(DOXYGEN_USE_MDFILE_AS_MAINPAGE ${CMAKE_SOURCE_DIR}/docs/reference/mainpage.md)
  set(DOXYGEN_JAVADOC_AUTOBRIEF YES)
  set(DOXYGEN_EXTRACT_ALL NO)
  set(DOXYGEN_WARN_IF_UNDOCUMENTED YES)
  set(DOXYGEN_WARN_AS_ERROR FAIL_ON_WARNINGS)
  set(DOXYGEN_WARN_LOGFILE ${CMAKE_BINARY_DIR}/docs/warnings.txt)
  set(DOXYGEN_QUIET YES)
  set(DOXYGEN_GENERATE_LATEX NO)
  set(DOXYGEN_PREDEFINED "_WIN32" "__GNUC__")
  set(DOXYGEN_MACRO_EXPANSION YES)
  set(DOXYGEN_EXPAND_ONLY_PREDEF YES)
  doxygen_add_docs(docs
    ${CMAKE_SOURCE_DIR}/include/pyro ${CMAKE_SOURCE_DIR}/docs/reference/mainpage.md
    COMMENT "API reference")
endif()
