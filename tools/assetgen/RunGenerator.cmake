# Runs the generator into the runtime folder unless the program, the manifest and the data
# are exactly those of the last run there: the output depends on nothing else, and a build
# that only relinked the generator should not pay for making the data set again.
# Arguments: ASSETGEN, MANIFEST, DATA, GAME.
set(inputs ${ASSETGEN} ${MANIFEST})
if(EXISTS ${DATA})
  file(GLOB_RECURSE data_files ${DATA}/*)
  list(SORT data_files)
  list(APPEND inputs ${data_files})
endif()
set(key "")
foreach(input IN LISTS inputs)
  file(SHA256 ${input} hash)
  string(APPEND key "${input} ${hash}\n")
endforeach()

set(key_file ${GAME}/.assetgen-inputs)
if(EXISTS ${key_file})
  file(READ ${key_file} previous)
  if(previous STREQUAL key)
    message(STATUS "The data set in ${GAME} is up to date")
    return()
  endif()
endif()

file(REMOVE ${key_file})
execute_process(COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
                        ${ASSETGEN} --manifest ${MANIFEST} --data ${DATA} --out ${GAME}
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "assetgen failed (${result})")
endif()
file(WRITE ${key_file} "${key}")
