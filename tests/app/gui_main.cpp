// One real main window for the whole suite (the web engine starts once), offscreen, in a
// fresh home folder, with the maker, live-TV and play-API hosts on a loopback server.
#include <gtest/gtest.h>

#include <QDir>
#include <cstdlib>
#include <fstream>

#include "gui_fixture.h"
#include "gui_harness.h"

namespace tavlo::test {
PageServer* page_server = nullptr;
QString home_folder;
}  // namespace tavlo::test

int main(int argc, char** argv) {
  const std::string home = tavlo::test::prepare_gui_environment("tavlo-gui-test");
  if (home.empty()) return 2;
  tavlo::test::home_folder = QString::fromUtf8(home.c_str());

  tavlo::test::PageServer server;
  tavlo::test::page_server = &server;
  const std::string hosts = home + "/hosts.ini";
  {
    std::ofstream f(hosts);
    f << "[Hosts]\nmaker=" << server.host() << "\nlive_tv=" << server.host()
      << "\nplayapi=" << server.host() << "\n";
  }
  ::setenv("TAVLO_HOSTS", hosts.c_str(), 1);

  const int rc = tavlo::test::run_tests_on_main_window(argc, argv, "tavlo-gui-tests");
  QDir(QString::fromUtf8(home.c_str())).removeRecursively();
  return rc;
}
