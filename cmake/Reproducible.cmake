# KAVRELO_REPRODUCIBLE: two builds of the same commit give the same bytes,
# whichever folders they ran in. The linker writes no time stamp into the
# PE header, the compiler writes source and build paths relative to the
# checkout (source folder first: a build folder inside it is the longer,
# later and so winning match), and the program carries no symbol table,
# whose file entries would name the objects.
option(KAVRELO_REPRODUCIBLE "Same bytes from the same commit: no time stamps or build paths in the program" OFF)
if(KAVRELO_REPRODUCIBLE)
  add_compile_options("$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=>"
                      "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_BINARY_DIR}/=>")
  if(KAVRELO_WINDOWS)
    add_link_options(-Wl,--no-insert-timestamp -s)
  endif()
endif()
