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
#include "gui_harness.h"
#include "ui.h"

namespace tavlo::test {

extern sandbox::Sandbox* the_sandbox;

}  // namespace tavlo::test
