#include "navigation.h"

#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStackedWidget>
#include <QTimer>
#include <QTreeWidget>

#include "app_state.h"
#include "browser.h"
#include "handlers_later.h"
#include "hosts.h"
#include "notice_panel.h"
#include "picture_button.h"
#include "program.h"
#include "settings_file.h"
#include "text.h"
#include "ui.h"

namespace tavlo {

namespace {

QString http_address(const std::string& host, const char* path) {
  return QString::fromStdString("http://" + host + path);
}

// The accumulator keeps a bounded tail; a completed load stays recorded when trimmed.
constexpr int STATUS_KEEP = 8192;

QString done_three() { return QString::fromUtf8("完成完成完成"); }

void set_enabled(PictureButton* b, bool enabled) { b->setEnabled(enabled); }

}  // namespace

QString announcement_address() { return http_address(hosts().maker, "/SOFT/Main.html"); }
QString advert_address() { return http_address(hosts().maker, "/SOFT/pop.html"); }
QString live_tv_address() { return http_address(hosts().live_tv, "/images/img/100/"); }

void main_page_changed(int page) {
  Ui& u = ui();
  if (page == 2) {
    u.关闭电视直播->show();
    set_enabled(u.电视直播BN, false);
  } else {
    set_enabled(u.电视直播BN, true);
    u.关闭电视直播->hide();
  }
  set_enabled(u.我的影片BN, page != 0);
  if (page == 1 && u.右侧广告浏览器->current_address().isEmpty())
    u.右侧广告浏览器->navigate(advert_address());
  set_enabled(u.影片搜索BN, page != 1);
  if (page == 3) {
    u.关闭正在播放->show();
    set_enabled(u.正在播放BN, false);
  } else {
    set_enabled(u.正在播放BN, true);
    u.关闭正在播放->hide();
  }
  // The close marks lie over the top buttons.
  u.关闭电视直播->raise();
  u.关闭正在播放->raise();
}

void my_page_changed(int page) {
  Ui& u = ui();
  set_enabled(u.云在线播放器BN, page != 0);
  if (page == 1) {
    set_enabled(u.登录百度账号BN, false);
    restore_account();
  } else {
    set_enabled(u.登录百度账号BN, true);
  }
  if (page == 2) {
    set_enabled(u.百度云播放记录BN, false);
    show_notice();
    set_notice_text(gbk("百度云视频列表载入中,请稍后......"));
    start_worker(load_video_list);
  } else {
    set_enabled(u.百度云播放记录BN, true);
  }
  if (page == 3) {
    set_enabled(u.正在下载文件BN, false);
    show_notice();
    set_notice_text(gbk("离线列表载入中,请稍后......"));
    start_worker(load_task_list);
  } else {
    set_enabled(u.正在下载文件BN, true);
  }
  if (page == 4) {
    set_enabled(u.我的收藏BN, false);
    show_notice();
    set_notice_text(gbk("正在读取收藏数据,请稍后......"));
    load_favourites();
  } else {
    set_enabled(u.我的收藏BN, true);
  }
}

void live_tv_clicked() {
  Ui& u = ui();
  u.A高级选择夹->setCurrentIndex(2);
  const QString address = live_tv_address();
  if (u.电视直播浏览->current_address() != address) u.电视直播浏览->navigate(address);
}

void close_live_tv() {
  Ui& u = ui();
  u.A高级选择夹->setCurrentIndex(0);
  u.电视直播浏览->navigate(QStringLiteral("about:blank"));
}

void close_now_playing() {
  Ui& u = ui();
  u.正在播放BN->hide();
  u.正在播放浏览器->navigate(QStringLiteral("about:blank"));
  u.A高级选择夹->setCurrentIndex(1);
}

void now_playing_status_changed(const QString& text) {
  if (app_state().play_mode != "0") return;
  Ui& u = ui();
  QString acc = u.判断状态->text() + text.right(STATUS_KEEP);
  const bool done = acc.contains(done_three());
  if (acc.size() > STATUS_KEEP) acc = (done ? done_three() : QString()) + acc.right(STATUS_KEEP);
  u.判断状态->setText(acc);
  if (done) {
    u.载入图片框->hide();
    u.正在播放浏览器->show();
  } else {
    u.载入图片框->show();
  }
}

namespace {

void destroy_capture_window() {
  Ui& u = ui();
  if (!u.capture_window) return;
  u.capture_window->deleteLater();
  u.capture_window = nullptr;
  for (void*& slot : app_state().popup_browsers) slot = nullptr;
}

void load_capture_window() {
  Ui& u = ui();
  if (u.capture_window) return;
  auto* cw = new QWidget(nullptr, Qt::Window);
  cw->setObjectName(QStringLiteral("capture_window"));
  cw->resize(100, 100);
  cw->setAttribute(Qt::WA_DontShowOnScreen);
  auto* tmpl = new Browser(cw);
  tmpl->setObjectName(QString::fromUtf8("互联网浏览器2"));
  tmpl->setGeometry(272, 64, 32, 32);
  auto* clock = new QTimer(cw);
  clock->setObjectName(QString::fromUtf8("时钟1"));
  clock->setInterval(800);
  QObject::connect(clock, &QTimer::timeout, cw, [cw] {
    if (ui().capture_window == cw) destroy_capture_window();
  });
  clock->start();
  u.capture_window = cw;
}

}  // namespace

QWebEngineView* now_playing_new_window() {
  AppState& s = app_state();
  if (s.play_mode != "0") return nullptr;
  load_capture_window();
  s.popup_count += 1;
  const int slot = s.popup_count - 1;
  // Twenty slots; a later pop-up is cancelled rather than written past the table.
  if (slot < 0 || slot >= POPUP_SLOTS) return nullptr;
  auto* copy = new Browser(ui().capture_window);
  copy->setObjectName(QString::fromUtf8("互联网浏览器2"));
  copy->setGeometry(272, 64, 32, 32);
  s.popup_browsers[std::size_t(slot)] = copy;
  copy->show();
  return copy;
}

QString selected_row_id(QTreeWidget* list) {
  const QList<QTreeWidgetItem*> rows = list->selectedItems();
  if (rows.isEmpty()) return {};
  return rows.first()->text(0);
}

void show_result_menu() {
  if (selected_row_id(ui().超级列表框1).isEmpty()) return;
  ui().右键菜单->exec(QCursor::pos());
}

void show_video_list_menu() { ui().视频列表菜单->exec(QCursor::pos()); }
void show_task_list_menu() { ui().离线列表菜单->exec(QCursor::pos()); }

void show_favourite_menu() {
  if (selected_row_id(ui().收藏列表框).isEmpty()) return;
  ui().收藏右键->exec(QCursor::pos());
}

}  // namespace tavlo
