# Delay-loaded imports. A DLL that is not a KnownDLL on every Windows the
# program runs on is found by the loader's search path, which for a static
# import starts in the program's own folder: a winmm.dll a browser saved to
# Downloads would run inside a ticker unpacked there. Delay-loaded, it is
# loaded at its first call, after the program has restricted the search to
# System32 (app/DllSearch.cpp).
#
# kavrelo_delay_import(NAME): a target kavrelo_delay_<NAME> to link instead
# of NAME. Its library is made with dlltool from a .def listing every
# function the toolchain's own import library lib<NAME>.a imports.
function(kavrelo_delay_import name)
  set(target kavrelo_delay_${name})
  if(TARGET ${target})
    return()
  endif()
  find_library(import_lib_${name} NAMES lib${name}.a REQUIRED NO_CMAKE_ENVIRONMENT_PATH NO_SYSTEM_ENVIRONMENT_PATH)
  set(import_lib ${import_lib_${name}})
  execute_process(COMMAND ${CMAKE_NM} -g --defined-only ${import_lib}
                  OUTPUT_VARIABLE symbols RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "${CMAKE_NM} could not read ${import_lib}")
  endif()
  # "... I __imp_Name" (x64) or "... I __imp__Name@8" (x86: the leading
  # underscore is the C decoration, the @8 stays in the .def).
  string(REGEX MATCHALL " I __imp_[^\n]+" imports "${symbols}")
  set(def "LIBRARY ${name}.dll\nEXPORTS\n")
  set(kill_at OFF)
  foreach(line IN LISTS imports)
    string(REGEX REPLACE "^ I __imp_" "" symbol "${line}")
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      # Exactly one underscore: comctl32's _TrackMouseEvent keeps its own.
      # (REGEX REPLACE "^_" would take every leading one.)
      string(SUBSTRING "${symbol}" 1 -1 symbol)
      set(kill_at ON)
    endif()
    string(APPEND def "${symbol}\n")
  endforeach()
  set(folder ${CMAKE_BINARY_DIR}/delay-imports)
  file(MAKE_DIRECTORY ${folder})
  file(WRITE ${folder}/${name}.def.new "${def}")
  configure_file(${folder}/${name}.def.new ${folder}/${name}.def COPYONLY)
  set(library ${folder}/lib${name}_delay.a)
  # The recipe lives in a script of its own, which tests/tools runs too.
  add_custom_command(OUTPUT ${library}
    COMMAND ${CMAKE_COMMAND} -DDLLTOOL=${CMAKE_DLLTOOL} -DOBJCOPY=${CMAKE_OBJCOPY}
            -DDEF=${folder}/${name}.def -DDLL=${name}.dll -DLIBRARY=${library} -DKILL_AT=${kill_at}
            -P ${CMAKE_SOURCE_DIR}/cmake/MakeDelayLibrary.cmake
    DEPENDS ${folder}/${name}.def ${CMAKE_SOURCE_DIR}/cmake/MakeDelayLibrary.cmake
    COMMENT "Delay-load library for ${name}.dll"
    VERBATIM)
  add_custom_target(${target}_file DEPENDS ${library})
  add_library(${target} INTERFACE)
  add_dependencies(${target} ${target}_file)
  # delayimp brings the loader helper the delay-load stubs call.
  target_link_libraries(${target} INTERFACE ${library} delayimp)
endfunction()
