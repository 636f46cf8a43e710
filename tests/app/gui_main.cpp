// One real main window for the whole suite (the web engine starts once), offscreen, in a
// fresh home folder, with the maker, live-TV and play-API hosts on a loopback server.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>
#include <fstream>

#include "gui_fixture.h"
#include "http_request.h"
#include "main_window.h"
#include "ui.h"
#include "ui_call.h"

namespace tavlo::test {
PageServer* page_server = nullptr;
QString home_folder;
}  // namespace tavlo::test

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
  ::setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --no-sandbox", 0);
  for (const char* v : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_DOCUMENTS_DIR",
                        "XDG_DESKTOP_DIR"})
    ::unsetenv(v);
  char home_template[] = "/tmp/tavlo-gui-test-XXXXXX";
  const char* home = ::mkdtemp(home_template);
  if (!home) return 2;
  ::setenv("HOME", home, 1);
  tavlo::test::home_folder = QString::fromUtf8(home);

  tavlo::test::PageServer server;
  tavlo::test::page_server = &server;
  const std::string hosts = std::string(home) + "/hosts.ini";
  {
    std::ofstream f(hosts);
    f << "[Hosts]\nmaker=" << server.host() << "\nlive_tv=" << server.host()
      << "\nplayapi=" << server.host() << "\n";
  }
  ::setenv("TAVLO_HOSTS", hosts.c_str(), 1);

  tavlo::http_global_init();
  QCoreApplication::setApplicationName(QStringLiteral("tavlo-gui-tests"));
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
  QDir(QString::fromUtf8(home)).removeRecursively();
  return rc;
}
