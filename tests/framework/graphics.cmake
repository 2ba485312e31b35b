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
    ResourcesTest.cpp
    StreamAdapterTest.cpp
    # The program's resources: skin PNGs, icon, version information, manifest.
    $<TARGET_OBJECTS:kavrelo_resources>
  LIBS kavrelo_graphics version
  LABELS graphics)
# The resources test compares the version block with the program's version.
target_include_directories(graphics_test PRIVATE ${CMAKE_BINARY_DIR}/generated)
