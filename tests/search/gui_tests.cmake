# The search page of the real window (offscreen) against an in-process sandbox. One window
# serves the whole suite, so the suite runs as one test.
if(TARGET tavlo_app AND TARGET tavlo_search AND TARGET tavlo_sandbox)
  add_executable(search_gui_tests search_gui_main.cpp search_gui_test.cpp)
  target_include_directories(search_gui_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests/common)
  target_link_libraries(search_gui_tests PRIVATE tavlo_common tavlo_app tavlo_search tavlo_sandbox
    GTest::gtest Qt6::Test)
  add_test(NAME search_gui_tests COMMAND search_gui_tests)
  set_tests_properties(search_gui_tests PROPERTIES ENVIRONMENT
    "QT_QPA_PLATFORM=offscreen;QTWEBENGINE_DISABLE_SANDBOX=1;QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu --no-sandbox"
    TIMEOUT 600)
endif()
