# The DLL-planting test's own programs: a DLL that marks its loading, and a
# probe that loads DLLs the way the program does, with and without the
# search restriction.
add_library(planted SHARED ${CMAKE_CURRENT_SOURCE_DIR}/planting/PlantedDll.cpp)
set_target_properties(planted PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/planting)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  # Exported as winmm and msimg32 name them: without the stdcall @N.
  target_link_options(planted PRIVATE -Wl,--kill-at)
endif()
add_executable(dllprobe ${CMAKE_CURRENT_SOURCE_DIR}/planting/DllProbe.cpp ${CMAKE_SOURCE_DIR}/app/DllSearch.cpp)
target_include_directories(dllprobe PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(dllprobe PRIVATE kavrelo_delay_winmm)
target_link_options(dllprobe PRIVATE -municode)
kavrelo_warnings(dllprobe)
set_target_properties(dllprobe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/planting)
