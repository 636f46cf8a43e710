// The search page of the real window against the sandbox's five search sites.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QMenu>
#include <QTimer>
#include <string>
#include <vector>

#include "app_state.h"
#include "browser.h"
#include "hosts.h"
#include "picture_button.h"
#include "qt_text.h"
#include "search_driver.h"
#include "search_gui_fixture.h"
#include "search_sites.h"
#include "text.h"
#include "text_codecs.h"

namespace tavlo::test {
namespace {

const char* kDone = "数据搜索完毕！如果搜索结果不满意，请重新搜索......";

struct Cells {
  std::string id, name, size, hash;  // GBK
  bool operator==(const Cells&) const = default;
};

void PrintTo(const Cells& c, std::ostream* os) {
  *os << "{" << c.id << " | " << gbk_to_utf8(c.name) << " | " << gbk_to_utf8(c.size) << " | "
      << c.hash << "}";
}

std::vector<Cells> list_rows() {
  std::vector<Cells> rows;
  QTreeWidget* list = control<QTreeWidget>("超级列表框1");
  for (int i = 0; i < list->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* it = list->topLevelItem(i);
    rows.push_back({gbk_of(it->text(0)), gbk_of(it->text(1)), gbk_of(it->text(2)), gbk_of(it->text(3))});
  }
  return rows;
}

struct Page {
  std::vector<Cells> rows;  // in list order
  bool more = false;
};

// What the site serves for this page, read by the window-free driver.
Page site_page(const std::string& site, const char* keyword_utf8, long long page) {
  const SearchOutcome out = run_search_job(make_search_job(site, gbk(keyword_utf8), page));
  Page p;
  for (const ResultRow& r : result_rows(out.scrape)) p.rows.push_back({r.id, r.name, r.size, r.hash});
  p.more = out.more;
  return p;
}

class SearchPage : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(ui().主窗口, nullptr);
    control<QStackedWidget>("A高级选择夹")->setCurrentIndex(1);
    the_sandbox->clear_faults();
    // Let any worker of an earlier test finish first.
    ASSERT_TRUE(wait_until([] { return search_button()->isEnabled(); }, 60000));
    QTest::qWait(1700);
  }

  static QLineEdit* box() { return control<QLineEdit>("搜索内容框"); }
  static PictureButton* search_button() { return control<PictureButton>("搜索BN"); }
  static PictureButton* more_button() { return control<PictureButton>("加载更多BN"); }
  static QLabel* status() { return control<QLabel>("搜索状态提示"); }
  static QLabel* notice() { return control<QLabel>("提示框"); }
  static QLabel* notice_text() { return control<QLabel>("提示框提示标签"); }
  static QLineEdit* page_box() { return control<QLineEdit>("页数"); }
  static QTreeWidget* list() { return control<QTreeWidget>("超级列表框1"); }

  // Clicks 搜索BN with `keyword` typed and waits for the whole search to end.
  static void search_for(const char* keyword) {
    box()->setText(QString::fromUtf8(keyword));
    status()->clear();
    QTest::mouseClick(search_button(), Qt::LeftButton);
    wait_for_worker();
  }

  static void wait_for_worker() {
    ASSERT_TRUE(wait_until([] {
      return status()->text() == QString::fromUtf8(kDone) && search_button()->isEnabled();
    }));
  }

  static QAction* menu_action(const char* text) {
    for (QAction* a : control<QMenu>("右键菜单")->actions())
      if (a->text() == QString::fromUtf8(text)) return a;
    return nullptr;
  }
};

TEST_F(SearchPage, SearchFillsTheListAndReportsInOrder) {
  list()->clear();
  box()->setText(QStringLiteral("2014"));
  status()->clear();
  QTest::mouseClick(search_button(), Qt::LeftButton);

  // At once: button off, panel up with the waiting text, list emptied, a site drawn.
  EXPECT_FALSE(search_button()->isEnabled());
  EXPECT_TRUE(notice()->isVisible());
  EXPECT_EQ(notice_text()->text(), QString::fromUtf8("正在搜索数据..."));
  EXPECT_EQ(list()->topLevelItemCount(), 0);
  const std::string site = app_state().search_site;
  ASSERT_NE(search_site_row(site), nullptr);

  // The completion text is seen on the panel, then the panel goes and the status follows.
  ASSERT_TRUE(wait_until([] {
    return notice()->isVisible() && notice_text()->text() == QString::fromUtf8("数据加载完毕！");
  }));
  EXPECT_GT(list()->topLevelItemCount(), 0);
  EXPECT_TRUE(status()->text().isEmpty());
  ASSERT_TRUE(wait_until([] { return status()->text() == QString::fromUtf8(kDone); }));
  EXPECT_FALSE(notice()->isVisible());
  EXPECT_EQ(notice()->height(), 40);
  EXPECT_TRUE(search_button()->isEnabled());

  const Page want = site_page(site, "2014", 1);
  ASSERT_FALSE(want.rows.empty());
  EXPECT_EQ(list_rows(), want.rows) << "site " << site;
  EXPECT_EQ(list_rows().back().id, "10001");
  EXPECT_EQ(list_rows().front().id, std::to_string(10000 + want.rows.size()));
  EXPECT_EQ(more_button()->isVisible(), want.more);
  EXPECT_TRUE(want.more);  // the sandbox has more than a page of 2014 films on every site
  EXPECT_EQ(page_box()->text(), QStringLiteral("1"));
}

TEST_F(SearchPage, ResultsWithoutMoreHideTheLoadMoreButton) {
  more_button()->show();
  search_for("钢铁侠");
  const Page want = site_page(app_state().search_site, "钢铁侠", 1);
  EXPECT_EQ(list_rows(), want.rows);
  EXPECT_FALSE(want.more);
  EXPECT_FALSE(more_button()->isVisible());
}

// A site that drops the connection: no rows, the usual messages, and no load-more.
TEST_F(SearchPage, FailedFetchStillReportsAndHidesLoadMore) {
  std::string error;
  for (int s = 1; s <= 5; ++s)
    ASSERT_TRUE(the_sandbox->add_fault_spec("site" + std::to_string(s) + ":/=drop", &error)) << error;
  more_button()->show();
  box()->setText(QStringLiteral("2014"));
  status()->clear();
  QTest::mouseClick(search_button(), Qt::LeftButton);
  ASSERT_TRUE(wait_until([] { return notice_text()->text() == QString::fromUtf8("数据加载完毕！"); }));
  wait_for_worker();
  the_sandbox->clear_faults();
  EXPECT_EQ(list()->topLevelItemCount(), 0);
  EXPECT_FALSE(more_button()->isVisible());
  EXPECT_FALSE(notice()->isVisible());
}

TEST_F(SearchPage, LoadMoreBringsTheFollowingPagesAbove) {
  search_for("2014");
  const std::string site = app_state().search_site;
  std::vector<Cells> below = list_rows();
  ASSERT_EQ(below, site_page(site, "2014", 1).rows);
  ASSERT_TRUE(more_button()->isVisible());

  for (long long page = 2; page <= 3 && more_button()->isVisible(); ++page) {
    status()->clear();
    QTest::mouseClick(more_button(), Qt::LeftButton);
    // Load-more shows no panel and leaves the list alone until its page arrives.
    EXPECT_FALSE(notice()->isVisible());
    EXPECT_EQ(list_rows(), below);
    wait_for_worker();
    EXPECT_FALSE(notice()->isVisible());

    const Page want = site_page(site, "2014", page);
    std::vector<Cells> all = want.rows;
    all.insert(all.end(), below.begin(), below.end());
    EXPECT_EQ(list_rows(), all) << "site " << site << " page " << page;
    EXPECT_EQ(page_box()->text(), QString::number(page));
    EXPECT_EQ(more_button()->isVisible(), want.more);
    EXPECT_EQ(app_state().search_site, site);
    below = list_rows();
  }

  // A new search starts counting again.
  search_for("2014");
  EXPECT_EQ(page_box()->text(), QStringLiteral("1"));
  EXPECT_EQ(list_rows(), site_page(app_state().search_site, "2014", 1).rows);
}

// Two clicks on load-more before the first page has come: two different pages, in order.
TEST_F(SearchPage, QuickLoadMoreClicksAskForSuccessivePages) {
  search_for("2014");
  const std::string site = app_state().search_site;
  const std::vector<Cells> first = list_rows();
  ASSERT_TRUE(more_button()->isVisible());

  std::string error;
  for (int s = 1; s <= 5; ++s)
    ASSERT_TRUE(the_sandbox->add_fault_spec("site" + std::to_string(s) + ":/=slow:1500x1", &error)) << error;
  status()->clear();
  QTest::mouseClick(more_button(), Qt::LeftButton);
  QTest::qWait(200);
  QTest::mouseClick(more_button(), Qt::LeftButton);
  ASSERT_TRUE(wait_until([] { return page_box()->text() == QStringLiteral("3"); }));
  ASSERT_TRUE(wait_until([] { return status()->text() == QString::fromUtf8(kDone); }));
  QTest::qWait(2000);  // the second worker's closing steps
  the_sandbox->clear_faults();

  const Page p2 = site_page(site, "2014", 2), p3 = site_page(site, "2014", 3);
  std::vector<Cells> all = p3.rows;
  all.insert(all.end(), p2.rows.begin(), p2.rows.end());
  all.insert(all.end(), first.begin(), first.end());
  EXPECT_EQ(list_rows(), all) << "site " << site;
  EXPECT_EQ(page_box()->text(), QStringLiteral("3"));
  EXPECT_EQ(more_button()->isVisible(), p3.more);
}

TEST_F(SearchPage, NoKeywordMeansNoRequest) {
  search_for("钢铁侠");
  const std::vector<Cells> rows = list_rows();
  ASSERT_FALSE(rows.empty());
  const unsigned generation = app_state().search_generation.load();
  const auto worker = app_state().worker_thread;
  const QString hint = QString::fromUtf8("温馨提示：请输入搜索内容！！");

  for (const char* keyword : {"", "请输入搜索内容"}) {
    box()->setText(QString::fromUtf8(keyword));
    status()->clear();
    QTest::mouseClick(search_button(), Qt::LeftButton);
    EXPECT_EQ(status()->text(), hint) << keyword;

    status()->clear();
    QTest::keyClick(box(), Qt::Key_Return);
    EXPECT_EQ(status()->text(), hint) << keyword;

    status()->clear();
    more_button()->show();
    QTest::mouseClick(more_button(), Qt::LeftButton);
    EXPECT_EQ(status()->text(), hint) << keyword;

    EXPECT_TRUE(search_button()->isEnabled());
    EXPECT_FALSE(notice()->isVisible());
  }
  QTest::qWait(300);
  EXPECT_EQ(app_state().worker_thread, worker);
  EXPECT_EQ(app_state().search_generation.load(), generation);
  EXPECT_EQ(list_rows(), rows);
}

TEST_F(SearchPage, SearchBoxPlaceholder) {
  QLineEdit* b = box();
  const QString placeholder = QString::fromUtf8("请输入搜索内容");
  b->setText(QStringLiteral("something typed"));
  QTest::mouseClick(b, Qt::LeftButton);
  EXPECT_EQ(b->text(), QString());
  EXPECT_EQ(b->palette().color(QPalette::Text), QColor(0, 0, 0));

  QFocusEvent out(QEvent::FocusOut);
  QApplication::sendEvent(b, &out);
  EXPECT_EQ(b->text(), placeholder);
  EXPECT_EQ(b->palette().color(QPalette::Text), QColor(192, 192, 192));

  // A typed keyword survives the focus loss.
  QTest::mouseClick(b, Qt::LeftButton);
  b->setText(QStringLiteral("kept"));
  QApplication::sendEvent(b, &out);
  EXPECT_EQ(b->text(), QStringLiteral("kept"));
  EXPECT_EQ(b->palette().color(QPalette::Text), QColor(0, 0, 0));
}

// A search started (by Enter) while another is still being fetched: only the newer one's
// rows may ever reach the list.
TEST_F(SearchPage, NewSearchDuringFetchNeverMixesResults) {
  std::string error;
  for (int s = 1; s <= 5; ++s)
    ASSERT_TRUE(the_sandbox->add_fault_spec("site" + std::to_string(s) + ":/=slow:2500x1", &error)) << error;
  box()->setText(QString::fromUtf8("钢铁侠"));
  status()->clear();
  QTest::mouseClick(search_button(), Qt::LeftButton);
  QTest::qWait(400);  // the first fetch is under way
  ASSERT_FALSE(search_button()->isEnabled());

  box()->setText(QStringLiteral("Inception"));
  QTest::keyClick(box(), Qt::Key_Return);
  const std::string second_site = app_state().search_site;

  // Watch the list until both workers are done: never a row of the first keyword.
  bool mixed = false;
  ASSERT_TRUE(wait_until([&] {
    for (const Cells& c : list_rows()) mixed = mixed || c.name.find(gbk("钢铁侠")) != std::string::npos;
    return status()->text() == QString::fromUtf8(kDone) && search_button()->isEnabled();
  }));
  QTest::qWait(3000);
  for (const Cells& c : list_rows()) mixed = mixed || c.name.find(gbk("钢铁侠")) != std::string::npos;
  EXPECT_FALSE(mixed);
  the_sandbox->clear_faults();
  const Page want = site_page(second_site, "Inception", 1);
  ASSERT_FALSE(want.rows.empty());
  EXPECT_EQ(list_rows(), want.rows);
  EXPECT_EQ(more_button()->isVisible(), want.more);
}

TEST_F(SearchPage, ResultMenuOnlyWithASelectedRow) {
  search_for("钢铁侠");
  QTreeWidget* l = list();
  ASSERT_GT(l->topLevelItemCount(), 0);

  QWidget* seen = nullptr;
  auto right_click = [&] {
    seen = nullptr;
    QTimer::singleShot(300, [&] {
      seen = QApplication::activePopupWidget();
      if (seen) seen->close();
    });
    QContextMenuEvent ev(QContextMenuEvent::Mouse, QPoint(20, 200), l->viewport()->mapToGlobal(QPoint(20, 200)));
    QApplication::sendEvent(l->viewport(), &ev);
    QTest::qWait(500);
  };

  l->clearSelection();
  right_click();
  EXPECT_EQ(seen, nullptr);

  l->setCurrentItem(l->topLevelItem(0));
  right_click();
  ASSERT_NE(seen, nullptr);
  EXPECT_EQ(seen->objectName(), QString::fromUtf8("右键菜单"));
  QStringList items;
  for (QAction* a : static_cast<QMenu*>(seen)->actions()) items << (a->isSeparator() ? "-" : a->text());
  EXPECT_EQ(items, QString::fromUtf8("加入百度云|破解迅雷|-|加入收藏|复制地址|-|退出软件").split('|'));
}

TEST_F(SearchPage, CopyAndPlayUseTheRowsMagnetLink) {
  search_for("钢铁侠");
  QTreeWidget* l = list();
  ASSERT_GT(l->topLevelItemCount(), 1);
  QTreeWidgetItem* row = l->topLevelItem(1);
  const QString hash = row->text(3);
  ASSERT_EQ(hash.size(), 40);
  QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(row).center());
  ASSERT_EQ(l->selectedItems().value(0), row);

  menu_action("复制地址")->trigger();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "magnet:?xt=urn:btih:" + hash);

  menu_action("破解迅雷")->trigger();
  EXPECT_EQ(app_state().play_address, "magnet%3A%3Fxt%3Durn%3Abtih%3A" + hash.toStdString());
  EXPECT_EQ(app_state().play_mode, "0");
  EXPECT_EQ(control<QStackedWidget>("A高级选择夹")->currentIndex(), 3);
  const QString opened = control<Browser>("正在播放浏览器")->current_address();
  EXPECT_EQ(opened, QString::fromStdString("http://" + hosts().playapi +
                                           "/playapi.php?method=high&u=magnet%3A%3Fxt%3Durn%3Abtih%3A") + hash);

  // Without a selection the link is the bare prefix.
  control<QStackedWidget>("A高级选择夹")->setCurrentIndex(1);
  l->clearSelection();
  menu_action("复制地址")->trigger();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("magnet:?xt=urn:btih:"));
}

}  // namespace
}  // namespace tavlo::test
