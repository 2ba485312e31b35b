# contact_sheet: every skin image drawn onto one canvas, saved as a PNG.
if(NOT KAVRELO_WINDOWS)
  return()
endif()

add_executable(contact_sheet contact_sheet.cpp $<TARGET_OBJECTS:kavrelo_resources>)
target_link_libraries(contact_sheet PRIVATE kavrelo_graphics)
# wmain needs the Unicode entry point.
target_link_options(contact_sheet PRIVATE -municode)
kavrelo_warnings(contact_sheet)
