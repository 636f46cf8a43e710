#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QLineEdit>
#include <QSignalSpy>
#include <QFile>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <QTreeWidget>
#include <QWebEngineProfile>

#include "browser.h"
#include "gui_fixture.h"
#include "navigation.h"
#include "play_entry.h"

namespace tavlo::test {
namespace {

void send_mouse(QWidget* w, QEvent::Type type, QPoint local, Qt::MouseButtons buttons) {
  const QPointF global = w->mapToGlobal(QPointF(local));
  QMouseEvent e(type, QPointF(local), global, Qt::LeftButton, buttons, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

TEST_F(GuiTest, DraggingTheBackgroundMovesTheWindow) {
  QWidget* w = ui().主窗口;
  const QPoint start = w->pos();
  // The footer strip is bare background.
  send_mouse(w, QEvent::MouseButtonPress, {300, 440}, Qt::LeftButton);
  send_mouse(w, QEvent::MouseMove, {350, 460}, Qt::LeftButton);
  send_mouse(w, QEvent::MouseButtonRelease, {350, 460}, Qt::NoButton);
  EXPECT_EQ(w->pos(), start + QPoint(50, 20));
  w->move(start);
}

// Which pop-up menu a right-click on `list` opens ("" for none).
QString menu_for_right_click(QTreeWidget* list) {
  QString shown;
  QTimer::singleShot(100, list, [&shown] {
    if (auto* m = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
      shown = m->objectName();
      m->close();
    }
  });
  emit list->customContextMenuRequested(QPoint(10, 10));
  QTest::qWait(200);
  return shown;
}

TEST_F(GuiTest, RightClickMenusFollowTheSelectedRowRule) {
  auto* results = control<QTreeWidget>("超级列表框1");
  auto* favourites = control<QTreeWidget>("收藏列表框");
  results->clear();
  favourites->clear();
  EXPECT_EQ(menu_for_right_click(results), QString());
  EXPECT_EQ(menu_for_right_click(favourites), QString());
  EXPECT_EQ(menu_for_right_click(control<QTreeWidget>("视频列表框")), QString::fromUtf8("视频列表菜单"));
  EXPECT_EQ(menu_for_right_click(control<QTreeWidget>("离线列表框")), QString::fromUtf8("离线列表菜单"));
  auto* r = new QTreeWidgetItem(results, QStringList{"10001", "film", "1 GB", "ABC"});
  r->setSelected(true);
  auto* f = new QTreeWidgetItem(favourites, QStringList{"10001", "film", "1 GB", "", "ABC"});
  f->setSelected(true);
  EXPECT_EQ(menu_for_right_click(results), QString::fromUtf8("右键菜单"));
  EXPECT_EQ(menu_for_right_click(favourites), QString::fromUtf8("收藏右键"));
  results->clear();
  favourites->clear();
}

TEST_F(GuiTest, DirectPlayClearsTheCacheFilesButKeepsTheFolders) {
  const QString cache = web_profile()->cachePath();
  ASSERT_FALSE(cache.isEmpty());
  const QString sub = cache + "/tavlo-test-sub";
  QDir().mkpath(sub);
  for (const QString& file : {cache + "/tavlo-test-a", sub + "/tavlo-test-b"}) {
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
  }
  app_state().play_mode = "1";
  app_state().play_address = "about:blank";
  play_link();
  EXPECT_FALSE(QFile::exists(cache + "/tavlo-test-a"));
  EXPECT_FALSE(QFile::exists(sub + "/tavlo-test-b"));
  EXPECT_TRUE(QDir(sub).exists());
  // The play-API route clears nothing.
  QFile keep(sub + "/tavlo-test-c");
  ASSERT_TRUE(keep.open(QIODevice::WriteOnly));
  keep.close();
  app_state().play_mode = "0";
  app_state().play_address = "x";
  play_link();
  EXPECT_TRUE(QFile::exists(sub + "/tavlo-test-c"));
  QDir(sub).removeRecursively();
  app_state().play_mode = "1";
  // Leave the browser idle: a blank page committing late would cancel the next test's load.
  QSignalSpy finished(ui().正在播放浏览器, &QWebEngineView::loadFinished);
  ui().正在播放浏览器->navigate(QStringLiteral("about:blank"));
  wait_until([&] { return finished.count() > 0; });
}

TEST_F(GuiTest, PressInTheAddressBoxErasesATypedLink) {
  auto* box = control<QLineEdit>("云播地址框");
  QTest::mouseClick(box, Qt::LeftButton);
  QTest::keyClicks(box, QStringLiteral("http://example/film.mp4"));
  QTest::mouseClick(box, Qt::LeftButton);
  EXPECT_TRUE(box->text().isEmpty());
}

}  // namespace
}  // namespace tavlo::test
