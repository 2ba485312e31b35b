kavrelo_test(NAME widgets_palette_test SOURCES FacePaletteTest.cpp LIBS kavrelo_look LABELS widgets)
if(KAVRELO_WINDOWS)
  kavrelo_test(NAME widgets_text_size_test SOURCES ListTextSizeTest.cpp LIBS kavrelo_widgets kavrelo_app LABELS widgets)
endif()
