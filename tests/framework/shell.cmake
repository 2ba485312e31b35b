# GDI controls, tray icon, application tooltip and desktop object. The tray
# test shows the program's own icon (resource 101).
if(NOT KAVRELO_WINDOWS)
  return()
endif()
kavrelo_test(NAME framework_shell_test
  SOURCES
    DesktopTest.cpp
    GdiControlsTest.cpp
    GdiToolsTest.cpp
    ToolTipTest.cpp
    TrayIconTest.cpp
    $<TARGET_OBJECTS:kavrelo_resources>
  LIBS kavrelo_shellui
  LABELS framework)
