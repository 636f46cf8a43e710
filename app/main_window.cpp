#include "main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStackedWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QWindow>
#include <cstdio>
#include <cstdlib>

#include "browser.h"
#include "event_hook.h"
#include "handlers_later.h"
#include "list_rows.h"
#include "navigation.h"
#include "picture_button.h"
#include "play_entry.h"
#include "program.h"
#include "ui.h"

namespace tavlo {

namespace {

QString u8(const char* s) { return QString::fromUtf8(s); }

template <class W>
W* place(W* w, const char* name, int x, int y, int width, int height) {
  w->setObjectName(u8(name));
  w->setGeometry(x, y, width, height);
  return w;
}

QLabel* picture_box(QWidget* parent, const char* name, int x, int y, int w, int h) {
  auto* box = place(new QLabel(parent), name, x, y, w, h);
  // Pictures show at their own size from the top left, never stretched.
  box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return box;
}

QLabel* transparent_label(QWidget* parent, const char* name, int x, int y, int w, int h,
                          const char* text = "") {
  auto* l = place(new QLabel(u8(text), parent), name, x, y, w, h);
  l->setAttribute(Qt::WA_TranslucentBackground);
  return l;
}

PictureButton* picture_button(QWidget* parent, const char* name, int x, int y, int w, int h) {
  return place(new PictureButton(parent), name, x, y, w, h);
}

QLineEdit* edit_box(QWidget* parent, const char* name, int x, int y, int w, int h,
                    const char* text = "") {
  auto* e = place(new QLineEdit(u8(text), parent), name, x, y, w, h);
  e->setFrame(false);
  return e;
}

Browser* browser(QWidget* parent, const char* name, int x, int y, int w, int h) {
  return place(new Browser(parent), name, x, y, w, h);
}

QTreeWidget* report_list(QWidget* parent, const char* name, int x, int y, int w, int h,
                         const std::vector<ListColumn>& columns) {
  auto* l = place(new QTreeWidget(parent), name, x, y, w, h);
  l->setRootIsDecorated(false);
  l->setItemsExpandable(false);
  l->setSelectionMode(QAbstractItemView::SingleSelection);
  l->setSelectionBehavior(QAbstractItemView::SelectRows);
  l->setAllColumnsShowFocus(true);
  l->setEditTriggers(QAbstractItemView::NoEditTriggers);
  l->setContextMenuPolicy(Qt::CustomContextMenu);
  l->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  l->setStyleSheet(QStringLiteral(
      "QTreeWidget { background:#ffffff; border:1px solid #cad8e5; color:#213a50; }"
      "QTreeWidget::item:selected { background:#d9f2f8; color:#0e6f8e; }"
      "QHeaderView::section { background:#e9f0f6; color:#213a50; border:none;"
      " border-right:1px solid #cad8e5; border-bottom:1px solid #cad8e5; padding:4px; }"));
  setup_list_columns(l, columns);
  return l;
}

QMenu* popup_menu(QWidget* parent, const char* name,
                  const std::vector<std::pair<const char*, void (*)()>>& items) {
  auto* m = new QMenu(parent);
  m->setObjectName(u8(name));
  m->setTitle(u8(name));
  for (const auto& [text, fn] : items) {
    if (std::string_view(text) == "-") {
      m->addSeparator();
      continue;
    }
    QAction* a = m->addAction(u8(text));
    a->setObjectName(u8(text));
    QObject::connect(a, &QAction::triggered, m, [fn = fn] { fn(); });
  }
  return m;
}

void on_click(PictureButton* b, void (*fn)()) {
  QObject::connect(b, &QAbstractButton::clicked, b, [fn] { fn(); });
}

void on_left_press(QWidget* w, void (*fn)()) {
  hook_events(w, [fn](QEvent* e) {
    if (!ui().主窗口) return false;  // the window is being taken down
    if (e->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton)
      fn();
    return false;
  });
}

void on_focus_lost(QWidget* w, void (*fn)()) {
  hook_events(w, [fn](QEvent* e) {
    // Taking the window down moves the focus too; the controls are gone by then.
    if (ui().主窗口 && e->type() == QEvent::FocusOut) fn();
    return false;
  });
}

void on_enter_key(QLineEdit* e, void (*fn)()) {
  QObject::connect(e, &QLineEdit::returnPressed, e, [fn] { fn(); });
}

void start_log_in() { start_worker(log_in); }
void exit_menu_item() { exit_program(0); }
void minimise() {
  if (ui().主窗口) ui().主窗口->showMinimized();
}
void close_clicked() { exit_program(0); }

const std::vector<ListColumn> RESULT_COLUMNS = {{"ID", 0, Qt::AlignLeft},
                                                {"文件名称", 435, Qt::AlignLeft},
                                                {"文件尺寸", 82, Qt::AlignHCenter},
                                                {"Hash值", 0, Qt::AlignLeft}};
const std::vector<ListColumn> VIDEO_COLUMNS = {{"ID", 0, Qt::AlignLeft},
                                               {"影片名称", 423, Qt::AlignLeft},
                                               {"影片大小", 80, Qt::AlignHCenter},
                                               {"path", 0, Qt::AlignLeft},
                                               {"MD5", 0, Qt::AlignLeft}};
const std::vector<ListColumn> TASK_COLUMNS = {{"ID", 0, Qt::AlignLeft},
                                              {"影片名称", 423, Qt::AlignLeft},
                                              {"是否完成", 80, Qt::AlignHCenter},
                                              {"task_id", 0, Qt::AlignLeft}};

}  // namespace

MainWindowWidget::MainWindowWidget() : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("主窗口"));
  setWindowTitle(u8("Tavlo云播放影音盒"));
  setFixedSize(MAIN_WIDTH, MAIN_HEIGHT);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

MainWindowWidget::~MainWindowWidget() {
  // Taking the pages down would report page changes to handlers whose controls are gone.
  if (ui().A高级选择夹) ui().A高级选择夹->blockSignals(true);
  if (ui().B我的影片选择夹) ui().B我的影片选择夹->blockSignals(true);
  main_window_teardown();
}

void MainWindowWidget::set_background(const QPixmap& pm) {
  background_ = pm;
  update();
}

void MainWindowWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (background_.isNull()) p.fillRect(rect(), QColor(0x1d, 0x26, 0x33));
  else p.drawPixmap(0, 0, background_);
  if (!probed_) {
    probed_ = true;
    // The start-up benchmark waits for this line: the window has been drawn once.
    if (std::getenv("TAVLO_STARTUP_PROBE")) {
      std::fputs("tavlo: shown\n", stdout);
      std::fflush(stdout);
    }
  }
}

// Dragging the background moves the frameless window.
void MainWindowWidget::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return QWidget::mousePressEvent(e);
  if (windowHandle() && windowHandle()->startSystemMove()) return;
  dragging_ = true;
  drag_offset_ = e->globalPosition().toPoint() - frameGeometry().topLeft();
}

void MainWindowWidget::mouseMoveEvent(QMouseEvent* e) {
  if (dragging_ && (e->buttons() & Qt::LeftButton))
    move(e->globalPosition().toPoint() - drag_offset_);
  else
    QWidget::mouseMoveEvent(e);
}

void MainWindowWidget::mouseReleaseEvent(QMouseEvent* e) {
  dragging_ = false;
  QWidget::mouseReleaseEvent(e);
}

void MainWindowWidget::closeEvent(QCloseEvent* e) {
  // Closing by the window manager ends the program like the close button.
  e->ignore();
  exit_program(0);
}

MainWindowWidget* create_main_window() {
  Ui& u = ui();
  auto* w = new MainWindowWidget();
  u.主窗口 = w;

  // Top row.
  u.我的影片BN = picture_button(w, "我的影片BN", 16, 15, 160, 40);
  u.影片搜索BN = picture_button(w, "影片搜索BN", 177, 15, 120, 40);
  u.电视直播BN = picture_button(w, "电视直播BN", 298, 15, 120, 40);
  u.正在播放BN = picture_button(w, "正在播放BN", 419, 15, 120, 40);
  u.正在播放BN->hide();
  u.关闭电视直播 = picture_button(w, "关闭电视直播", 399, 17, 14, 16);
  u.关闭电视直播->hide();
  u.关闭电视直播->setCursor(Qt::PointingHandCursor);
  u.关闭正在播放 = picture_button(w, "关闭正在播放", 520, 17, 14, 16);
  u.关闭正在播放->hide();
  u.关闭正在播放->setCursor(Qt::PointingHandCursor);
  u.最小化BN = picture_button(w, "最小化BN", 601, 0, 32, 23);
  u.关闭窗口BN = picture_button(w, "关闭窗口BN", 665, 0, 32, 23);
  u.版本号标签 = transparent_label(w, "版本号标签", 641, 30, 100, 24);
  u.版本号标签->setStyleSheet(QStringLiteral("color: #cfe6f5;"));

  // The main page container.
  u.A高级选择夹 = place(new QStackedWidget(w), "A高级选择夹", 1, 55, 698, 374);

  // Page 0: my films.
  auto* page0 = new QWidget();
  page0->setObjectName(u8("我的影片"));
  u.A高级选择夹->addWidget(page0);
  u.B我的影片选择夹 = place(new QStackedWidget(page0), "B我的影片选择夹", 0, 0, 698, 374);

  u.云播放背景框 = picture_box(nullptr, "云播放背景框", 0, 0, 698, 374);
  u.B我的影片选择夹->addWidget(u.云播放背景框);
  u.云播地址框 = edit_box(u.云播放背景框, "云播地址框", 196, 18, 400, 34, CLOUD_PLAY_PLACEHOLDER);
  {
    QPalette grey = u.云播地址框->palette();
    grey.setColor(QPalette::Text, QColor(192, 192, 192));
    u.云播地址框->setPalette(grey);
  }
  u.云播BN = transparent_label(u.云播放背景框, "云播BN", 599, 18, 83, 34);
  u.云播BN->setCursor(Qt::PointingHandCursor);
  u.背景框 = picture_box(u.云播放背景框, "背景框", 175, 70, 523, 304);
  u.网页公告区 = browser(u.背景框, "网页公告区", -1, -1, 526, 306);

  u.登录百度背景框 = picture_box(nullptr, "登录百度背景框", 0, 0, 698, 374);
  u.B我的影片选择夹->addWidget(u.登录百度背景框);
  u.用户名 = edit_box(u.登录百度背景框, "用户名", 249, 74, 200, 40);
  u.密码 = edit_box(u.登录百度背景框, "密码", 249, 121, 200, 40);
  u.密码->setEchoMode(QLineEdit::Password);
  u.密码->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
  u.验证码 = edit_box(u.登录百度背景框, "验证码", 249, 168, 95, 40);
  u.画板2 = picture_box(u.登录百度背景框, "画板2", 350, 167, 100, 42);
  u.百度按钮背景框 = picture_box(u.登录百度背景框, "百度按钮背景框", 210, 167, 245, 90);
  u.记住账号BN = picture_button(u.百度按钮背景框, "记住账号BN", 0, 10, 67, 16);
  u.记住账号BN->setCheckable(true);
  u.登录百度BN = picture_button(u.百度按钮背景框, "登录百度BN", 0, 42, 98, 40);
  u.注册百度BN = picture_button(u.百度按钮背景框, "注册百度BN", 150, 42, 98, 40);
  u.提示标签 = transparent_label(
      u.登录百度背景框, "提示标签", 186, 337, 500, 35,
      "软件需要百度云的支持，请先使用百度账号登录！如果没有，请先注册一个账号。");
  u.提示标签->setStyleSheet(QStringLiteral("color:#213a50;"));
  u.提示标签->setWordWrap(true);

  u.百度云播记录背景框 = picture_box(nullptr, "百度云播记录背景框", 0, 0, 698, 374);
  u.B我的影片选择夹->addWidget(u.百度云播记录背景框);
  u.视频列表背景框 = picture_box(u.百度云播记录背景框, "视频列表背景框", 175, 31, 522, 374);
  u.视频列表框 =
      report_list(u.视频列表背景框, "视频列表框", -1, -2, 523, 345, VIDEO_COLUMNS);

  u.正在下载背景框 = picture_box(nullptr, "正在下载背景框", 0, 0, 698, 374);
  u.B我的影片选择夹->addWidget(u.正在下载背景框);
  u.离线列表背景框 = picture_box(u.正在下载背景框, "离线列表背景框", 175, 31, 522, 374);
  u.离线列表框 = report_list(u.离线列表背景框, "离线列表框", -1, -2, 522, 345, TASK_COLUMNS);

  u.我的收藏背景框 = picture_box(nullptr, "我的收藏背景框", 0, 0, 698, 374);
  u.B我的影片选择夹->addWidget(u.我的收藏背景框);
  u.收藏背景框 = picture_box(u.我的收藏背景框, "收藏背景框", 175, 31, 522, 374);
  u.收藏列表框 = report_list(u.收藏背景框, "收藏列表框", -1, -2, 523, 345, VIDEO_COLUMNS);

  // The side buttons lie over the left strip of the inner pages.
  u.云在线播放器BN = picture_button(page0, "云在线播放器BN", 0, 0, 174, 39);
  u.登录百度账号BN = picture_button(page0, "登录百度账号BN", 0, 40, 174, 39);
  u.百度云播放记录BN = picture_button(page0, "百度云播放记录BN", 0, 80, 174, 39);
  u.正在下载文件BN = picture_button(page0, "正在下载文件BN", 0, 120, 174, 39);
  u.我的收藏BN = picture_button(page0, "我的收藏BN", 0, 160, 174, 39);

  // Page 1: search.
  u.影片搜索背景框 = picture_box(nullptr, "影片搜索背景框", 0, 0, 698, 374);
  u.A高级选择夹->addWidget(u.影片搜索背景框);
  u.搜索内容框 = edit_box(u.影片搜索背景框, "搜索内容框", 28, 19, 400, 32, "请输入搜索内容");
  u.搜索BN = picture_button(u.影片搜索背景框, "搜索BN", 434, 18, 82, 34);
  u.图片框1 = picture_box(u.影片搜索背景框, "图片框1", 0, 101, 535, 237);
  u.超级列表框1 = report_list(u.图片框1, "超级列表框1", -1, -3, 537, 241, RESULT_COLUMNS);
  u.搜索状态提示 = transparent_label(u.影片搜索背景框, "搜索状态提示", 10, 343, 357, 28);
  u.搜索状态提示->setStyleSheet(QStringLiteral("color:#213a50;"));
  u.页数 = edit_box(u.影片搜索背景框, "页数", 431, 345, 16, 20, "1");
  u.页数->hide();
  u.加载更多BN = picture_button(u.影片搜索背景框, "加载更多BN", 452, 342, 80, 28);
  u.加载更多BN->hide();
  u.右侧广告背景框 = picture_box(u.影片搜索背景框, "右侧广告背景框", 536, 0, 162, 374);
  u.右侧广告浏览器 = browser(u.右侧广告背景框, "右侧广告浏览器", -1, -1, 164, 376);

  // Page 2: live TV.
  u.电视直播背景框 = picture_box(nullptr, "电视直播背景框", 0, 0, 698, 374);
  u.A高级选择夹->addWidget(u.电视直播背景框);
  u.电视直播浏览 = browser(u.电视直播背景框, "电视直播浏览", -1, -1, 717, 376);

  // Page 3: now playing.
  u.正在播放背景框 = picture_box(nullptr, "正在播放背景框", 0, 0, 698, 374);
  u.A高级选择夹->addWidget(u.正在播放背景框);
  u.载入图片框 = place(new QLabel(u8("!"), u.正在播放背景框), "载入图片框", 0, 0, 700, 376);
  u.载入图片框->setAlignment(Qt::AlignCenter);
  u.载入图片框->setStyleSheet(QStringLiteral("background:#0d2740; color:#cfe6f5;"));
  u.正在播放浏览器 = browser(u.正在播放背景框, "正在播放浏览器", -1, -1, 700, 376);
  u.正在播放浏览器->hide();

  // Notice panel, outside the window until shown.
  u.提示框 = picture_box(w, "提示框", 704, 55, 280, 40);
  u.提示框->hide();
  u.提示框背景B = place(new QLabel(u.提示框), "提示框背景B", 0, 0, 280, 79);
  u.提示框背景B->setStyleSheet(QStringLiteral("background:#1a6f98;"));
  u.提示框背景A = place(new QLabel(u.提示框), "提示框背景A", 1, 1, 278, 38);
  u.提示框背景A->setStyleSheet(QStringLiteral("background:#f4f9fc;"));
  u.提示框背景A1 = place(new QLabel(u.提示框), "提示框背景A1", 1, 40, 278, 38);
  u.提示框背景A1->setStyleSheet(QStringLiteral("background:#f4f9fc;"));
  u.图片框2 = place(new QLabel(u8("!"), u.提示框), "图片框2", 5, 5, 30, 30);
  u.图片框2->setAlignment(Qt::AlignCenter);
  u.提示框提示标签 = transparent_label(u.提示框, "提示框提示标签", 40, 9, 232, 24,
                                       "程序正在分析数据，请耐心等待......");
  u.提示框提示标签->setStyleSheet(QStringLiteral("color:#213a50;"));
  u.画板1 = picture_box(u.提示框, "画板1", 5, 43, 100, 32);
  u.提交验证码 = edit_box(u.提示框, "提交验证码", 109, 44, 80, 30);
  u.提交BN = picture_button(u.提示框, "提交BN", 193, 44, 82, 30);

  // Status accumulator of the now-playing page: beyond the right edge, never seen.
  u.判断状态 = edit_box(w, "判断状态", 705, 400, 280, 24);
  u.判断状态->setFocusPolicy(Qt::NoFocus);  // never reached by Tab either
  u.判断状态->setReadOnly(true);

  // The update timer.
  u.时钟1 = new QTimer(w);
  u.时钟1->setObjectName(QStringLiteral("时钟1"));
  u.时钟1->setInterval(10000);

  // Menus.
  u.右键菜单 = popup_menu(w, "右键菜单",
                          {{"加入百度云", add_result_to_cloud},
                           {"破解迅雷", play_result},
                           {"-", nullptr},
                           {"加入收藏", add_result_to_favourites},
                           {"复制地址", copy_result_address},
                           {"-", nullptr},
                           {"退出软件", exit_menu_item}});
  u.视频列表菜单 = popup_menu(w, "视频列表菜单",
                              {{"双击播放", play_cloud_video},
                               {"刷新列表", [] { start_worker(load_video_list); }},
                               {"-", nullptr},
                               {"删除文件", delete_cloud_file},
                               {"清空所有", clear_cloud_folder}});
  u.离线列表菜单 = popup_menu(w, "离线列表菜单",
                              {{"刷新列表", [] { start_worker(load_task_list); }},
                               {"-", nullptr},
                               {"删除此文件", remove_task},
                               {"删除已完成", remove_finished_tasks},
                               {"删除未完成", remove_unfinished_tasks}});
  u.收藏右键 = popup_menu(w, "收藏右键",
                          {{"加入百度云", add_favourite_to_cloud},
                           {"破解迅雷", play_favourite},
                           {"-", nullptr},
                           {"删除文件", delete_favourite},
                           {"复制地址", copy_favourite_address}});

  // The pages' bare edge (the pictures are a pixel smaller than some boxes) takes the body
  // colour; the button box hides the code row until a code is asked for.
  for (QLabel* page : {u.云播放背景框, u.登录百度背景框, u.百度云播记录背景框, u.正在下载背景框,
                       u.我的收藏背景框, u.影片搜索背景框})
    page->setStyleSheet(QStringLiteral("QLabel#%1 { background:#f3f7fa; }").arg(page->objectName()));
  u.百度按钮背景框->setStyleSheet(QStringLiteral("QLabel#%1 { background:#ffffff; }").arg(u.百度按钮背景框->objectName()));
  for (QLineEdit* e : {u.验证码, u.提交验证码}) {
    e->setFrame(true);
    e->setStyleSheet(QStringLiteral("QLineEdit { border:1px solid #cad8e5; background:#ffffff; color:#213a50; }"));
  }

  // Events.
  QObject::connect(u.A高级选择夹, &QStackedWidget::currentChanged, w, main_page_changed);
  QObject::connect(u.B我的影片选择夹, &QStackedWidget::currentChanged, w, my_page_changed);
  on_click(u.我的影片BN, [] { ui().A高级选择夹->setCurrentIndex(0); });
  on_click(u.影片搜索BN, [] { ui().A高级选择夹->setCurrentIndex(1); });
  on_click(u.电视直播BN, live_tv_clicked);
  on_click(u.正在播放BN, [] { ui().A高级选择夹->setCurrentIndex(3); });
  on_click(u.关闭电视直播, close_live_tv);
  on_click(u.关闭正在播放, close_now_playing);
  on_click(u.最小化BN, minimise);
  on_click(u.关闭窗口BN, close_clicked);
  on_click(u.云在线播放器BN, [] { ui().B我的影片选择夹->setCurrentIndex(0); });
  on_click(u.登录百度账号BN, [] { ui().B我的影片选择夹->setCurrentIndex(1); });
  on_click(u.百度云播放记录BN, [] { ui().B我的影片选择夹->setCurrentIndex(2); });
  on_click(u.正在下载文件BN, [] { ui().B我的影片选择夹->setCurrentIndex(3); });
  on_click(u.我的收藏BN, [] { ui().B我的影片选择夹->setCurrentIndex(4); });

  on_left_press(u.云播地址框, cloud_address_pressed);
  on_focus_lost(u.云播地址框, cloud_address_focus_lost);
  on_left_press(u.云播BN, cloud_play_pressed);
  on_click(u.登录百度BN, start_log_in);
  on_click(u.注册百度BN, open_registration_page);
  on_left_press(u.画板2, fetch_login_captcha);
  on_click(u.提交BN, submit_code_pressed);
  on_enter_key(u.提交验证码, submit_code_pressed);

  on_left_press(u.搜索内容框, search_box_pressed);
  on_focus_lost(u.搜索内容框, search_box_focus_lost);
  on_enter_key(u.搜索内容框, start_search);
  on_click(u.搜索BN, start_search);
  on_click(u.加载更多BN, load_more_results);

  QObject::connect(u.超级列表框1, &QWidget::customContextMenuRequested, w,
                   [](const QPoint&) { show_result_menu(); });
  QObject::connect(u.视频列表框, &QWidget::customContextMenuRequested, w,
                   [](const QPoint&) { show_video_list_menu(); });
  QObject::connect(u.离线列表框, &QWidget::customContextMenuRequested, w,
                   [](const QPoint&) { show_task_list_menu(); });
  QObject::connect(u.收藏列表框, &QWidget::customContextMenuRequested, w,
                   [](const QPoint&) { show_favourite_menu(); });
  QObject::connect(u.超级列表框1, &QTreeWidget::itemDoubleClicked, w,
                   [] { add_result_to_cloud(); });
  QObject::connect(u.视频列表框, &QTreeWidget::itemDoubleClicked, w, [] { play_cloud_video(); });

  QObject::connect(u.时钟1, &QTimer::timeout, w, update_timer_tick);

  // Browser events.
  for (Browser* b : {u.网页公告区, u.电视直播浏览, u.右侧广告浏览器}) b->refuse_context_menu();
  u.正在播放浏览器->on_status_text = now_playing_status_changed;
  u.正在播放浏览器->on_new_window = now_playing_new_window;

  return w;
}

}  // namespace tavlo
