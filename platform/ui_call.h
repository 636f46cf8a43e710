// The one way for a worker to change the user interface: it posts a closure to the UI
// thread. Closures run in the order they were posted.
#pragma once

#include <functional>

namespace tavlo {

// Once, on the UI thread, after the QApplication exists.
void ui_call_init();
// Queues `fn` for the UI thread (also when called there: order is kept). Dropped once the
// application is gone.
void ui_call(std::function<void()> fn);
bool on_ui_thread();

}  // namespace tavlo
