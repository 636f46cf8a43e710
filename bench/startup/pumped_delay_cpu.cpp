// CPU time the UI thread spends inside pumped_delay(1500) while a 100 ms timer ticks:
// the wait must sleep between events, not spin.
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "notice_panel.h"
#include "ui_call.h"

namespace {
double cpu_ms() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return (double(u.ru_utime.tv_sec) + double(u.ru_stime.tv_sec)) * 1000.0 +
         (double(u.ru_utime.tv_usec) + double(u.ru_stime.tv_usec)) / 1000.0;
}
}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  tavlo::ui_call_init();
  int ticks = 0;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, &ticker, [&] { ++ticks; });
  ticker.start(100);
  for (int run = 1; run <= 5; ++run) {
    ticks = 0;
    QElapsedTimer wall;
    wall.start();
    const double c0 = cpu_ms();
    tavlo::pumped_delay(1500);
    const double cpu = cpu_ms() - c0;
    std::printf("run %d: wall %lld ms, CPU %.2f ms (%.3f%% of the wait), %d timer ticks handled\n",
                run, static_cast<long long>(wall.elapsed()), cpu, 100.0 * cpu / double(wall.elapsed()),
                ticks);
  }
  return 0;
}
