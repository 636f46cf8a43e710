// Ending the program: the close button, the menu item and a worker's request all end the
// message loop with their code; a running worker is neither waited for nor left without
// its lock.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "app_state.h"
#include "main_window.h"
#include "picture_button.h"
#include "program.h"
#include "ui.h"
#include "ui_call.h"

namespace tavlo {
namespace {

std::atomic<bool> worker_may_finish{false};
std::atomic<bool> worker_used_lock_after_teardown{false};

// A search-like worker: its starter hands it its own reference to the lock, which it holds
// for long.
void long_worker(std::shared_ptr<std::mutex> lock) {
  std::lock_guard<std::mutex> g(*lock);
  while (!worker_may_finish) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  worker_used_lock_after_teardown = true;
}

int run_window_until_exit(const std::function<void()>& trigger) {
  MainWindowWidget* w = create_main_window();
  main_window_setup();
  w->show();
  QTimer::singleShot(200, w, trigger);
  const int code = QApplication::exec();
  delete w;
  return code;
}

TEST(ExitProgram, CloseButtonEndsTheLoopWithoutWaitingForAWorker) {
  worker_may_finish = false;
  int code = run_window_until_exit([] {
    start_worker([lock = app_state().ui_lock] { long_worker(lock); });
    QTest::mouseClick(ui().关闭窗口BN, Qt::LeftButton);
  });
  EXPECT_EQ(code, 0);
  // Teardown dropped the program's lock; the worker still holds its own.
  EXPECT_EQ(app_state().ui_lock, nullptr);
  worker_may_finish = true;
  for (int i = 0; i < 500 && !worker_used_lock_after_teardown; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_TRUE(worker_used_lock_after_teardown);
}

TEST(ExitProgram, WorkerRequestIsCarriedToTheWindowThread) {
  int code = run_window_until_exit([] { std::thread([] { exit_program(7); }).detach(); });
  EXPECT_EQ(code, 7);
}

TEST(ExitProgram, MenuItemEndsTheProgram) {
  int code = run_window_until_exit([] {
    for (QAction* a : ui().右键菜单->actions())
      if (a->text() == QString::fromUtf8("退出软件")) a->trigger();
  });
  EXPECT_EQ(code, 0);
}

}  // namespace
}  // namespace tavlo

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
  ::setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --no-sandbox", 0);
  char home[] = "/tmp/tavlo-exit-test-XXXXXX";
  if (!::mkdtemp(home)) return 2;
  ::setenv("HOME", home, 1);
  ::setenv("TAVLO_HOSTS", (std::string(home) + "/none.ini").c_str(), 1);
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  tavlo::ui_call_init();
  ::testing::InitGoogleTest(&argc, argv);
  const int rc = RUN_ALL_TESTS();
  std::string cmd = std::string("rm -rf ") + home;
  (void)std::system(cmd.c_str());
  return rc;
}
