# `show` refuses a frame it cannot show, with the reason and a failing
# status, and still shows the last frame there is.
#   cmake -DTOOL=... -P bad_frames.cmake
function(show frame)
  execute_process(COMMAND ${TOOL} show title ${frame}
                  RESULT_VARIABLE result OUTPUT_VARIABLE shown ERROR_VARIABLE told)
  set(result ${result} PARENT_SCOPE)
  set(shown "${shown}" PARENT_SCOPE)
  set(told "${told}" PARENT_SCOPE)
endfunction()

function(expect_refused frame reason)
  show(${frame})
  string(FIND "${told}" "${reason}" at)
  if(result EQUAL 0 OR at EQUAL -1)
    message(FATAL_ERROR "show title ${frame}: status ${result}, told \"${told}\"; expected \"${reason}\"")
  endif()
  set(told "${told}" PARENT_SCOPE)
endfunction()

foreach(frame ten 12x -3 +4 0x10 99999999999)
  expect_refused(${frame} "\"${frame}\" is not a frame number")
endforeach()
expect_refused(100000 "frame 100000 is past the end: title has ")

# The first frame past the end is refused, the one before it shown.
string(REGEX MATCH "has ([0-9]+) frames expected" found "${told}")
math(EXPR last "${CMAKE_MATCH_1} - 1")
expect_refused(${CMAKE_MATCH_1} "past the end")
show(${last})
if(result EQUAL 1 OR NOT shown MATCHES "--- expected, frame ${last}\n")
  message(FATAL_ERROR "show title ${last}: status ${result}, told \"${told}\"")
endif()
