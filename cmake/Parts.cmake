# kavrelo_include_parts(): includes every *.cmake file of the current source
# folder, in name order. Folders shared by several pieces of work keep one
# small list per piece (e.g. fuzz/html.cmake, fuzz/settings.cmake).
macro(kavrelo_include_parts)
  file(GLOB _kavrelo_parts CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cmake)
  list(SORT _kavrelo_parts)
  foreach(_part IN LISTS _kavrelo_parts)
    include(${_part})
  endforeach()
endmacro()
