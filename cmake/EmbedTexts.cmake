# Writes OUTPUT, a C++ source defining app::DesignText(name) for each text file in INPUTS
# (a list), keyed by the file's name without its extension.
separate_arguments(files UNIX_COMMAND "${INPUTS}")
set(body "// Generated from the design-data files; do not edit.\n#include \"app/DesignTexts.h\"\n\n#include <stdexcept>\n#include <string>\n\nnamespace app {\n\nstd::string_view DesignText(std::string_view name) {\n")
foreach(file ${files})
  get_filename_component(key ${file} NAME_WE)
  file(READ ${file} content)
  set(body "${body}    if (name == \"${key}\") {\n        return R\"KEYVETDESIGN(${content})KEYVETDESIGN\";\n    }\n")
endforeach()
set(body "${body}    throw std::logic_error(\"no design data named \" + std::string(name));\n}\n\n}  // namespace app\n")
file(WRITE ${OUTPUT} "${body}")
