// The main window: a frameless 700 x 455 window made of pictures, with every control of
// the design at its place, named by its design name.
#pragma once

#include <QPixmap>
#include <QPoint>
#include <QWidget>

namespace tavlo {

inline constexpr int MAIN_WIDTH = 700;
inline constexpr int MAIN_HEIGHT = 455;

class MainWindowWidget : public QWidget {
 public:
  MainWindowWidget();
  ~MainWindowWidget() override;
  void set_background(const QPixmap& pm);

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;
  void closeEvent(QCloseEvent*) override;

 private:
  QPixmap background_;
  QPoint drag_offset_;
  bool dragging_ = false;
  bool probed_ = false;
};

// Builds the window and every control into ui(), wires the events; not yet shown and the
// creation handler (main_window_setup) not yet run.
MainWindowWidget* create_main_window();
// The creation handler and the destruction handler.
void main_window_setup();
void main_window_teardown();

}  // namespace tavlo
