# Writes a C++ source holding a file's bytes: `extern const unsigned char NAME[]` and
# `extern const unsigned long NAME_size`.
# Usage: cmake -DINPUT=file -DOUTPUT=file.cpp -DNAME=identifier -P EmbedFile.cmake
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" length)
math(EXPR size "${length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){16})" "\\1\n  " bytes "${bytes}")
file(WRITE ${OUTPUT}
  "// Made by cmake/EmbedFile.cmake from ${INPUT}; not edited by hand.\n"
  "extern const unsigned char ${NAME}[];\n"
  "extern const unsigned long ${NAME}_size;\n"
  "const unsigned char ${NAME}[] = {\n  ${bytes}\n};\n"
  "const unsigned long ${NAME}_size = ${size};\n")
