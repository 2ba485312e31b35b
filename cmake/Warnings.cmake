# Every target of ours builds warning-free at -Wall -Wextra.
#
# -Wcast-function-type (part of -Wextra, named for the reader) flags casts
# between function types of different signatures. A pointer kept in an
# integer too small for it is an error in C++ on x64 and -Wint-to-pointer-cast
# flags the way back; the C flags do the same for C sources.
function(kavrelo_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wcast-function-type -Wint-to-pointer-cast
    $<$<COMPILE_LANGUAGE:C>:-Wpointer-to-int-cast -Wbad-function-cast>)
  if(KAVRELO_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
