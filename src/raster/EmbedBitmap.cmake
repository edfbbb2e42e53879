# Writes a bitmap file's bytes as a C++ array, so that the program carries its pictures and
# reads no image file at run time. Run as: cmake -DINPUT=a.bmp -DOUTPUT=a.inc -DNAME=kA -P this
file(READ "${INPUT}" bytes HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
# Sixteen bytes to a line keeps the generated file readable in a debugger.
string(REGEX REPLACE "((0x..,){16})" "\\1\n    " bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp"
     "// Generated from ${INPUT} at build time; do not edit.\n"
     "inline constexpr unsigned char ${NAME}[] = {\n    ${bytes}\n};\n")
# Only a changed picture touches the output, so an unchanged one rebuilds nothing.
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
