# Skinned widgets: text labels with drop shadow, images, the background, the
# busy indicator and the option check boxes.
target_sources(kavrelo_widgets PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/CheckBoxEx.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ImageEx.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinResource.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ThrobberEx.cpp
)
