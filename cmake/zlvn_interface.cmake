# Reads the host's interface from its one header: the rows H(...) and L(...) are the
# host's functions, E(...) the plug-in's entry points. The compiler expands the rows, so
# a row reads however it is laid out, and one it cannot read stops the configure step.
# Each list holds name@bytes, the stdcall decoration a .def file maps the undecorated name to.
set(ZLVN_INTERFACE_HEADER ${CMAKE_SOURCE_DIR}/plugin/records/zlvn_interface.h)
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ZLVN_INTERFACE_HEADER})

function(zlvn_read_interface)
  set(source ${CMAKE_BINARY_DIR}/generated/zlvn_interface_rows.cpp)
  file(WRITE ${source} "#include \"plugin/records/zlvn_interface.h\"
#define ZLVN_ROW_H(name, result, params, bytes) zlvn_row H name bytes zlvn_end
#define ZLVN_ROW_L(name, result, params, bytes) zlvn_row L name bytes zlvn_end
#define ZLVN_ROW_E(name, result, params, bytes, ...) zlvn_row E name bytes zlvn_end
zlvn_rows_begin
ZLVN_HOST_FUNCTIONS(ZLVN_ROW_H)
ZLVN_HOST_LOG_FUNCTIONS(ZLVN_ROW_L)
ZLVN_PLUGIN_EXPORTS(ZLVN_ROW_E)
")
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -E -P -x c++ -std=c++17 -I${CMAKE_SOURCE_DIR} ${source}
    OUTPUT_VARIABLE text ERROR_VARIABLE errors RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "cannot expand the rows of ${ZLVN_INTERFACE_HEADER}:\n${errors}")
  endif()
  string(FIND "${text}" "zlvn_rows_begin" begin)
  string(SUBSTRING "${text}" ${begin} -1 text)
  # Every row the compiler expanded must read as name and a number of bytes.
  string(REGEX MATCHALL "zlvn_row " expanded "${text}")
  string(REGEX MATCHALL "zlvn_row [HLE] [A-Za-z_][A-Za-z_0-9]* [0-9]+ zlvn_end" rows "${text}")
  list(LENGTH expanded expandedCount)
  list(LENGTH rows rowCount)
  if(NOT expandedCount EQUAL rowCount OR rowCount EQUAL 0)
    message(FATAL_ERROR
      "${ZLVN_INTERFACE_HEADER}: ${rowCount} of ${expandedCount} rows read as name and bytes:\n${text}")
  endif()
  foreach(letter H L E)
    set(${letter} "")
  endforeach()
  foreach(row IN LISTS rows)
    string(REGEX MATCH "zlvn_row ([HLE]) ([A-Za-z_0-9]+) ([0-9]+)" _ "${row}")
    list(APPEND ${CMAKE_MATCH_1} "${CMAKE_MATCH_2}@${CMAKE_MATCH_3}")
  endforeach()
  list(TRANSFORM H PREPEND "Zlvn_")
  list(TRANSFORM L PREPEND "Zlvn_")
  set(ZLVN_HOST_TABLE "${H}" PARENT_SCOPE)
  set(ZLVN_HOST_LOG "${L}" PARENT_SCOPE)
  set(ZLVN_PLUGIN_EXPORTS "${E}" PARENT_SCOPE)
endfunction()

zlvn_read_interface()
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

# Fails the build of target, a module, when its export table is not exactly the names given.
function(zlvn_check_exports target)
  if(NOT CMAKE_OBJDUMP)
    message(FATAL_ERROR "no objdump to check the exports of ${target}")
  endif()
  string(REPLACE ";" "," names "${ARGN}")
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DMODULE=$<TARGET_FILE:${target}> -DNAMES=${names}
            -P ${CMAKE_SOURCE_DIR}/cmake/check_exports.cmake
    VERBATIM)
endfunction()
