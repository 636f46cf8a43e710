add_executable(platform_gui_tests ${CMAKE_CURRENT_SOURCE_DIR}/launcher_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/browser_cookie_test.cpp ${CMAKE_CURRENT_SOURCE_DIR}/picture_button_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/qt_main.cpp)
target_link_libraries(platform_gui_tests PRIVATE tavlo_common tavlo_platform GTest::gtest Qt6::Test)
gtest_discover_tests(platform_gui_tests DISCOVERY_TIMEOUT 60
  PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QTWEBENGINE_DISABLE_SANDBOX=1;QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu --no-sandbox")
