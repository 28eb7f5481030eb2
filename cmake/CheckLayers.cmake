# The layers of src/ and the one rule between them: a file includes headers of
# its own layer and of the layers below it, never above. Run as
#   cmake -DSOURCE_DIR=<src> -P CheckLayers.cmake
# It prints every include that breaks the rule and fails when there is one.
#
#   platform <- base <- power <- display <- eco <- ui/model <- app
#            <- ui/shell, ui/surfaces, ui/dialogs <- programs
#   installer stands on platform and base only.
# Inside platform, the ports include neither their Win32 adapters nor the
# emulated machine. Only app and the programs know the Application object.
# The portable layers include no Windows header at all.

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "CheckLayers.cmake: set SOURCE_DIR to the src folder")
endif()

# The layer of a path below src/ ("" for one outside every layer).
function(layer_of path out)
  set(layer "")
  foreach(prefix IN ITEMS platform/win32 platform/emulated platform base power display eco ui/model app
                          ui/shell ui/surfaces ui/dialogs installer programs)
    string(LENGTH "${prefix}/" length)
    string(SUBSTRING "${path}" 0 ${length} head)
    if(head STREQUAL "${prefix}/")
      set(layer "${prefix}")
      break()
    endif()
  endforeach()
  set(${out} "${layer}" PARENT_SCOPE)
endfunction()

# Rank of each layer; a file may include a layer of equal or lower rank.
set(rank_platform 0)
set(rank_platform/emulated 0)
set(rank_platform/win32 0)
set(rank_base 1)
set(rank_power 2)
set(rank_display 3)
set(rank_eco 4)
set(rank_ui/model 5)
set(rank_app 6)
set(rank_ui/shell 7)
set(rank_ui/surfaces 7)
set(rank_ui/dialogs 7)
set(rank_programs 8)

function(allowed from to out)
  set(ok FALSE)
  if(from STREQUAL "installer")
    if(to MATCHES "^(platform|platform/emulated|base|installer)$")
      set(ok TRUE)
    endif()
  elseif(to STREQUAL "installer")
    set(ok FALSE)
    if(from STREQUAL "programs")
      set(ok TRUE)
    endif()
  elseif(from STREQUAL "platform" AND to MATCHES "^platform/")
    set(ok FALSE)  # the ports know no implementation of themselves
  elseif(from STREQUAL "platform/emulated" AND to STREQUAL "platform/win32")
    set(ok FALSE)  # the emulated machine stays portable
  else()
    if(${rank_${to}} LESS_EQUAL ${rank_${from}})
      set(ok TRUE)
    endif()
  endif()
  set(${out} ${ok} PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
set(violations 0)
foreach(source IN LISTS sources)
  layer_of("${source}" from)
  if(from STREQUAL "")
    continue()
  endif()
  if(NOT from MATCHES "^(platform/win32|ui/shell|ui/surfaces|ui/dialogs|programs)$")
    file(STRINGS "${SOURCE_DIR}/${source}" windows_headers REGEX "^[ \t]*#[ \t]*include[ \t]+<(windows|winuser|winbase|windef|objbase|shellapi|commctrl|gdiplus|powrprof|setupapi)\\.h>")
    foreach(line IN LISTS windows_headers)
      message("layer rule: src/${source} (${from}) is portable but includes ${line}")
      math(EXPR violations "${violations} + 1")
    endforeach()
  endif()
  file(STRINGS "${SOURCE_DIR}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]+\"[^\"]+\"")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]+\"([^\"]+)\".*$" "\\1" header "${line}")
    layer_of("${header}" to)
    if(to STREQUAL "")
      continue()
    endif()
    allowed("${from}" "${to}" ok)
    if(ok AND header STREQUAL "app/application.h" AND NOT from MATCHES "^(app|programs)$")
      set(ok FALSE)
    endif()
    if(NOT ok)
      message("layer rule: src/${source} (${from}) includes \"${header}\" (${to})")
      math(EXPR violations "${violations} + 1")
    endif()
  endforeach()
endforeach()

if(violations GREATER 0)
  message(FATAL_ERROR "${violations} include(s) break the layer rule")
endif()
list(LENGTH sources count)
message("layer rule: ${count} files, no include against the rule")
