# Canvas, bitmap, drawing tools, stream adapter and skin image loading.
if(NOT KAVRELO_WINDOWS)
  return()
endif()

kavrelo_test(NAME graphics_test
  SOURCES
    BitmapExTest.cpp
    CanvasExTest.cpp
    GraphicsToolsTest.cpp
    ImageLoadTest.cpp
    StreamAdapterTest.cpp
    # The skin PNGs and the manifest the loader tests read.
    $<TARGET_OBJECTS:kavrelo_resources>
  LIBS kavrelo_graphics
  LABELS graphics)
