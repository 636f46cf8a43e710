// The controls of the main window and of the capture window, by their design names. Each
// widget's objectName is the same name. Only the UI thread touches them.
#pragma once

class QWidget;
class QLabel;
class QLineEdit;
class QStackedWidget;
class QTimer;
class QTreeWidget;
class QMenu;

namespace tavlo {

class PictureButton;
class Browser;

struct Ui {
  QWidget* 主窗口 = nullptr;

  // Top row and window buttons.
  PictureButton* 我的影片BN = nullptr;
  PictureButton* 影片搜索BN = nullptr;
  PictureButton* 电视直播BN = nullptr;
  PictureButton* 正在播放BN = nullptr;
  PictureButton* 关闭电视直播 = nullptr;
  PictureButton* 关闭正在播放 = nullptr;
  PictureButton* 最小化BN = nullptr;
  PictureButton* 关闭窗口BN = nullptr;
  QLabel* 版本号标签 = nullptr;
  QStackedWidget* A高级选择夹 = nullptr;
  QLineEdit* 判断状态 = nullptr;
  QTimer* 时钟1 = nullptr;

  // Notice panel.
  QLabel* 提示框 = nullptr;
  QLabel* 提示框背景B = nullptr;
  QLabel* 提示框背景A = nullptr;
  QLabel* 提示框背景A1 = nullptr;
  QLabel* 图片框2 = nullptr;
  QLabel* 提示框提示标签 = nullptr;
  QLabel* 画板1 = nullptr;
  QLineEdit* 提交验证码 = nullptr;
  PictureButton* 提交BN = nullptr;

  // Page 0: side buttons and the inner pages.
  PictureButton* 云在线播放器BN = nullptr;
  PictureButton* 登录百度账号BN = nullptr;
  PictureButton* 百度云播放记录BN = nullptr;
  PictureButton* 正在下载文件BN = nullptr;
  PictureButton* 我的收藏BN = nullptr;
  QStackedWidget* B我的影片选择夹 = nullptr;

  QLabel* 云播放背景框 = nullptr;
  QLineEdit* 云播地址框 = nullptr;
  QLabel* 云播BN = nullptr;
  QLabel* 背景框 = nullptr;
  Browser* 网页公告区 = nullptr;

  QLabel* 登录百度背景框 = nullptr;
  QLineEdit* 用户名 = nullptr;
  QLineEdit* 密码 = nullptr;
  QLineEdit* 验证码 = nullptr;
  QLabel* 画板2 = nullptr;
  QLabel* 百度按钮背景框 = nullptr;
  PictureButton* 记住账号BN = nullptr;
  PictureButton* 登录百度BN = nullptr;
  PictureButton* 注册百度BN = nullptr;
  QLabel* 提示标签 = nullptr;

  QLabel* 百度云播记录背景框 = nullptr;
  QLabel* 视频列表背景框 = nullptr;
  QTreeWidget* 视频列表框 = nullptr;
  QLabel* 正在下载背景框 = nullptr;
  QLabel* 离线列表背景框 = nullptr;
  QTreeWidget* 离线列表框 = nullptr;
  QLabel* 我的收藏背景框 = nullptr;
  QLabel* 收藏背景框 = nullptr;
  QTreeWidget* 收藏列表框 = nullptr;

  // Page 1: search.
  QLabel* 影片搜索背景框 = nullptr;
  QLineEdit* 搜索内容框 = nullptr;
  PictureButton* 搜索BN = nullptr;
  QLabel* 图片框1 = nullptr;
  QTreeWidget* 超级列表框1 = nullptr;
  QLabel* 搜索状态提示 = nullptr;
  QLineEdit* 页数 = nullptr;
  PictureButton* 加载更多BN = nullptr;
  QLabel* 右侧广告背景框 = nullptr;
  Browser* 右侧广告浏览器 = nullptr;

  // Page 2: live TV.
  QLabel* 电视直播背景框 = nullptr;
  Browser* 电视直播浏览 = nullptr;

  // Page 3: now playing.
  QLabel* 正在播放背景框 = nullptr;
  QLabel* 载入图片框 = nullptr;
  Browser* 正在播放浏览器 = nullptr;

  // Pop-up menus of the lists.
  QMenu* 右键菜单 = nullptr;
  QMenu* 视频列表菜单 = nullptr;
  QMenu* 离线列表菜单 = nullptr;
  QMenu* 收藏右键 = nullptr;

  // The hidden capture window: present only while it holds captured pop-ups.
  QWidget* capture_window = nullptr;
};

Ui& ui();

}  // namespace tavlo
