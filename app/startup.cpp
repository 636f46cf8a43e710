#include "startup.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QLabel>
#include <QMovie>
#include <QStackedWidget>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>
#include <cstdlib>

#include "app_state.h"
#include "artwork.h"
#include "blank_favourites.h"
#include "browser.h"
#include "hosts.h"
#include "http_request.h"
#include "launcher.h"
#include "list_rows.h"
#include "main_window.h"
#include "navigation.h"
#include "paths.h"
#include "picture_button.h"
#include "program.h"
#include "settings_file.h"
#include "ui.h"
#include "ui_call.h"

namespace tavlo {

bool write_blank_favourites(const std::string& path) {
  if (path.empty()) return false;
  // O_EXCL: an existing file, whatever it holds, or a link is never touched.
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const unsigned char* p = BLANK_FAVOURITES_DB;
  std::size_t left = BLANK_FAVOURITES_DB_SIZE;
  bool ok = true;
  while (left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n <= 0) {
      ok = false;
      break;
    }
    p += n;
    left -= std::size_t(n);
  }
  ::close(fd);
  if (!ok) ::unlink(path.c_str());  // a half-written database would be kept for ever
  return ok;
}

bool make_desktop_shortcut(const std::string& program_folder, const std::string& desktop_folder,
                           const std::string& executable_name) {
  if (desktop_folder.empty() || program_folder.empty()) return false;
  if (program_folder + "/" == desktop_folder) return false;
  QDir().mkpath(QString::fromStdString(desktop_folder));
  return write_launcher(desktop_folder + LAUNCHER_FILE_NAME, LAUNCHER_NAME,
                        program_folder + "/" + executable_name);
}

namespace {

void set_button(PictureButton* b, const char* stem, bool with_disabled) {
  const QString s = QString::fromUtf8(stem);
  const QSize size = b->size();
  b->set_pictures(art(s + "_normal", size), art(s + "_hot", size),
                  with_disabled ? art(s + "_disabled", size) : QPixmap());
}

void set_box(QLabel* box, const char* name) {
  box->setPixmap(art(QString::fromUtf8(name), box->size()));
}

void set_table_pictures() {
  Ui& u = ui();
  static_cast<MainWindowWidget*>(u.主窗口)->set_background(art("bg_main", QSize(MAIN_WIDTH, MAIN_HEIGHT)));
  set_button(u.最小化BN, "btn_minimize", false);
  set_button(u.关闭窗口BN, "btn_close", false);
  set_button(u.我的影片BN, "tab_mymovies", true);
  set_button(u.影片搜索BN, "tab_search", true);
  set_button(u.电视直播BN, "tab_livetv", true);
  set_button(u.正在播放BN, "tab_nowplaying", true);
  set_button(u.云在线播放器BN, "side_cloudplayer", true);
  set_button(u.登录百度账号BN, "side_login", true);
  set_button(u.百度云播放记录BN, "side_history", true);
  set_button(u.正在下载文件BN, "side_downloads", true);
  set_button(u.我的收藏BN, "side_favourites", true);
  set_box(u.云播放背景框, "bg_cloudplay");
  set_box(u.登录百度背景框, "bg_login");
  const QPixmap lists = art("bg_lists", QSize(697, 373));
  for (QLabel* b : {u.百度云播记录背景框, u.正在下载背景框, u.我的收藏背景框}) b->setPixmap(lists);
  set_box(u.影片搜索背景框, "bg_search");
  set_button(u.搜索BN, "btn_search", false);
  set_button(u.登录百度BN, "btn_login", false);
  set_button(u.注册百度BN, "btn_register", false);
  set_button(u.提交BN, "btn_submit", false);
  set_button(u.加载更多BN, "btn_loadmore", false);
}

// The pictures that belong to the layout itself.
void set_layout_pictures() {
  Ui& u = ui();
  if (QMovie* m = art_movie("anim_loading", u.载入图片框)) u.载入图片框->setMovie(m);
  if (QMovie* m = art_movie("anim_busy", u.图片框2)) u.图片框2->setMovie(m);
  const QPixmap off = art("check_remember_off", QSize(67, 16));
  const QPixmap on = art("check_remember_on", QSize(67, 16));
  u.记住账号BN->set_pictures(off, off);
  u.记住账号BN->set_checked_pictures(on, on);
  const QPixmap close = art("icon_close_tab", QSize(14, 16));
  u.关闭电视直播->set_pictures(close, close);
  u.关闭正在播放->set_pictures(close, close);
}

}  // namespace

void main_window_setup() {
  Ui& u = ui();
  AppState& s = app_state();
  init_artwork();

  // 1. Pictures; the first page of the top row is current.
  set_layout_pictures();
  set_table_pictures();
  u.我的影片BN->setEnabled(false);

  // 2. Paths.
  const std::string documents = documents_folder();
  const std::string data_folder = documents.empty() ? std::string() : documents + "/" + DATA_FOLDER_NAME;
  if (!data_folder.empty()) {
    s.settings_path = data_folder + "/" + SETTINGS_FILE_NAME;
    s.favourites_path = data_folder + "/" + FAVOURITES_FILE_NAME;
  }

  // 3. The data folder (its parent too: a fresh account may have no documents folder yet).
  if (!data_folder.empty()) {
    QDir().mkpath(QString::fromStdString(documents));
    QDir().mkdir(QString::fromStdString(data_folder));
    load_hosts(data_folder);
    cookie_store_set_file(data_folder + "/" + COOKIE_FILE_NAME);
  }

  // 4. Desktop shortcut.
  make_desktop_shortcut(program_folder(), desktop_folder(), executable_name());

  // 5. Blank favourites database.
  write_blank_favourites(s.favourites_path);

  // 6. A leftover updater.
  const std::string updater = program_folder() + "/" + UPDATER_FILE_NAME;
  struct stat st {};
  if (::lstat(updater.c_str(), &st) == 0 && !S_ISDIR(st.st_mode)) ::unlink(updater.c_str());

  // 7. The lock.
  s.ui_lock = std::make_shared<std::mutex>();

  // 8. 28-pixel rows.
  for (QTreeWidget* l : {u.超级列表框1, u.视频列表框, u.离线列表框, u.收藏列表框})
    set_list_row_height(l);

  // 9. Settings entries for the updater.
  write_updata_entries();

  // 10. Version label.
  u.版本号标签->setText(QString::fromUtf8(VERSION_TEXT));

  // 11. Announcement page.
  u.网页公告区->navigate(announcement_address());

  u.时钟1->start();
}

void main_window_teardown() {
  // A worker still holding the lock keeps it alive through its own reference; no worker is
  // waited for.
  app_state().ui_lock.reset();
  ui() = Ui{};
}

int program_start(int argc, char** argv) {
  http_global_init();
  QCoreApplication::setApplicationName(QStringLiteral("tavlo"));
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  ui_call_init();
  (void)app_state();

  MainWindowWidget* window = create_main_window();
  main_window_setup();
  window->show();
  const int code = app.exec();

  delete ui().capture_window;
  delete window;
  // Workers are not joined: they end with the process.
  std::fflush(nullptr);
  std::_Exit(code);
}

}  // namespace tavlo
