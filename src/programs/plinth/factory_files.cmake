# The factory files of the three-mode ECO model lie beside Kestrel.exe, where
# Plinth /StandAlone looks for them ("<path of Kestrel.exe>.ini" and ".reg").
# configure_file re-copies them whenever they change.
foreach(factory_file Kestrel.exe.ini Kestrel.exe.reg)
  configure_file("${CMAKE_SOURCE_DIR}/resources/factory/${factory_file}" "${CMAKE_BINARY_DIR}/bin/${factory_file}"
                 COPYONLY)
endforeach()
# The two-mode model's set: its .ini and .reg go beside Kestrel.exe instead of
# the three-mode ones, and the set-up places the export files of its two
# factory plans in "C:\Program Files\Kestrel" (ECOMode.pow, StdMode.pow).
foreach(factory_file Kestrel.exe.ini Kestrel.exe.reg ECOMode.pow StdMode.pow)
  configure_file("${CMAKE_SOURCE_DIR}/resources/factory/twomode/${factory_file}"
                 "${CMAKE_BINARY_DIR}/bin/twomode/${factory_file}" COPYONLY)
endforeach()
