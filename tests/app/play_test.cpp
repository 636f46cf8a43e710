#include <QLineEdit>
#include <QSignalSpy>

#include "browser.h"
#include "gui_fixture.h"
#include "http_request.h"
#include "navigation.h"
#include "play_entry.h"
#include "text.h"

namespace tavlo::test {
namespace {

QLineEdit* address_box() { return control<QLineEdit>("云播地址框"); }
QLabel* loading() { return control<QLabel>("载入图片框"); }
Browser* now_playing() { return control<Browser>("正在播放浏览器"); }
QLineEdit* status_box() { return control<QLineEdit>("判断状态"); }

// The now-playing browser settles on a blank page so that no load of an earlier test keeps
// reporting status texts.
// The blank page must have finished loading: a blank page that commits late cancels the
// navigation a test starts next.
void settle_now_playing() {
  app_state().play_mode = "1";
  QSignalSpy finished(now_playing(), &QWebEngineView::loadFinished);
  now_playing()->navigate(QStringLiteral("about:blank"));
  wait_until([&] { return finished.count() > 0; });
  QTest::qWait(100);
}

TEST_F(GuiTest, CloudPlayButtonOpensThePlayApiPageWithTheEncodedLink) {
  const int before = page_server->hits("/playapi.php");
  QTest::mouseClick(address_box(), Qt::LeftButton);
  EXPECT_TRUE(address_box()->text().isEmpty()) << "a press empties the box";
  QTest::keyClicks(address_box(), QStringLiteral("magnet:?xt=urn:btih:ABC"));
  QTest::mousePress(control<QLabel>("云播BN"), Qt::LeftButton);

  EXPECT_EQ(control<QStackedWidget>("A高级选择夹")->currentIndex(), 3);
  EXPECT_TRUE(control<PictureButton>("正在播放BN")->isVisible());
  EXPECT_EQ(app_state().play_mode, "0");
  EXPECT_EQ(app_state().play_address, "magnet%3A%3Fxt%3Durn%3Abtih%3AABC");
  EXPECT_TRUE(loading()->isVisible());
  EXPECT_FALSE(now_playing()->isVisible());

  ASSERT_TRUE(wait_until([&] { return page_server->hits("/playapi.php") > before; }));
  EXPECT_EQ(page_server->target("/playapi.php"),
            "/playapi.php?method=high&u=magnet%3A%3Fxt%3Durn%3Abtih%3AABC");
  // The page and its two frames complete: three in a row uncover the browser.
  ASSERT_TRUE(wait_until([] { return !loading()->isVisible(); }));
  EXPECT_TRUE(now_playing()->isVisible());
  EXPECT_TRUE(status_box()->text().contains(QString::fromUtf8("完成完成完成")));
}

TEST_F(GuiTest, PlaceholderOrEmptyBoxOnlyTellsTheUserToEnterAnAddress) {
  settle_now_playing();
  const QString shown = now_playing()->current_address();
  control<PictureButton>("正在播放BN")->hide();
  for (const QString& text : {QString::fromUtf8(CLOUD_PLAY_PLACEHOLDER), QString()}) {
    address_box()->setText(text);
    QTest::mousePress(control<QLabel>("云播BN"), Qt::LeftButton);  // returns after the flash
    EXPECT_EQ(control<QLabel>("提示框提示标签")->text(), QString::fromUtf8("请输入有效的视频地址！"));
    EXPECT_FALSE(control<QLabel>("提示框")->isVisible());
    EXPECT_EQ(control<QStackedWidget>("A高级选择夹")->currentIndex(), 0);
    EXPECT_FALSE(control<PictureButton>("正在播放BN")->isVisible());
    EXPECT_EQ(now_playing()->current_address(), shown);
  }
}

TEST_F(GuiTest, AddressBoxFallsBackToTheGreyPlaceholderWhenLeftEmpty) {
  QTest::mouseClick(address_box(), Qt::LeftButton);
  EXPECT_EQ(address_box()->palette().color(QPalette::Text), QColor(0, 0, 0));
  cloud_address_focus_lost();
  EXPECT_EQ(address_box()->text(), QString::fromUtf8(CLOUD_PLAY_PLACEHOLDER));
  EXPECT_EQ(address_box()->palette().color(QPalette::Text), QColor(192, 192, 192));
  // A box with text keeps it.
  QTest::mouseClick(address_box(), Qt::LeftButton);
  QTest::keyClicks(address_box(), QStringLiteral("ed2k://x"));
  cloud_address_focus_lost();
  EXPECT_EQ(address_box()->text(), QStringLiteral("ed2k://x"));
}

TEST_F(GuiTest, ThreeCompletionsInARowAndNothingElseUncoverTheBrowser) {
  settle_now_playing();
  const QString done = QString::fromUtf8("完成");
  struct Case {
    std::vector<QString> texts;
    std::vector<bool> covered_after;  // after each text
  };
  const Case cases[] = {
      {{done, done, done}, {true, true, false}},
      {{done, "x", done, done}, {true, true, true, true}},
      {{done, "x", done, done, done}, {true, true, true, true, false}},
      {{QString::fromUtf8("正在打开网页 http://a/..."), done, done, done}, {true, true, true, false}},
      // The texts are joined as they come: the pieces need not be whole words.
      {{QString::fromUtf8("完成完"), QString::fromUtf8("成完成")}, {true, false}},
      {{QString::fromUtf8("完成完"), QString::fromUtf8("成 完成")}, {true, true}},
  };
  for (const Case& c : cases) {
    app_state().play_mode = "0";
    status_box()->clear();
    loading()->show();
    now_playing()->hide();
    for (std::size_t i = 0; i < c.texts.size(); ++i) {
      now_playing_status_changed(c.texts[i]);
      EXPECT_EQ(!loading()->isHidden(), c.covered_after[i]) << i;
      EXPECT_EQ(!now_playing()->isHidden(), !c.covered_after[i]) << i;
    }
  }
  // In direct mode the watcher stays idle.
  app_state().play_mode = "1";
  status_box()->clear();
  loading()->show();
  for (int i = 0; i < 3; ++i) now_playing_status_changed(done);
  EXPECT_TRUE(status_box()->text().isEmpty());
  EXPECT_TRUE(!loading()->isHidden());
}

TEST_F(GuiTest, AccumulatorStaysBoundedAndKeepsACompletedLoad) {
  app_state().play_mode = "0";
  status_box()->clear();
  const QString done = QString::fromUtf8("完成");
  for (int i = 0; i < 3; ++i) now_playing_status_changed(done);
  const QString link = QString(3000, QLatin1Char('a'));
  for (int i = 0; i < 50; ++i) now_playing_status_changed(link);
  EXPECT_LE(status_box()->text().size(), 9000);
  EXPECT_FALSE(!loading()->isHidden());
  app_state().play_mode = "1";
}

TEST_F(GuiTest, EveryPlayStartsTheDetectorAfresh) {
  settle_now_playing();
  status_box()->setText(QString::fromUtf8("完成完成"));
  app_state().play_mode = "0";
  app_state().play_address = "x";
  play_link();
  EXPECT_TRUE(status_box()->text().isEmpty() ||
              !status_box()->text().startsWith(QString::fromUtf8("完成完成")));
  EXPECT_TRUE(loading()->isVisible());
}

TEST_F(GuiTest, DirectPlayOpensTheAddressItselfWithTheAccountCookies) {
  settle_now_playing();
  cookie_store_add("127.0.0.1\tFALSE\t/\tFALSE\t0\tBDUSS\tacc0unt");
  const int before = page_server->hits("/direct.html");
  app_state().play_mode = "1";
  app_state().play_address = "http://" + page_server->host() + "/direct.html";
  play_link();
  EXPECT_EQ(control<QStackedWidget>("A高级选择夹")->currentIndex(), 3);
  EXPECT_FALSE(loading()->isVisible());
  EXPECT_TRUE(now_playing()->isVisible());
  ASSERT_TRUE(wait_until([&] { return page_server->hits("/direct.html") > before; }));
  EXPECT_NE(page_server->cookie("/direct.html").find("BDUSS=acc0unt"), std::string::npos)
      << page_server->cookie("/direct.html");
  cookie_store_clear();
}

TEST_F(GuiTest, PopUpsOfThePlayPageAreSwallowedByTheCaptureWindow) {
  settle_now_playing();
  const int count = app_state().popup_count;
  app_state().play_mode = "0";
  app_state().play_address = "x";
  now_playing()->navigate(QString::fromStdString("http://" + page_server->host() + "/opens-popup.html"));
  ASSERT_TRUE(wait_until([&] { return app_state().popup_count == count + 1; }));
  EXPECT_NE(ui().capture_window, nullptr);
  EXPECT_NE(app_state().popup_browsers[std::size_t(count)], nullptr);
  EXPECT_FALSE(ui().capture_window->isVisible());
  EXPECT_EQ(ui().capture_window->size(), QSize(100, 100));
  EXPECT_EQ(ui().capture_window->parent(), nullptr);
  for (auto* copy : ui().capture_window->findChildren<Browser*>(QString::fromUtf8("互联网浏览器2")))
    EXPECT_EQ(copy->geometry(), QRect(272, 64, 32, 32));
  // The capture window and its browsers go 800 ms after it was loaded.
  EXPECT_TRUE(wait_until([] { return ui().capture_window == nullptr; }, 5000));
  EXPECT_EQ(app_state().popup_browsers[std::size_t(count)], nullptr);
  settle_now_playing();
}

TEST_F(GuiTest, PopUpsBeyondTheTwentySlotsAreCancelled) {
  app_state().play_mode = "0";
  const int saved = app_state().popup_count;
  app_state().popup_count = POPUP_SLOTS;
  EXPECT_EQ(now_playing_new_window(), nullptr);
  EXPECT_EQ(app_state().popup_count, POPUP_SLOTS + 1);
  EXPECT_EQ(now_playing_new_window(), nullptr);
  app_state().popup_count = saved;
  // Direct play captures nothing.
  app_state().play_mode = "1";
  EXPECT_EQ(now_playing_new_window(), nullptr);
  EXPECT_EQ(app_state().popup_count, saved);
  QTest::qWait(1000);  // the capture window loaded above goes away
  EXPECT_EQ(ui().capture_window, nullptr);
}

}  // namespace
}  // namespace tavlo::test
