# The string table has one source, resources/strings.txt (UTF-8, one
# "<id> <Name> <text>" per line, texts with C escapes such as \r). From it come
# the .rc STRINGTABLE of the Windows programs, the table compiled into the
# native build, so both builds show the same texts, and base/string_ids.h with
# a constant kString<Name> for every named text ("-" names none).
function(kestrel_generate_strings source rc_out inc_out ids_out)
  file(READ "${source}" content)
  string(REPLACE ";" "<KESTREL_SEMICOLON>" content "${content}")
  string(REPLACE "\r" "" content "${content}")
  string(REPLACE "\n" ";" lines "${content}")
  set(rc "#pragma code_page(65001)\nLANGUAGE 0x11, 0x01\nSTRINGTABLE\nBEGIN\n")
  set(inc "// Generated from resources/strings.txt; do not edit.\n")
  set(ids "// Generated from resources/strings.txt; do not edit.\n#pragma once\n#include <cstdint>\n\nnamespace kestrel {\n\n")
  foreach(line IN LISTS lines)
    if(line STREQUAL "" OR line MATCHES "^#")
      continue()
    endif()
    if(NOT line MATCHES "^([0-9]+)[ \t]+([A-Z][A-Za-z0-9]*|-)[ \t]+(.*)$")
      message(FATAL_ERROR "strings.txt: malformed line (want <id> <Name or -> <text>): ${line}")
    endif()
    set(id "${CMAKE_MATCH_1}")
    set(name "${CMAKE_MATCH_2}")
    set(text "${CMAKE_MATCH_3}")
    if(NOT name STREQUAL "-")
      string(APPEND ids "inline constexpr std::uint32_t kString${name} = ${id};\n")
    endif()
    string(REPLACE "<KESTREL_SEMICOLON>" ";" text "${text}")
    string(APPEND rc "  ${id}, \"${text}\"\n")
    string(APPEND inc "{${id}u, u\"${text}\"},\n")
  endforeach()
  string(APPEND rc "END\n")
  string(APPEND ids "\n}  // namespace kestrel\n")
  file(WRITE "${rc_out}.tmp" "${rc}")
  file(WRITE "${inc_out}.tmp" "${inc}")
  file(COPY_FILE "${rc_out}.tmp" "${rc_out}" ONLY_IF_DIFFERENT)
  file(COPY_FILE "${inc_out}.tmp" "${inc_out}" ONLY_IF_DIFFERENT)
  file(WRITE "${ids_out}.tmp" "${ids}")
  file(COPY_FILE "${ids_out}.tmp" "${ids_out}" ONLY_IF_DIFFERENT)
endfunction()

set(KESTREL_GENERATED_DIR "${CMAKE_BINARY_DIR}/generated")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/resources/strings.txt")
kestrel_generate_strings("${CMAKE_SOURCE_DIR}/resources/strings.txt"
                         "${KESTREL_GENERATED_DIR}/strings.rc"
                         "${KESTREL_GENERATED_DIR}/builtin_strings.inc"
                         "${KESTREL_GENERATED_DIR}/base/string_ids.h")
