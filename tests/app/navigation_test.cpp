#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QTreeWidget>
#include <array>

#include "browser.h"
#include "gui_fixture.h"
#include "navigation.h"

namespace tavlo::test {
namespace {

const std::array<const char*, 4> TOP = {"我的影片BN", "影片搜索BN", "电视直播BN", "正在播放BN"};

// Exactly the button of the current main page is disabled; the close marks follow.
void expect_top_row_for(int page) {
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(control<PictureButton>(TOP[std::size_t(i)])->isEnabled(), i != page)
        << TOP[std::size_t(i)] << " on page " << page;
  EXPECT_EQ(control<PictureButton>("关闭电视直播")->isVisible(), page == 2);
  EXPECT_EQ(control<PictureButton>("关闭正在播放")->isVisible(), page == 3);
}

TEST_F(GuiTest, WindowIsFramelessAtDesignSizeWithEveryControlPlaced) {
  QWidget* w = ui().主窗口;
  EXPECT_EQ(w->size(), QSize(700, 455));
  EXPECT_TRUE(w->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(w->windowTitle(), QString::fromUtf8("Tavlo云播放影音盒"));
  struct Place {
    const char* name;
    QRect rect;
  };
  const Place places[] = {
      {"我的影片BN", {16, 15, 160, 40}},      {"影片搜索BN", {177, 15, 120, 40}},
      {"电视直播BN", {298, 15, 120, 40}},     {"正在播放BN", {419, 15, 120, 40}},
      {"关闭电视直播", {399, 17, 14, 16}},    {"关闭正在播放", {520, 17, 14, 16}},
      {"最小化BN", {601, 0, 32, 23}},         {"关闭窗口BN", {665, 0, 32, 23}},
      {"版本号标签", {641, 30, 100, 24}},     {"A高级选择夹", {1, 55, 698, 374}},
      {"提示框", {704, 55, 280, 40}},         {"判断状态", {705, 400, 280, 24}},
      {"云在线播放器BN", {0, 0, 174, 39}},    {"登录百度账号BN", {0, 40, 174, 39}},
      {"百度云播放记录BN", {0, 80, 174, 39}}, {"正在下载文件BN", {0, 120, 174, 39}},
      {"我的收藏BN", {0, 160, 174, 39}},      {"B我的影片选择夹", {0, 0, 698, 374}},
      {"云播地址框", {196, 18, 400, 34}},     {"云播BN", {599, 18, 83, 34}},
      {"背景框", {175, 70, 523, 304}},        {"网页公告区", {-1, -1, 526, 306}},
      {"用户名", {249, 74, 200, 40}},         {"密码", {249, 121, 200, 40}},
      {"验证码", {249, 168, 95, 40}},         {"画板2", {350, 167, 100, 42}},
      {"百度按钮背景框", {210, 167, 245, 90}}, {"记住账号BN", {0, 10, 67, 16}},
      {"登录百度BN", {0, 42, 98, 40}},        {"注册百度BN", {150, 42, 98, 40}},
      {"提示标签", {186, 337, 500, 35}},      {"视频列表框", {-1, -2, 523, 345}},
      {"离线列表框", {-1, -2, 522, 345}},     {"收藏列表框", {-1, -2, 523, 345}},
      {"搜索内容框", {28, 19, 400, 32}},      {"搜索BN", {434, 18, 82, 34}},
      {"超级列表框1", {-1, -3, 537, 241}},    {"搜索状态提示", {10, 343, 357, 28}},
      {"页数", {431, 345, 16, 20}},           {"加载更多BN", {452, 342, 80, 28}},
      {"右侧广告浏览器", {-1, -1, 164, 376}}, {"电视直播浏览", {-1, -1, 717, 376}},
      {"载入图片框", {0, 0, 700, 376}},       {"正在播放浏览器", {-1, -1, 700, 376}},
      {"图片框2", {5, 5, 30, 30}},            {"提示框提示标签", {40, 9, 232, 24}},
      {"画板1", {5, 43, 100, 32}},            {"提交验证码", {109, 44, 80, 30}},
      {"提交BN", {193, 44, 82, 30}},
  };
  for (const Place& p : places) {
    QWidget* c = control<QWidget>(p.name);
    ASSERT_NE(c, nullptr) << p.name;
    EXPECT_EQ(c->geometry(), p.rect) << p.name;
  }
  // Hidden at creation.
  for (const char* name : {"正在播放BN", "关闭电视直播", "关闭正在播放", "页数", "加载更多BN", "正在播放浏览器"})
    EXPECT_FALSE(control<QWidget>(name)->isVisibleTo(ui().主窗口)) << name;
  EXPECT_EQ(control<QLabel>("版本号标签")->text(), QString::fromUtf8("Ver 1.3.5"));
  // The update timer runs from creation with a ten-second period.
  auto* clock = ui().主窗口->findChild<QTimer*>(QString::fromUtf8("时钟1"));
  ASSERT_NE(clock, nullptr);
  EXPECT_EQ(clock->interval(), 10000);
  EXPECT_TRUE(clock->isActive());
}

TEST_F(GuiTest, ListsHaveTheirColumnsWithDataColumnsHiddenAndRows28High) {
  struct Expect {
    const char* list;
    std::vector<std::pair<const char*, int>> columns;
  };
  const Expect lists[] = {
      {"超级列表框1", {{"ID", 0}, {"文件名称", 435}, {"文件尺寸", 82}, {"Hash值", 0}}},
      {"视频列表框", {{"ID", 0}, {"影片名称", 423}, {"影片大小", 80}, {"path", 0}, {"MD5", 0}}},
      {"离线列表框", {{"ID", 0}, {"影片名称", 423}, {"是否完成", 80}, {"task_id", 0}}},
      {"收藏列表框", {{"ID", 0}, {"影片名称", 423}, {"影片大小", 80}, {"path", 0}, {"MD5", 0}}},
  };
  for (const Expect& e : lists) {
    auto* l = control<QTreeWidget>(e.list);
    ASSERT_NE(l, nullptr) << e.list;
    ASSERT_EQ(l->columnCount(), int(e.columns.size())) << e.list;
    for (int i = 0; i < l->columnCount(); ++i) {
      const auto& [caption, width] = e.columns[std::size_t(i)];
      EXPECT_EQ(l->headerItem()->text(i), QString::fromUtf8(caption)) << e.list << " " << i;
      EXPECT_EQ(l->isColumnHidden(i), width == 0) << e.list << " " << caption;
      if (width > 0) {
        EXPECT_EQ(l->columnWidth(i), width) << e.list << " " << caption;
      }
    }
    // Data columns still carry their text.
    auto* row = new QTreeWidgetItem(l, QStringList{"10001", "name", "1 GB", "hash", "md5"});
    EXPECT_EQ(row->text(0), QStringLiteral("10001"));
    EXPECT_EQ(l->visualItemRect(row).height(), 28) << e.list;
    delete row;
  }
}

TEST_F(GuiTest, EveryTopButtonReachesItsPageAndLeavesExactlyOneButtonDisabled) {
  auto* a = control<QStackedWidget>("A高级选择夹");
  control<PictureButton>("正在播放BN")->show();  // shown by a play; clickable from then on
  const std::vector<std::pair<const char*, int>> route = {
      {"影片搜索BN", 1}, {"电视直播BN", 2}, {"正在播放BN", 3}, {"我的影片BN", 0},
      {"电视直播BN", 2}, {"影片搜索BN", 1}, {"正在播放BN", 3}, {"电视直播BN", 2},
      {"我的影片BN", 0}};
  for (const auto& [button, page] : route) {
    QTest::mouseClick(control<PictureButton>(button), Qt::LeftButton);
    EXPECT_EQ(a->currentIndex(), page) << button;
    expect_top_row_for(page);
  }
  control<PictureButton>("正在播放BN")->hide();
}

TEST_F(GuiTest, DisabledTopButtonShowsItsDisabledPicture) {
  auto* b = control<PictureButton>("我的影片BN");
  ASSERT_FALSE(b->isEnabled());
  const QImage disabled = b->current_picture().toImage();
  QTest::mouseClick(control<PictureButton>("影片搜索BN"), Qt::LeftButton);
  ASSERT_TRUE(b->isEnabled());
  EXPECT_NE(b->current_picture().toImage(), disabled);
}

TEST_F(GuiTest, SideButtonsSwitchInnerPagesAndDisableTheCurrentOne) {
  auto* b = control<QStackedWidget>("B我的影片选择夹");
  const std::array<const char*, 5> side = {"云在线播放器BN", "登录百度账号BN", "百度云播放记录BN",
                                           "正在下载文件BN", "我的收藏BN"};
  for (int target : {1, 2, 3, 4, 0, 4, 1}) {
    QTest::mouseClick(control<PictureButton>(side[std::size_t(target)]), Qt::LeftButton);
    EXPECT_EQ(b->currentIndex(), target);
    for (int i = 0; i < 5; ++i)
      EXPECT_EQ(control<PictureButton>(side[std::size_t(i)])->isEnabled(), i != target)
          << side[std::size_t(i)] << " on inner page " << target;
  }
}

TEST_F(GuiTest, ListPagesRaiseTheNoticeWithTheirLoadingText) {
  const std::vector<std::pair<const char*, const char*>> cases = {
      {"百度云播放记录BN", "百度云视频列表载入中,请稍后......"},
      {"正在下载文件BN", "离线列表载入中,请稍后......"},
      {"我的收藏BN", "正在读取收藏数据,请稍后......"}};
  for (const auto& [button, text] : cases) {
    control<QLabel>("提示框")->hide();
    QTest::mouseClick(control<PictureButton>(button), Qt::LeftButton);
    EXPECT_TRUE(control<QLabel>("提示框")->isVisible()) << button;
    EXPECT_EQ(control<QLabel>("提示框提示标签")->text(), QString::fromUtf8(text));
  }
}

TEST_F(GuiTest, LiveTvLoadsOnceUntilClosedThenAgain) {
  auto* tv = control<Browser>("电视直播浏览");
  const int before = page_server->hits("/images/img/100/");
  QTest::mouseClick(control<PictureButton>("电视直播BN"), Qt::LeftButton);
  ASSERT_TRUE(wait_until([&] { return page_server->hits("/images/img/100/") == before + 1; }));
  EXPECT_EQ(tv->current_address(), QString::fromStdString("http://" + page_server->host() + "/images/img/100/"));
  // Away and back: the page already shows, nothing is loaded again.
  QTest::mouseClick(control<PictureButton>("我的影片BN"), Qt::LeftButton);
  QTest::mouseClick(control<PictureButton>("电视直播BN"), Qt::LeftButton);
  QTest::qWait(300);
  EXPECT_EQ(page_server->hits("/images/img/100/"), before + 1);
  // Closing empties it and shows page 0; the next click loads it again.
  QTest::mouseClick(control<PictureButton>("关闭电视直播"), Qt::LeftButton);
  EXPECT_EQ(control<QStackedWidget>("A高级选择夹")->currentIndex(), 0);
  EXPECT_EQ(tv->current_address(), QStringLiteral("about:blank"));
  QTest::mouseClick(control<PictureButton>("电视直播BN"), Qt::LeftButton);
  EXPECT_TRUE(wait_until([&] { return page_server->hits("/images/img/100/") == before + 2; }));
}

TEST_F(GuiTest, AdvertLoadsOnTheFirstVisitOfTheSearchPageOnly) {
  auto* ad = control<Browser>("右侧广告浏览器");
  QTest::mouseClick(control<PictureButton>("影片搜索BN"), Qt::LeftButton);
  ASSERT_TRUE(wait_until([&] { return page_server->hits("/SOFT/pop.html") >= 1; }));
  EXPECT_EQ(ad->current_address(), QString::fromStdString("http://" + page_server->host() + "/SOFT/pop.html"));
  const int hits = page_server->hits("/SOFT/pop.html");
  QTest::mouseClick(control<PictureButton>("我的影片BN"), Qt::LeftButton);
  QTest::mouseClick(control<PictureButton>("影片搜索BN"), Qt::LeftButton);
  QTest::qWait(300);
  EXPECT_EQ(page_server->hits("/SOFT/pop.html"), hits);
}

TEST_F(GuiTest, AnnouncementPageComesFromTheMakerHost) {
  EXPECT_TRUE(wait_until([] { return page_server->hits("/SOFT/Main.html") >= 1; }));
  EXPECT_EQ(control<Browser>("网页公告区")->current_address(),
            QString::fromStdString("http://" + page_server->host() + "/SOFT/Main.html"));
}

TEST_F(GuiTest, FixedPageBrowsersRefuseContextMenus) {
  for (const char* name : {"网页公告区", "电视直播浏览", "右侧广告浏览器"})
    EXPECT_EQ(control<Browser>(name)->contextMenuPolicy(), Qt::NoContextMenu) << name;
  EXPECT_NE(control<Browser>("正在播放浏览器")->contextMenuPolicy(), Qt::NoContextMenu);
}

TEST_F(GuiTest, ClosingNowPlayingShowsTheSearchPageAndHidesBothMarks) {
  control<PictureButton>("正在播放BN")->show();
  QTest::mouseClick(control<PictureButton>("正在播放BN"), Qt::LeftButton);
  ASSERT_EQ(control<QStackedWidget>("A高级选择夹")->currentIndex(), 3);
  ASSERT_TRUE(control<PictureButton>("关闭正在播放")->isVisible());
  QTest::mouseClick(control<PictureButton>("关闭正在播放"), Qt::LeftButton);
  EXPECT_EQ(control<QStackedWidget>("A高级选择夹")->currentIndex(), 1);
  EXPECT_FALSE(control<PictureButton>("正在播放BN")->isVisible());
  EXPECT_FALSE(control<PictureButton>("关闭正在播放")->isVisible());
  EXPECT_EQ(control<Browser>("正在播放浏览器")->current_address(), QStringLiteral("about:blank"));
  expect_top_row_for(1);
}

TEST_F(GuiTest, MenusCarryTheirItemsInOrder) {
  const std::vector<std::pair<const char*, std::vector<const char*>>> menus = {
      {"右键菜单", {"加入百度云", "破解迅雷", "-", "加入收藏", "复制地址", "-", "退出软件"}},
      {"视频列表菜单", {"双击播放", "刷新列表", "-", "删除文件", "清空所有"}},
      {"离线列表菜单", {"刷新列表", "-", "删除此文件", "删除已完成", "删除未完成"}},
      {"收藏右键", {"加入百度云", "破解迅雷", "-", "删除文件", "复制地址"}}};
  for (const auto& [menu, items] : menus) {
    auto* m = ui().主窗口->findChild<QMenu*>(QString::fromUtf8(menu));
    ASSERT_NE(m, nullptr) << menu;
    const QList<QAction*> actions = m->actions();
    ASSERT_EQ(actions.size(), qsizetype(items.size())) << menu;
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (std::string_view(items[i]) == "-") EXPECT_TRUE(actions[qsizetype(i)]->isSeparator());
      else EXPECT_EQ(actions[qsizetype(i)]->text(), QString::fromUtf8(items[i])) << menu;
    }
  }
}

TEST_F(GuiTest, RowIdDecidesWhetherTheResultMenuMayOpen) {
  auto* l = control<QTreeWidget>("超级列表框1");
  EXPECT_TRUE(selected_row_id(l).isEmpty());
  auto* row = new QTreeWidgetItem(l, QStringList{"10003", "film", "2 GB", "ABC"});
  EXPECT_TRUE(selected_row_id(l).isEmpty()) << "not selected yet";
  row->setSelected(true);
  EXPECT_EQ(selected_row_id(l), QStringLiteral("10003"));
  row->setText(0, QString());
  EXPECT_TRUE(selected_row_id(l).isEmpty());
  delete row;
}

}  // namespace
}  // namespace tavlo::test
