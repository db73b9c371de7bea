# The page: the shell's platform-free core and the game in one module, and its folder (index.html,
# the module, the sound worklet, fonts, icons, manifest, notices and the service worker).
set(page_dir ${CMAKE_CURRENT_SOURCE_DIR}/page)
add_executable(spherolette_web LocalStorage.cpp WebFrontend.cpp WebMain.cpp WebSound.cpp)
target_include_directories(spherolette_web PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(spherolette_web PRIVATE spherolette_web_applet shell_session)
# A replay the page is given is read from the module's memory file system (Page.js puts it there).
# The game asks for a dialog's answer from inside a callback and waits for it there: the whole
# module may sleep (ASYNCIFY) wherever the page's wait is called, and the page runs meanwhile.
# Code that never sleeps is left uninstrumented (NoSleep.txt says which, and why it is safe);
# emscripten reads the list from a file of bare names, so the notes are dropped here.
file(STRINGS ${CMAKE_CURRENT_SOURCE_DIR}/NoSleep.txt no_sleep REGEX "^[^#]")
list(JOIN no_sleep "\n" no_sleep)
file(CONFIGURE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/no-sleep.txt CONTENT "${no_sleep}\n" @ONLY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/NoSleep.txt)
target_link_options(spherolette_web PRIVATE ${SPHEROLETTE_WEB_LINK_OPTIONS}
  -sASYNCIFY=1 "-sASYNCIFY_IMPORTS=['web_wait']" -sASYNCIFY_STACK_SIZE=65536
  -sASYNCIFY_REMOVE=@${CMAKE_CURRENT_BINARY_DIR}/no-sleep.txt
  -sFORCE_FILESYSTEM=1 -sEXIT_RUNTIME=0 -sINITIAL_MEMORY=33554432
  --js-library ${page_dir}/WebLibrary.js --pre-js ${page_dir}/Page.js)
set_target_properties(spherolette_web PROPERTIES OUTPUT_NAME spherolette
  RUNTIME_OUTPUT_DIRECTORY ${SPHEROLETTE_SITE_DIR}
  LINK_DEPENDS "${page_dir}/WebLibrary.js;${page_dir}/Page.js;${CMAKE_CURRENT_BINARY_DIR}/no-sleep.txt")

# The page's other files, and its icons (drawn by the asset generator).
set(site_fonts fonts/SpheroletteSans-Regular.ttf fonts/SpheroletteSans-Bold.ttf)
set(site_icons icons/icon-32.png icons/icon-64.png icons/icon-128.png icons/icon-256.png)
set(site_files spherolette.js spherolette.wasm sound-output.js manifest.webmanifest
    NOTICES.txt fonts/LICENSE.txt ${site_fonts} ${site_icons})
set(site_copies)
foreach(file sound-output.js manifest.webmanifest NOTICES.txt)
  add_custom_command(OUTPUT ${SPHEROLETTE_SITE_DIR}/${file}
    COMMAND ${CMAKE_COMMAND} -E copy ${page_dir}/${file} ${SPHEROLETTE_SITE_DIR}/${file}
    DEPENDS ${page_dir}/${file} VERBATIM)
  list(APPEND site_copies ${SPHEROLETTE_SITE_DIR}/${file})
endforeach()
foreach(icon ${site_icons})
  get_filename_component(name ${icon} NAME)
  add_custom_command(OUTPUT ${SPHEROLETTE_SITE_DIR}/${icon}
    COMMAND ${CMAKE_COMMAND} -E copy ${SPHEROLETTE_ICON_DIR}/${name} ${SPHEROLETTE_SITE_DIR}/${icon}
    DEPENDS ${SPHEROLETTE_ICON_DIR}/${name} VERBATIM)
  list(APPEND site_copies ${SPHEROLETTE_SITE_DIR}/${icon})
endforeach()
# The fonts' licence, in full, beside them.
find_file(SPHEROLETTE_FONT_LICENCE copyright PATHS /usr/share/doc/fonts-liberation2
          NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
add_custom_command(OUTPUT ${SPHEROLETTE_SITE_DIR}/fonts/LICENSE.txt
  COMMAND ${CMAKE_COMMAND} -E copy ${SPHEROLETTE_FONT_LICENCE} ${SPHEROLETTE_SITE_DIR}/fonts/LICENSE.txt
  DEPENDS ${SPHEROLETTE_FONT_LICENCE} VERBATIM)
list(APPEND site_copies ${SPHEROLETTE_SITE_DIR}/fonts/LICENSE.txt)

add_custom_command(OUTPUT ${SPHEROLETTE_SITE_DIR}/index.html ${SPHEROLETTE_SITE_DIR}/sw.js
  COMMAND ${CMAKE_COMMAND} -DSITE=${SPHEROLETTE_SITE_DIR} -DPAGE=${page_dir}
          "-DFILES=${site_files}" "-DFONTS=${site_fonts}" -P ${CMAKE_CURRENT_SOURCE_DIR}/MakeSite.cmake
  DEPENDS spherolette_web spherolette_web_fonts ${site_copies} ${page_dir}/index.html.in
          ${page_dir}/sw.js.in ${CMAKE_CURRENT_SOURCE_DIR}/MakeSite.cmake
          $<TARGET_FILE:spherolette_web>
  COMMENT "Putting the page's folder together" VERBATIM)
add_custom_target(spherolette_site ALL
  DEPENDS ${SPHEROLETTE_SITE_DIR}/index.html ${SPHEROLETTE_SITE_DIR}/sw.js)

# The page in Chromium (tests/web/PageTests.js), against the native shell's pictures and
# recordings: scripts/web.sh hands the native program over as SPHEROLETTE_NATIVE.
set(SPHEROLETTE_NATIVE "" CACHE FILEPATH "the native shell the browser tests compare with")
find_program(SPHEROLETTE_CHROMIUM chromium NO_CMAKE_FIND_ROOT_PATH)
if(SPHEROLETTE_NODE AND SPHEROLETTE_CHROMIUM AND SPHEROLETTE_NATIVE)
  add_test(NAME web.browser.page
    COMMAND ${CMAKE_COMMAND} -E env SPHEROLETTE_SITE=${SPHEROLETTE_SITE_DIR}
            SPHEROLETTE_CHROMIUM=${SPHEROLETTE_CHROMIUM} SPHEROLETTE_NATIVE=${SPHEROLETTE_NATIVE}
            ${SPHEROLETTE_NODE} ${PROJECT_SOURCE_DIR}/tests/web/RunNodeTests.js
            ${PROJECT_SOURCE_DIR}/tests/web/PageTests.js)
  set_tests_properties(web.browser.page PROPERTIES TIMEOUT 600 RUN_SERIAL ON)
endif()
