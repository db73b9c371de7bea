# giflib for WebAssembly, from Debian's source package (scripts/install-deps.sh --web unpacks
# the version the native shell links, with Debian's patches), so that the browser decodes the
# game's pictures with the shell's own decoder, shell/media/Gif.cpp, unchanged.
set(SPHEROLETTE_GIFLIB_SOURCE /usr/local/src/spherolette/giflib CACHE PATH
    "giflib's unpacked Debian source")
if(NOT EXISTS ${SPHEROLETTE_GIFLIB_SOURCE}/dgif_lib.c)
  message(FATAL_ERROR "no giflib source in ${SPHEROLETTE_GIFLIB_SOURCE}: "
                      "run scripts/install-deps.sh --web")
endif()

add_library(web_giflib STATIC
  ${SPHEROLETTE_GIFLIB_SOURCE}/dgif_lib.c ${SPHEROLETTE_GIFLIB_SOURCE}/gif_err.c
  ${SPHEROLETTE_GIFLIB_SOURCE}/gifalloc.c ${SPHEROLETTE_GIFLIB_SOURCE}/openbsd-reallocarray.c)
target_include_directories(web_giflib SYSTEM PUBLIC ${SPHEROLETTE_GIFLIB_SOURCE})
# Its own code, as Debian ships it; only the project's code is held to the project's warnings.
target_compile_options(web_giflib PRIVATE -Wno-sign-compare -Wno-unused-parameter)

# The encoder half, for tests that make GIFs of their own.
add_library(web_giflib_encoder STATIC EXCLUDE_FROM_ALL
  ${SPHEROLETTE_GIFLIB_SOURCE}/egif_lib.c ${SPHEROLETTE_GIFLIB_SOURCE}/gif_hash.c)
target_link_libraries(web_giflib_encoder PUBLIC web_giflib)
target_compile_options(web_giflib_encoder PRIVATE -Wno-sign-compare -Wno-unused-parameter)

# The shell's GIF decoder over it.
add_library(spherolette_web_pictures STATIC ${PROJECT_SOURCE_DIR}/shell/media/Gif.cpp)
target_include_directories(spherolette_web_pictures PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(spherolette_web_pictures PUBLIC web_giflib)
