#include <QApplication>
#include <QWidget>
#include <thread>

#include "app_state.h"
#include "program.h"
#include "ui.h"
#include "ui_call.h"

namespace tavlo {

void exit_program(int code) {
  if (!on_ui_thread()) {
    ui_call([code] { exit_program(code); });
    return;
  }
  // The window is destroyed once the message loop has returned, so that no handler still
  // on the stack (a pumped wait, say) is left holding destroyed controls.
  if (ui().主窗口) ui().主窗口->hide();
  if (ui().capture_window) ui().capture_window->hide();
  QCoreApplication::exit(code);
}

void start_worker(std::function<void()> job) {
  std::thread t(std::move(job));
  app_state().worker_thread = t.get_id();
  t.detach();
}

}  // namespace tavlo
