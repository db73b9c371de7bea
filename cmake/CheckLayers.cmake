# The layers' include rules, checked over the sources (run at configure time and as a test):
#  - the game (applet/ text/ game/ gamescreen/ screens/ platform/ resources/) includes only
#    itself and the contract host/: never the shell, never SDL;
#  - the shell includes the contract but nothing of the game's own code;
#  - only the SDL front end (shell/sdl/) and the program (shell/main.cpp) include SDL.
# Usage: cmake -DSOURCE_DIR=... -P CheckLayers.cmake
cmake_minimum_required(VERSION 3.25)

set(game_folders applet text game gamescreen screens platform resources)
set(breaches "")

function(check_files files forbidden_regex why)
  foreach(file ${files})
    file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include")
    foreach(line ${lines})
      if(line MATCHES "${forbidden_regex}")
        file(RELATIVE_PATH rel ${SOURCE_DIR} ${file})
        string(STRIP "${line}" line)
        set(breaches "${breaches}\n  ${rel}: ${line} (${why})" PARENT_SCOPE)
      endif()
    endforeach()
  endforeach()
  set(breaches "${breaches}" PARENT_SCOPE)
endfunction()

set(game_sources "")
foreach(folder ${game_folders})
  file(GLOB_RECURSE found ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp
       ${SOURCE_DIR}/${folder}/*.inc)
  list(APPEND game_sources ${found})
endforeach()
check_files("${game_sources}" "[<\"](shell/|SDL|\\.\\./)" "the game reaches only host/")

file(GLOB_RECURSE shell_sources ${SOURCE_DIR}/shell/*.h ${SOURCE_DIR}/shell/*.cpp)
string(JOIN "|" game_alternatives ${game_folders})
check_files("${shell_sources}" "[<\"](\\.\\./)*(${game_alternatives})/" "the shell reaches the game only through host/")

set(platform_free "")
foreach(file ${shell_sources})
  if(NOT file MATCHES "/shell/sdl/" AND NOT file MATCHES "/shell/main\\.cpp$")
    list(APPEND platform_free ${file})
  endif()
endforeach()
check_files("${platform_free}" "[<\"](SDL|SDL2/)" "SDL belongs to shell/sdl")

if(breaches)
  message(FATAL_ERROR "Layer rules broken:${breaches}")
endif()
