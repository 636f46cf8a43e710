// Watches a widget's events through a closure (no class of our own needs moc for this).
#pragma once

#include <QObject>
#include <functional>

namespace tavlo {

class EventHook : public QObject {
 public:
  EventHook(QObject* target, std::function<bool(QEvent*)> fn) : QObject(target), fn_(std::move(fn)) {
    target->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject*, QEvent* e) override { return fn_(e); }

 private:
  std::function<bool(QEvent*)> fn_;
};

// The hook lives as long as `target`. Returning true from `fn` swallows the event.
inline void hook_events(QObject* target, std::function<bool(QEvent*)> fn) {
  new EventHook(target, std::move(fn));
}

}  // namespace tavlo
