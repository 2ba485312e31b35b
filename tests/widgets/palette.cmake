kavrelo_test(NAME widgets_palette_test SOURCES FacePaletteTest.cpp LIBS kavrelo_look LABELS widgets)
