# The search page of the window: handlers, worker, result list.
add_library(tavlo_search STATIC ${CMAKE_CURRENT_SOURCE_DIR}/search_page.cpp)
target_include_directories(tavlo_search PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(tavlo_search PUBLIC tavlo_common tavlo_search_core tavlo_shell tavlo_playback
  tavlo_platform tavlo_app_state Qt6::Widgets)
# The window calls these handlers.
if(TARGET tavlo_app)
  target_link_libraries(tavlo_app PUBLIC tavlo_search)
endif()
