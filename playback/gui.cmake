# The play entry: play_link and the cloud-play page's address box and button.
add_library(tavlo_playback STATIC ${CMAKE_CURRENT_SOURCE_DIR}/play_entry.cpp)
target_include_directories(tavlo_playback PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(tavlo_playback PUBLIC tavlo_common tavlo_playback_core tavlo_shell
  tavlo_platform tavlo_platform_core tavlo_app_state tavlo_web Qt6::Widgets)
