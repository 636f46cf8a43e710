#include "notice_panel.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <chrono>
#include <thread>

#include "qt_text.h"
#include "ui.h"
#include "ui_call.h"

namespace tavlo {

namespace {
constexpr int NOTICE_OFFSET = 180;

template <class F>
void on_ui(F&& fn) {
  if (on_ui_thread()) fn();
  else ui_call(std::forward<F>(fn));
}
}  // namespace

void show_notice() {
  on_ui([] {
    QLabel* panel = ui().提示框;
    QLineEdit* box = ui().搜索内容框;
    if (!panel || !box) return;
    panel->move(box->x() + NOTICE_OFFSET, box->y() + NOTICE_OFFSET);
    panel->raise();
    panel->show();
  });
}

void set_notice_text(const std::string& gbk_text) {
  QString text = qs_gbk(gbk_text);
  on_ui([text] {
    if (ui().提示框提示标签) ui().提示框提示标签->setText(text);
  });
}

void set_notice_height(int height) {
  on_ui([height] {
    if (ui().提示框) ui().提示框->resize(ui().提示框->width(), height);
  });
}

void flash_notice() {
  set_notice_height(NOTICE_ONE_ROW);
  pumped_delay(NOTICE_FLASH_MS);
  on_ui([] {
    if (ui().提示框) ui().提示框->hide();
  });
}

void pumped_delay(int ms) {
  if (ms < 0) ms = 0;
  if (!on_ui_thread()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    return;
  }
  QDeadlineTimer deadline(ms, Qt::PreciseTimer);
  while (!deadline.hasExpired()) {
    QEventLoop loop;
    QTimer::singleShot(std::max<qint64>(1, deadline.remainingTime()), Qt::PreciseTimer, &loop,
                       &QEventLoop::quit);
    if (loop.exec() != 0) {
      // The application is quitting and refuses new loops: sleep out the rest, never spin.
      const qint64 left = deadline.remainingTime();
      if (left > 0) std::this_thread::sleep_for(std::chrono::milliseconds(left));
      return;
    }
  }
}

}  // namespace tavlo
