enable_language(RC)
# The host executable: tessarine.exe, its resources, and the entry point that wires
# the subsystems together.

set(TESSARINE_ICON ${CMAKE_CURRENT_BINARY_DIR}/resources/tessarine.ico)
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_custom_command(
  OUTPUT ${TESSARINE_ICON}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/resources
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/scripts/make-icon.py ${TESSARINE_ICON}
  DEPENDS ${CMAKE_SOURCE_DIR}/scripts/make-icon.py
  COMMENT "Drawing the application icon")
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/resources/tessarine.manifest
               ${CMAKE_CURRENT_BINARY_DIR}/resources/tessarine.manifest COPYONLY)
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/resources/tessarine.rc
               ${CMAKE_CURRENT_BINARY_DIR}/resources/tessarine.rc COPYONLY)
set(VERSION_FILE_DESCRIPTION "Tessarine web app host")
set(VERSION_INTERNAL_NAME tessarine)
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/resources/version_info.rc.in
               ${CMAKE_CURRENT_BINARY_DIR}/resources/version_info.rc @ONLY)
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/resources/tessarine.rc PROPERTIES
  OBJECT_DEPENDS "${TESSARINE_ICON};${CMAKE_CURRENT_BINARY_DIR}/resources/tessarine.manifest;${CMAKE_CURRENT_BINARY_DIR}/resources/version_info.rc")

add_executable(tessarine WIN32
  ${CMAKE_CURRENT_SOURCE_DIR}/entry_point.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/error_box.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/main_window.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/single_instance.cpp
  ${CMAKE_CURRENT_BINARY_DIR}/resources/tessarine.rc)
if(MINGW)
  # MSVC finds wWinMain by itself; mingw-w64 needs to be told.
  target_link_options(tessarine PRIVATE -municode)
endif()
tessarine_ships(tessarine)
target_link_libraries(tessarine PRIVATE
  tessarine_webview tessarine_window tessarine_bundle_open tessarine_config tessarine_util tessarine_windows_names
  gdiplus shlwapi shell32 ole32 uuid user32 gdi32)
