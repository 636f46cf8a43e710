// One real main window for the whole suite, offscreen, in a fresh home folder, with every
// outside service (the five search sites among them) served by an in-process sandbox on
// free ports.
#include <gtest/gtest.h>

#include <QDir>
#include <cstdio>
#include <cstdlib>

#include "sandbox.h"
#include "gui_harness.h"
#include "search_gui_fixture.h"

namespace tavlo::test {
sandbox::Sandbox* the_sandbox = nullptr;
}  // namespace tavlo::test

int main(int argc, char** argv) {
  const std::string home = tavlo::test::prepare_gui_environment("tavlo-search-gui");
  if (home.empty()) return 2;

  tavlo::sandbox::Options opt;
  opt.ports_from = 0;
  opt.state_dir = home + "/sandbox";
  tavlo::sandbox::Sandbox box(opt);
  std::string error;
  if (!box.start(&error)) {
    std::fprintf(stderr, "sandbox: %s\n", error.c_str());
    return 2;
  }
  tavlo::test::the_sandbox = &box;
  const std::string hosts = home + "/hosts.ini";
  if (!box.write_hosts(hosts)) return 2;
  ::setenv("TAVLO_HOSTS", hosts.c_str(), 1);

  const int rc = tavlo::test::run_tests_on_main_window(argc, argv, "tavlo-search-gui-tests");
  box.stop();
  QDir(QString::fromUtf8(home.c_str())).removeRecursively();
  // Workers are never joined; end like the program does.
  std::fflush(nullptr);
  std::_Exit(rc);
}
