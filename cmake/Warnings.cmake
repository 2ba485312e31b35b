# Every target of ours builds warning-free at -Wall -Wextra.
function(kavrelo_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(KAVRELO_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
