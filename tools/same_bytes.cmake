# Runs the generator again into a scratch directory and checks that every
# file it writes is byte for byte the one in the built data tree.
#   cmake -DGENERATOR=... -DSOURCE=... -DBUILT=... -DSCRATCH=... -P same_bytes.cmake
file(REMOVE_RECURSE ${SCRATCH})
execute_process(COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0 ${GENERATOR} ${SOURCE} ${SCRATCH}
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the generator failed: ${result}")
endif()
file(GLOB_RECURSE written RELATIVE ${SCRATCH} ${SCRATCH}/*)
list(LENGTH written count)
if(count LESS 67)
  message(FATAL_ERROR "only ${count} files written")
endif()
foreach(path ${written})
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${SCRATCH}/${path} ${BUILT}/${path}
                  RESULT_VARIABLE differ)
  if(NOT differ EQUAL 0)
    message(FATAL_ERROR "${path} differs between two runs")
  endif()
endforeach()
file(REMOVE_RECURSE ${SCRATCH})
