#include "play_entry.h"

#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QStackedWidget>

#include "app_state.h"
#include "browser.h"
#include "hosts.h"
#include "notice_panel.h"
#include "percent.h"
#include "picture_button.h"
#include "qt_text.h"
#include "text.h"
#include "placeholder_box.h"
#include "ui.h"

namespace tavlo {

namespace {
constexpr int NOW_PLAYING_PAGE = 3;

}  // namespace

std::string play_api_address(const std::string& encoded_link) {
  return "http://" + hosts().playapi + "/playapi.php?method=high&u=" + encoded_link;
}

void play_link() {
  Ui& u = ui();
  AppState& s = app_state();
  u.判断状态->clear();
  u.正在播放BN->show();
  u.A高级选择夹->setCurrentIndex(NOW_PLAYING_PAGE);
  if (s.play_mode == "1") {
    clear_temporary_internet_files();
    u.载入图片框->hide();
    u.正在播放浏览器->show();
    u.正在播放浏览器->navigate(qs_gbk(s.play_address));
  } else {
    u.载入图片框->show();
    u.正在播放浏览器->hide();
    u.正在播放浏览器->navigate(qs_gbk(play_api_address(s.play_address)));
  }
}

void cloud_play_pressed() {
  Ui& u = ui();
  AppState& s = app_state();
  const QString raw = u.云播地址框->text();
  s.play_mode.assign(1, '0');  // (a literal here trips a GCC 12 -Wrestrict false positive)
  s.play_address = percent_encode(gbk_of(raw), true);
  if (raw.isEmpty() || raw == QString::fromUtf8(CLOUD_PLAY_PLACEHOLDER)) {
    show_notice();
    set_notice_text(gbk("请输入有效的视频地址！"));
    flash_notice();
    return;
  }
  play_link();
}

void cloud_address_pressed() {
  QLineEdit* box = ui().云播地址框;
  placeholder_box_pressed(box);
}

void cloud_address_focus_lost() {
  QLineEdit* box = ui().云播地址框;
  placeholder_box_focus_lost(box, QString::fromUtf8(CLOUD_PLAY_PLACEHOLDER));
}

}  // namespace tavlo
