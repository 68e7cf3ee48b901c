# Reads the host's interface from its one header: the rows H(...) and L(...) are the
# host's functions, E(...) the plug-in's exports. Each list holds name@bytes, the
# stdcall decoration a .def file maps the undecorated name to.
set(ZLVN_INTERFACE_HEADER ${CMAKE_SOURCE_DIR}/plugin/records/zlvn_interface.h)
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ZLVN_INTERFACE_HEADER})

function(zlvn_interface_rows letter prefix out)
  # Read whole: each row line ends in a backslash, which a CMake list would take as
  # escaping the separator.
  file(READ ${ZLVN_INTERFACE_HEADER} text)
  string(REGEX MATCHALL "\n +${letter}\\([A-Za-z_]+, [^\n]*, [0-9]+\\)" rows "${text}")
  set(result "")
  foreach(row IN LISTS rows)
    string(REGEX MATCH "${letter}\\(([A-Za-z_]+), .*, ([0-9]+)\\)" _ "${row}")
    list(APPEND result "${prefix}${CMAKE_MATCH_1}@${CMAKE_MATCH_2}")
  endforeach()
  set(${out} "${result}" PARENT_SCOPE)
endfunction()

zlvn_interface_rows(H "Zlvn_" ZLVN_HOST_TABLE)
zlvn_interface_rows(L "Zlvn_" ZLVN_HOST_LOG)
zlvn_interface_rows(E "" ZLVN_PLUGIN_EXPORTS)
set(ZLVN_HOST_FUNCTIONS ${ZLVN_HOST_TABLE} ${ZLVN_HOST_LOG})

# Writes a .def file, `head` first, that exports each name@bytes of the list
# undecorated, then the extra lines given.
function(zlvn_write_def file head functions extra)
  set(def "${head}\n")
  foreach(fn IN LISTS functions)
    string(REGEX REPLACE "@.*" "" name "${fn}")
    string(APPEND def "    ${name} = ${fn}\n")
  endforeach()
  foreach(line IN LISTS extra)
    string(APPEND def "    ${line}\n")
  endforeach()
  file(WRITE ${file}.in "${def}")
  configure_file(${file}.in ${file} COPYONLY)
endfunction()
