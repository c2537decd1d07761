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
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/resources/tessarine.rc PROPERTIES
  OBJECT_DEPENDS "${TESSARINE_ICON};${CMAKE_CURRENT_BINARY_DIR}/resources/tessarine.manifest")

add_executable(tessarine WIN32
  ${CMAKE_CURRENT_SOURCE_DIR}/entry_point.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/error_box.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/main_window.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/single_instance.cpp
  ${CMAKE_CURRENT_BINARY_DIR}/resources/tessarine.rc)
target_link_options(tessarine PRIVATE -municode)
target_link_libraries(tessarine PRIVATE
  tessarine_webview tessarine_window tessarine_bundle_open tessarine_config tessarine_util
  gdiplus shlwapi shell32 ole32 uuid user32 gdi32)
