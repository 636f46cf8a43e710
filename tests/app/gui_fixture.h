#pragma once

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QLabel>
#include <QStackedWidget>
#include <QTest>
#include <functional>

#include "app_state.h"
#include "main_window.h"
#include "picture_button.h"
#include "test_server.h"
#include "ui.h"

namespace tavlo::test {

extern PageServer* page_server;
extern QString home_folder;

// Dispatches events until `done` holds or `ms` pass.
inline bool wait_until(const std::function<bool()>& done, int ms = 20000) {
  QElapsedTimer t;
  t.start();
  while (!done()) {
    if (t.elapsed() > ms) return false;
    QTest::qWait(20);
  }
  return true;
}

template <class W>
W* control(const char* name) {
  return ui().主窗口->findChild<W*>(QString::fromUtf8(name));
}

class GuiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(ui().主窗口, nullptr);
    control<QStackedWidget>("A高级选择夹")->setCurrentIndex(0);
    control<QStackedWidget>("B我的影片选择夹")->setCurrentIndex(0);
    control<QLabel>("提示框")->hide();
  }
};

}  // namespace tavlo::test
