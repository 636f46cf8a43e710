#pragma once

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTest>
#include <QTreeWidget>
#include <functional>

#include "sandbox.h"
#include "ui.h"

namespace tavlo::test {

extern sandbox::Sandbox* the_sandbox;

// Dispatches events until `done` holds or `ms` pass.
inline bool wait_until(const std::function<bool()>& done, int ms = 30000) {
  QElapsedTimer t;
  t.start();
  while (!done()) {
    if (t.elapsed() > ms) return false;
    QTest::qWait(10);
  }
  return true;
}

template <class W>
W* control(const char* name) {
  return ui().主窗口->findChild<W*>(QString::fromUtf8(name));
}

}  // namespace tavlo::test
