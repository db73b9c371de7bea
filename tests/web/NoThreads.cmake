# Fails when any object of the given static libraries starts a thread. The page has one thread:
# without -pthread, emscripten links std::thread and std::async(std::launch::async) anyway, and
# they abort at run time, so the build's tests catch them here instead.
# Usage: cmake -DNM=llvm-nm "-DLIBRARIES=a.a;b.a" -P NoThreads.cmake
set(found "")
foreach(library ${LIBRARIES})
  execute_process(COMMAND ${NM} -u -A ${library} OUTPUT_VARIABLE undefined
                  RESULT_VARIABLE result ERROR_QUIET)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "cannot read the symbols of ${library}")
  endif()
  string(REGEX MATCHALL "[^\n]*(pthread_create|NSt3__26thread)[^\n]*" matches "${undefined}")
  list(APPEND found ${matches})
endforeach()
if(found)
  list(JOIN found "\n  " listed)
  message(FATAL_ERROR "code for the page starts threads:\n  ${listed}")
endif()
message(STATUS "no thread is started by: ${LIBRARIES}")
