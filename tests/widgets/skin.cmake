# Skinned widgets, with the program's PNG skin resources linked in.
if(KAVRELO_WINDOWS)
  kavrelo_test(NAME widgets_skin_test
    SOURCES
      ${CMAKE_CURRENT_LIST_DIR}/CheckBoxExTest.cpp
      ${CMAKE_CURRENT_LIST_DIR}/ImageExTest.cpp
      ${CMAKE_CURRENT_LIST_DIR}/SkinTextTest.cpp
      ${CMAKE_CURRENT_LIST_DIR}/SkinScaleTest.cpp
      ${CMAKE_CURRENT_LIST_DIR}/ThrobberExTest.cpp
      $<TARGET_OBJECTS:kavrelo_resources>
    LIBS kavrelo_widgets
    LABELS widgets)
endif()
