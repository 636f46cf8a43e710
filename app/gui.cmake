# The program: the shell (controls, artwork, notice panel, workers), the window and its
# pages (tavlo_app) and the executable.
set(TAVLO_APP_DIR ${CMAKE_CURRENT_SOURCE_DIR})

# The blank favourites database, made by SQLite at build time and carried as bytes.
add_executable(tavlo_make_blank_db ${TAVLO_APP_DIR}/blank_db_tool.cpp)
target_link_libraries(tavlo_make_blank_db PRIVATE tavlo_common SQLite::SQLite3)
add_custom_command(
  OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/blank_favourites.cpp
  COMMAND tavlo_make_blank_db ${CMAKE_CURRENT_BINARY_DIR}/blank_favourites.cpp
  DEPENDS tavlo_make_blank_db
  COMMENT "Blank favourites database")

set(TAVLO_SHELL_SOURCES
  ${TAVLO_APP_DIR}/ui.cpp
  ${TAVLO_APP_DIR}/artwork.cpp
  ${TAVLO_APP_DIR}/notice_panel.cpp
  ${TAVLO_APP_DIR}/program_shell.cpp
  ${TAVLO_APP_DIR}/list_rows.cpp)
if(EXISTS ${TAVLO_APP_DIR}/art/art.qrc)
  list(APPEND TAVLO_SHELL_SOURCES ${TAVLO_APP_DIR}/art/art.qrc)
  set(TAVLO_HAVE_ART ON)
endif()
add_library(tavlo_shell STATIC ${TAVLO_SHELL_SOURCES})
set_target_properties(tavlo_shell PROPERTIES AUTORCC ON)
if(TAVLO_HAVE_ART)
  target_compile_definitions(tavlo_shell PRIVATE TAVLO_HAVE_ART)
endif()
target_include_directories(tavlo_shell PUBLIC ${TAVLO_APP_DIR})
target_link_libraries(tavlo_shell PUBLIC tavlo_common tavlo_app_state tavlo_platform
  tavlo_platform_core tavlo_web Qt6::Widgets)

add_library(tavlo_app STATIC
  ${TAVLO_APP_DIR}/main_window.cpp
  ${TAVLO_APP_DIR}/navigation.cpp
  ${TAVLO_APP_DIR}/settings_file.cpp
  ${TAVLO_APP_DIR}/startup.cpp
  ${TAVLO_APP_DIR}/handlers_later.cpp
  ${CMAKE_CURRENT_BINARY_DIR}/blank_favourites.cpp)
target_include_directories(tavlo_app PUBLIC ${TAVLO_APP_DIR})
target_link_libraries(tavlo_app PUBLIC tavlo_common tavlo_shell tavlo_playback tavlo_app_state
  tavlo_platform tavlo_platform_core tavlo_playback_core tavlo_web
  Qt6::Widgets Qt6::WebEngineWidgets)

add_executable(tavlo ${TAVLO_APP_DIR}/main.cpp)
target_link_libraries(tavlo PRIVATE tavlo_common tavlo_app)
