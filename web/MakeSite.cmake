# Finishes the page's folder once the module is linked: names this version's cache after a
# digest of every file the page loads, and writes index.html and the service worker with that
# name and the list of files. Run by the spherolette_web target (web/CMakeLists.txt).
#   cmake -DSITE=<site dir> -DPAGE=<web/page dir> -DFILES=<files of the site> -DFONTS=<fonts>
#         -P MakeSite.cmake
set(digest_input "")
foreach(file ${FILES})
  if(NOT EXISTS ${SITE}/${file})
    message(FATAL_ERROR "the page's folder lacks ${file}")
  endif()
  file(MD5 ${SITE}/${file} file_digest)
  string(APPEND digest_input "${file}=${file_digest};")
endforeach()
string(MD5 digest "${digest_input}")
string(SUBSTRING ${digest} 0 12 digest)
set(CACHE_NAME "spherolette-${digest}")

set(quoted "")
foreach(file ./ index.html ${FILES})
  list(APPEND quoted "'${file}'")
endforeach()
list(JOIN quoted ", " SITE_FILES)
set(quoted "")
foreach(file ${FONTS})
  list(APPEND quoted "'${file}'")
endforeach()
list(JOIN quoted ", " FONT_FILES)
configure_file(${PAGE}/index.html.in ${SITE}/index.html @ONLY)
configure_file(${PAGE}/sw.js.in ${SITE}/sw.js @ONLY)
