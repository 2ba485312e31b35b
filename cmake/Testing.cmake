# kavrelo_test(NAME <name> SOURCES <files...> [LIBS <targets...>] [LABELS <labels...>])
# Builds a doctest executable and registers it with CTest. In the Windows
# build the executable runs through Wine (CMAKE_CROSSCOMPILING_EMULATOR).
function(kavrelo_test)
  cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE kavrelo_doctest_main ${T_LIBS})
  kavrelo_warnings(${T_NAME})
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  set(labels unit ${T_LABELS})
  if(KAVRELO_WINDOWS)
    list(APPEND labels wine)
  else()
    list(APPEND labels native)
  endif()
  set_tests_properties(${T_NAME} PROPERTIES LABELS "${labels}" TIMEOUT ${T_TIMEOUT})
endfunction()

# kavrelo_e2e(NAME <name> SCRIPT <file.py> [LABELS <labels...>])
# An end-to-end test: a Python script drives the real kavrelo.exe under Wine.
function(kavrelo_e2e)
  cmake_parse_arguments(T "" "NAME;SCRIPT;TIMEOUT" "LABELS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 180)
  endif()
  add_test(NAME ${T_NAME}
    COMMAND ${Python3_EXECUTABLE} ${T_SCRIPT}
            --build ${CMAKE_BINARY_DIR} --source ${CMAKE_SOURCE_DIR} ${KAVRELO_E2E_ARGS})
  set_tests_properties(${T_NAME} PROPERTIES
    LABELS "e2e;${T_LABELS}" TIMEOUT ${T_TIMEOUT} RUN_SERIAL TRUE)
endfunction()
