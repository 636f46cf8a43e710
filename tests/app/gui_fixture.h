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
#include "gui_harness.h"
#include "ui.h"

namespace tavlo::test {

extern PageServer* page_server;
extern QString home_folder;

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
