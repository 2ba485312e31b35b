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

# End-to-end tests run two at a time where each can have a network
# namespace of its own (its own loopback, so both test servers can listen on
# the port the test build talks to); elsewhere one at a time. CTest hands
# out the slots from e2e-resources.json (ctest --resource-spec-file, as
# scripts/test.sh runs it); scripts/e2e-slot.sh gives each slot its own Wine
# prefix and display.
if(NOT DEFINED KAVRELO_E2E_SLOTS)
  execute_process(COMMAND unshare --net -- sh -c "ip link set lo up"
                  RESULT_VARIABLE no_namespace OUTPUT_QUIET ERROR_QUIET)
  if(no_namespace EQUAL 0)
    set(slots 2)
  else()
    set(slots 1)
  endif()
  set(KAVRELO_E2E_SLOTS ${slots} CACHE STRING "End-to-end tests run side by side (2 needs unshare --net)")
endif()
set(slot_list)
foreach(i RANGE 1 ${KAVRELO_E2E_SLOTS})
  math(EXPR id "${i} - 1")
  list(APPEND slot_list "{\"id\": \"${id}\", \"slots\": 1}")
endforeach()
list(JOIN slot_list ", " slot_list)
file(WRITE ${CMAKE_BINARY_DIR}/e2e-resources.json.new
     "{\"version\": {\"major\": 1, \"minor\": 0}, \"local\": [{\"e2e\": [${slot_list}]}]}\n")
configure_file(${CMAKE_BINARY_DIR}/e2e-resources.json.new ${CMAKE_BINARY_DIR}/e2e-resources.json COPYONLY)

# kavrelo_e2e(NAME <name> SCRIPT <file.py> [LABELS <labels...>])
# An end-to-end test: a Python script drives the real kavrelo.exe under Wine.
function(kavrelo_e2e)
  cmake_parse_arguments(T "" "NAME;SCRIPT;TIMEOUT" "LABELS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 180)
  endif()
  add_test(NAME ${T_NAME}
    COMMAND ${CMAKE_SOURCE_DIR}/scripts/e2e-slot.sh ${CMAKE_BINARY_DIR} ${KAVRELO_E2E_SLOTS}
            ${Python3_EXECUTABLE} ${T_SCRIPT}
            --build ${CMAKE_BINARY_DIR} --source ${CMAKE_SOURCE_DIR} ${KAVRELO_E2E_ARGS})
  set_tests_properties(${T_NAME} PROPERTIES
    LABELS "e2e;${T_LABELS}" TIMEOUT ${T_TIMEOUT} RESOURCE_GROUPS e2e:1)
endfunction()
