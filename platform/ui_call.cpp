#include "ui_call.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QThread>
#include <atomic>

namespace tavlo {
namespace {
// Lives on the UI thread and dies with the application, so late posts are dropped.
std::atomic<QObject*> context{nullptr};
QPointer<QObject> guard;
}  // namespace

void ui_call_init() {
  if (guard) return;
  QObject* c = new QObject(QCoreApplication::instance());
  guard = c;
  QObject::connect(c, &QObject::destroyed, c, [] { context = nullptr; });
  context = c;
}

void ui_call(std::function<void()> fn) {
  QObject* c = context.load();
  if (!c || !fn) return;
  QMetaObject::invokeMethod(c, std::move(fn), Qt::QueuedConnection);
}

bool on_ui_thread() {
  QCoreApplication* app = QCoreApplication::instance();
  return app && QThread::currentThread() == app->thread();
}

}  // namespace tavlo
