#include <QElapsedTimer>
#include <QTimer>
#include <thread>

#include "gui_fixture.h"
#include "notice_panel.h"
#include "text.h"

namespace tavlo::test {
namespace {

QLabel* panel() { return control<QLabel>("提示框"); }

TEST_F(GuiTest, ShowNoticePlacesThePanelAt208By199AndKeepsItThere) {
  show_notice();
  EXPECT_TRUE(panel()->isVisible());
  EXPECT_EQ(panel()->pos(), QPoint(208, 199));
  show_notice();
  EXPECT_EQ(panel()->pos(), QPoint(208, 199));
  EXPECT_EQ(panel()->height(), 40);
}

TEST_F(GuiTest, FlashNoticeHidesAndRestoresOneRowWhateverTheHeight) {
  for (int height : {NOTICE_ONE_ROW, NOTICE_TWO_ROWS}) {
    show_notice();
    set_notice_height(height);
    set_notice_text(gbk("请输入验证码！"));
    EXPECT_EQ(control<QLabel>("提示框提示标签")->text(), QString::fromUtf8("请输入验证码！"));
    flash_notice();
    EXPECT_FALSE(panel()->isVisible()) << height;
    EXPECT_EQ(panel()->height(), NOTICE_ONE_ROW) << height;
  }
}

TEST_F(GuiTest, WorkerNoticeChangesReachTheWindowInOrder) {
  show_notice();
  set_notice_height(NOTICE_TWO_ROWS);
  std::thread worker([] {
    set_notice_text(gbk("离线列表载入中,请稍后......"));
    set_notice_text(gbk("获取离线列表成功！"));
    flash_notice();
  });
  // Midway the last text is up and the panel is one row again.
  ASSERT_TRUE(wait_until([] {
    return control<QLabel>("提示框提示标签")->text() == QString::fromUtf8("获取离线列表成功！");
  }));
  EXPECT_TRUE(wait_until([] { return panel()->height() == NOTICE_ONE_ROW; }));
  EXPECT_TRUE(panel()->isVisible());
  EXPECT_TRUE(wait_until([] { return !panel()->isVisible(); }, 5000));
  worker.join();
}

TEST_F(GuiTest, PumpedDelayWaitsItsTimeWhileTicksAndClicksAreHandled) {
  int ticks = 0;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, &ticker, [&] { ++ticks; });
  ticker.start(100);
  // A click arrives during the wait and switches the page.
  QTimer::singleShot(300, ui().主窗口, [] {
    QTest::mouseClick(control<PictureButton>("影片搜索BN"), Qt::LeftButton);
  });
  QElapsedTimer t;
  t.start();
  pumped_delay(1500);
  const qint64 waited = t.elapsed();
  EXPECT_GE(waited, 1500);
  EXPECT_GE(ticks, 5);
  EXPECT_EQ(control<QStackedWidget>("A高级选择夹")->currentIndex(), 1);
}

TEST_F(GuiTest, NestedPumpedDelayEndsBeforeTheOuterOne) {
  std::vector<int> order;
  QTimer::singleShot(50, ui().主窗口, [&] {
    pumped_delay(400);
    order.push_back(1);
  });
  pumped_delay(200);
  order.push_back(2);
  EXPECT_EQ(order, (std::vector<int>{1, 2}));
}

TEST(PumpedDelayOffTheWindowThread, SleepsTheWorker) {
  QElapsedTimer t;
  t.start();
  std::thread worker([] { pumped_delay(300); });
  worker.join();
  EXPECT_GE(t.elapsed(), 300);
}

}  // namespace
}  // namespace tavlo::test
