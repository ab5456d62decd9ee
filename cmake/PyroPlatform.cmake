# pyro_platform_name(<variable>): the name of the platform the current toolchain builds for:
# win32 or win64 for Windows by pointer size, native for any other system. The build names its
# install folders with it, and the installed package compares it with its consumer's.
function(pyro_platform_name variable)
  if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(${variable} win32 PARENT_SCOPE)
  elseif(WIN32)
    set(${variable} win64 PARENT_SCOPE)
  else()
    set(${variable} native PARENT_SCOPE)
  endif()
endfunction()
