# GDI controls, the tray icon, the application tooltip and the desktop object.
if(NOT KAVRELO_WINDOWS)
  return()
endif()

add_library(kavrelo_shellui STATIC
  Desktop.cpp
  GdiControls.cpp
  GdiTools.cpp
  ToolTip.cpp
  TrayIcon.cpp
)
target_link_libraries(kavrelo_shellui PUBLIC kavrelo_framework kavrelo_delay_comctl32 shell32 gdi32 user32)
kavrelo_warnings(kavrelo_shellui)
