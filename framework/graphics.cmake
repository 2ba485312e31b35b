# The premultiplied ARGB canvas and bitmap, their drawing tools and the PNG
# skin loader. cairo composites, GDI+ draws text and decodes PNGs; both write
# into the same DIB pixels.
if(NOT KAVRELO_WINDOWS)
  return()
endif()

add_library(kavrelo_graphics STATIC
  BitmapEx.cpp
  CanvasEx.cpp
  FontEx.cpp
  GdiPlus.cpp
  GraphicsTools.cpp
  ImageLoad.cpp
  StreamAdapter.cpp
  Streams.cpp
)
target_include_directories(kavrelo_graphics PUBLIC
  ${CMAKE_SOURCE_DIR} ${KAVRELO_DEPS_PREFIX}/include/cairo)
# cairo.pc lists no private libraries; the static cairo needs these.
target_link_libraries(kavrelo_graphics PUBLIC
  ${KAVRELO_DEPS_PREFIX}/lib/libcairo.a ${KAVRELO_DEPS_PREFIX}/lib/libpixman-1.a
  kavrelo_delay_gdiplus gdi32 ole32 user32)
kavrelo_warnings(kavrelo_graphics)
