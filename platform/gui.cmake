# The Qt layer: browser adapter, UI-call helper, XDG folders, launcher, picture button.
if(NOT TARGET Qt6::Network)
  find_package(Qt6 REQUIRED COMPONENTS Network)
endif()
add_library(tavlo_platform STATIC
  ${CMAKE_CURRENT_SOURCE_DIR}/browser.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/ui_call.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/paths.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/launcher.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/picture_button.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/qt_text.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/placeholder_box.cpp)
target_include_directories(tavlo_platform PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(tavlo_platform PUBLIC tavlo_common tavlo_platform_core tavlo_web
  Qt6::Widgets Qt6::WebEngineWidgets Qt6::WebEngineCore Qt6::Network Threads::Threads)
