# Each floor of the plug-in compiles against an include root of its own: a folder in the
# build tree that links only the source folders the floor may use, so an include upward
# or sideways names a file that is not there. Includes keep their "support/x.h" spelling.
set(ZLVN_FLOORS_DIR ${CMAKE_BINARY_DIR}/floors)

# The source folders each floor may include, its own last.
set(ZLVN_FLOOR_support support)
set(ZLVN_FLOOR_records support plugin/records)
set(ZLVN_FLOOR_hint support plugin/records hint)
set(ZLVN_FLOOR_dialogs support plugin/records dialogs)
set(ZLVN_FLOOR_shell support plugin/records hint dialogs plugin/shell)

foreach(floor support records hint dialogs shell)
  set(root ${ZLVN_FLOORS_DIR}/${floor})
  # Made afresh at each configure, so a folder taken off a floor's list leaves no link.
  file(REMOVE_RECURSE ${root})
  foreach(folder IN LISTS ZLVN_FLOOR_${floor})
    get_filename_component(parent ${root}/${folder} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  endforeach()
endforeach()

# Gives target the include root of floor; the floors above that link it see it too.
function(zlvn_floor_root target floor)
  target_include_directories(${target} PUBLIC ${ZLVN_FLOORS_DIR}/${floor})
endfunction()
