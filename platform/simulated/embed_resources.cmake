# Writes a compiled resource file into a C++ source as the bytes a simulated module carries.
file(READ ${INPUT} bytes HEX)
string(LENGTH "${bytes}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE ${OUTPUT} "// The compiled resources of a simulated module, written by the build.\n"
  "extern \"C\" const unsigned char winsim_module_resources[] = {\n${bytes}\n};\n"
  "extern \"C\" const unsigned long winsim_module_resources_size = ${size};\n")
