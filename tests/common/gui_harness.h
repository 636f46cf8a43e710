// What every GUI test program does around its tests: an offscreen platform in a fresh home
// folder, then one real main window for the whole suite (the web engine starts once).
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <cstdlib>
#include <functional>
#include <string>

#include "http_request.h"
#include "main_window.h"
#include "ui.h"
#include "ui_call.h"

namespace tavlo::test {

// Dispatches events until `done` holds or `ms` pass.
inline bool wait_until(const std::function<bool()>& done, int ms = 30000) {
  QElapsedTimer t;
  t.start();
  while (!done()) {
    if (t.elapsed() > ms) return false;
    QTest::qWait(10);
  }
  return true;
}

// A control of the main window by its name.
template <class W>
W* control(const char* name) {
  return ui().主窗口->findChild<W*>(QString::fromUtf8(name));
}

// Sets the platform variables, drops inherited XDG folders and makes HOME a new empty
// folder named after `prefix`. Returns that folder, or "" when it could not be made.
inline std::string prepare_gui_environment(const char* prefix) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
  ::setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --no-sandbox", 0);
  for (const char* v : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_DOCUMENTS_DIR",
                        "XDG_DESKTOP_DIR"})
    ::unsetenv(v);
  std::string tmpl = std::string("/tmp/") + prefix + "-XXXXXX";
  if (!::mkdtemp(tmpl.data())) return {};
  ::setenv("HOME", tmpl.c_str(), 1);
  return tmpl;
}

// Creates the application and the main window, runs every test, takes the window down.
inline int run_tests_on_main_window(int& argc, char** argv, const char* app_name) {
  tavlo::http_global_init();
  QCoreApplication::setApplicationName(QString::fromUtf8(app_name));
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  tavlo::ui_call_init();
  ::testing::InitGoogleTest(&argc, argv);
  tavlo::MainWindowWidget* window = tavlo::create_main_window();
  tavlo::main_window_setup();
  window->show();
  const int rc = RUN_ALL_TESTS();
  delete tavlo::ui().capture_window;
  delete window;
  return rc;
}

}  // namespace tavlo::test
