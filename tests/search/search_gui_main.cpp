// One real main window for the whole suite, offscreen, in a fresh home folder, with every
// outside service (the five search sites among them) served by an in-process sandbox on
// free ports.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <cstdio>
#include <cstdlib>

#include "http_request.h"
#include "main_window.h"
#include "sandbox.h"
#include "search_gui_fixture.h"
#include "ui.h"
#include "ui_call.h"

namespace tavlo::test {
sandbox::Sandbox* the_sandbox = nullptr;
}  // namespace tavlo::test

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
  ::setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --no-sandbox", 0);
  for (const char* v : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_DOCUMENTS_DIR",
                        "XDG_DESKTOP_DIR"})
    ::unsetenv(v);
  char home_template[] = "/tmp/tavlo-search-gui-XXXXXX";
  const char* home = ::mkdtemp(home_template);
  if (!home) return 2;
  ::setenv("HOME", home, 1);

  tavlo::sandbox::Options opt;
  opt.ports_from = 0;
  opt.state_dir = std::string(home) + "/sandbox";
  tavlo::sandbox::Sandbox box(opt);
  std::string error;
  if (!box.start(&error)) {
    std::fprintf(stderr, "sandbox: %s\n", error.c_str());
    return 2;
  }
  tavlo::test::the_sandbox = &box;
  const std::string hosts = std::string(home) + "/hosts.ini";
  if (!box.write_hosts(hosts)) return 2;
  ::setenv("TAVLO_HOSTS", hosts.c_str(), 1);

  tavlo::http_global_init();
  QCoreApplication::setApplicationName(QStringLiteral("tavlo-search-gui-tests"));
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
  box.stop();
  QDir(QString::fromUtf8(home)).removeRecursively();
  // Workers are never joined; end like the program does.
  std::fflush(nullptr);
  std::_Exit(rc);
}
