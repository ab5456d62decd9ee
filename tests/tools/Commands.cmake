# Runs pyro-pack as a user would: packs this repository's src/file folder in each layout
# (scrambled), lists and extracts it, and compares every file with its original; then a folder
# with Japanese names. RUNNER, when set, runs the program (the Wine wrapper).
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(PACK ${RUNNER} ${PACK})

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed (${status}): ${err}")
  endif()
  set(output "${out}" PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE inputs RELATIVE ${SOURCE}/src/file ${SOURCE}/src/file/*)
foreach(layout plain ex dx)
  run(${PACK} create --layout ${layout} --scramble ${WORK}/${layout}.dat ${SOURCE}/src/file)
  run(${PACK} list ${WORK}/${layout}.dat)
  if(NOT output MATCHES "members\n" OR NOT output MATCHES "FileBuffer.cpp\t")
    message(FATAL_ERROR "unexpected listing: ${output}")
  endif()
  run(${PACK} extract --unscramble ${WORK}/${layout}.dat ${WORK}/${layout})
  foreach(input ${inputs})
    run(${CMAKE_COMMAND} -E compare_files ${SOURCE}/src/file/${input} ${WORK}/${layout}/${input})
  endforeach()
endforeach()

# Japanese names on the command line, on disk and as member names come back as they were.
file(WRITE ${WORK}/データ/絵/ソ表.txt "member")
run(${PACK} create ${WORK}/データ.dat ${WORK}/データ)
run(${PACK} extract ${WORK}/データ.dat ${WORK}/出力)
run(${CMAKE_COMMAND} -E compare_files ${WORK}/データ/絵/ソ表.txt ${WORK}/出力/絵/ソ表.txt)

execute_process(COMMAND ${PACK} bogus RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
if(status EQUAL 0)
  message(FATAL_ERROR "an unknown command must fail")
endif()
