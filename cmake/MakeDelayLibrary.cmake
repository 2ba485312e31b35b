# Run with cmake -P: makes the delay-load library of one DLL from a .def.
#
#   cmake -DDLLTOOL=... -DOBJCOPY=... -DDEF=name.def -DDLL=name.dll
#         -DLIBRARY=libname_delay.a [-DKILL_AT=ON] -P MakeDelayLibrary.cmake
#
# dlltool puts each function's load thunk in the same code section as its
# `jmp *__imp_` stub, and the function's slot points at that thunk until the
# first call. GNU ld for i386 drops the code section of an import-library
# member when no one references its symbols, taking it for an unused jump
# stub; a caller that uses the SDK's dllimport declaration references only
# __imp_, so the thunk went too and the slot was linked as a null pointer:
# the first call jumped to address 0. Renamed to a data-flagged .text$
# section, the code is no longer taken for a stub and is always kept; it
# still lands in the program's .text, which is executable.
foreach(var DLLTOOL OBJCOPY DEF DLL LIBRARY)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "MakeDelayLibrary.cmake needs -D${var}=...")
  endif()
endforeach()
set(kill_at)
if(KILL_AT)
  set(kill_at --kill-at)
endif()
file(REMOVE ${LIBRARY})
execute_process(COMMAND ${DLLTOOL} --input-def ${DEF} --dllname ${DLL} ${kill_at} --output-delaylib ${LIBRARY}
                RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${DLLTOOL} could not make ${LIBRARY}")
endif()
execute_process(COMMAND ${OBJCOPY} "--rename-section" ".text=.text$delay,alloc,load,readonly,data,contents" ${LIBRARY}
                RESULT_VARIABLE failed)
if(failed)
  file(REMOVE ${LIBRARY})
  message(FATAL_ERROR "${OBJCOPY} could not move the load thunks of ${LIBRARY}")
endif()
