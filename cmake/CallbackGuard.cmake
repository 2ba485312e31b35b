# Run at build time by the 32-bit build (cmake -P): proves that its compiler
# rejects a callback of the wrong calling convention, the way the program
# hands its callbacks to the system (no casts). Fails the build otherwise.
#   -DCOMPILER=... -DSOURCE_DIR=... -DSTAMP=...
set(probe ${SOURCE_DIR}/cmake/guards/CallbackConvention.cpp)
set(flags -std=c++17 -fsyntax-only -DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN -D_WIN32_WINNT=0x0601 -I${SOURCE_DIR})

execute_process(COMMAND ${COMPILER} ${flags} ${probe} RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "callback guard: the correct callbacks do not compile:\n${err}")
endif()
foreach(wrong WRONG_WINDOW WRONG_THREAD WRONG_ENUM)
  execute_process(COMMAND ${COMPILER} ${flags} -D${wrong} ${probe} RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
  if(rc EQUAL 0)
    message(FATAL_ERROR "callback guard: a callback without its calling convention compiles (${wrong})")
  endif()
endforeach()
file(WRITE ${STAMP} "ok\n")
