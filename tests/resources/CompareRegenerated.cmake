# Runs the asset generator again into a scratch folder and compares every file it writes with
# the ones the build embedded.
file(REMOVE_RECURSE ${SCRATCH})
file(MAKE_DIRECTORY ${SCRATCH})
execute_process(COMMAND ${GENERATOR} --out ${SCRATCH} --font ${FONT} --help ${HELP}
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the generator failed: ${result}")
endif()
file(GLOB outputs RELATIVE ${SCRATCH} ${SCRATCH}/*)
list(LENGTH outputs count)
if(count LESS 35)
  message(FATAL_ERROR "the generator wrote only ${count} files")
endif()
foreach(name ${outputs})
  if(name STREQUAL "ResourceBlobs.S")  # names the folder it was written to
    continue()
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${SCRATCH}/${name} ${BUILT}/${name}
                  RESULT_VARIABLE differs)
  if(differs)
    message(FATAL_ERROR "${name} differs between two runs of the generator")
  endif()
endforeach()
