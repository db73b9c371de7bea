# Liberation Sans Regular and Bold cut down to Latin-1, the only text the game draws, with their
# kerning kept and their hinting dropped (the text engine does not read hints). Made in the
# build from the system's fonts-liberation2 with fontTools; never committed. A cut-down font is
# a modified version under its licence and may not keep the reserved name "Liberation": the
# files and their family are called Spherolette Sans (web/page/NOTICES.txt says so).
find_program(SPHEROLETTE_FONTTOOLS_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH
             NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(font_dir ${SPHEROLETTE_SITE_DIR}/fonts)
file(MAKE_DIRECTORY ${font_dir})
set(SPHEROLETTE_WEB_FONTS)
foreach(style Regular Bold)
  find_file(SPHEROLETTE_FONT_${style} LiberationSans-${style}.ttf
    PATHS /usr/share/fonts/truetype/liberation2 /usr/share/fonts/truetype/liberation
    NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  set(out ${font_dir}/SpheroletteSans-${style}.ttf)
  add_custom_command(OUTPUT ${out}
    COMMAND ${SPHEROLETTE_FONTTOOLS_PYTHON} -m fontTools.subset ${SPHEROLETTE_FONT_${style}}
            --output-file=${out} --unicodes=U+0020-007E,U+00A0-00FF
            --layout-features=kern --legacy-kern --no-hinting --name-IDs=* --name-languages=* --notdef-outline
    COMMAND ${SPHEROLETTE_FONTTOOLS_PYTHON} ${CMAKE_CURRENT_SOURCE_DIR}/RenameFont.py ${out}
            "Liberation Sans" "Spherolette Sans"
    DEPENDS ${SPHEROLETTE_FONT_${style}} ${CMAKE_CURRENT_SOURCE_DIR}/RenameFont.py
    COMMENT "Cutting Liberation Sans ${style} down to Latin-1"
    VERBATIM)
  list(APPEND SPHEROLETTE_WEB_FONTS ${out})
endforeach()
add_custom_target(spherolette_web_fonts ALL DEPENDS ${SPHEROLETTE_WEB_FONTS})

foreach(style Regular Bold)
  add_test(NAME web.fonts.${style}_draws_latin1_as_the_full_font_does
    COMMAND ${SPHEROLETTE_FONTTOOLS_PYTHON} ${PROJECT_SOURCE_DIR}/tests/web/CheckFontSubset.py
            ${SPHEROLETTE_FONT_${style}} ${font_dir}/SpheroletteSans-${style}.ttf)
endforeach()
