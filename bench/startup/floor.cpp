// The floor for the start-up benchmark: the least a Qt WebEngine window program does, a
// window holding one web view, with the same "shown" probe as the program.
#include <QApplication>
#include <QPainter>
#include <QWebEngineView>
#include <QWidget>
#include <cstdio>

namespace {
class Window : public QWidget {
 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter(this).fillRect(rect(), Qt::white);
    if (!probed_) {
      probed_ = true;
      std::fputs("floor: shown\n", stdout);
      std::fflush(stdout);
    }
  }

 private:
  bool probed_ = false;
};
}  // namespace

int main(int argc, char** argv) {
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  Window w;
  w.resize(700, 455);
  auto* view = new QWebEngineView(&w);
  view->setGeometry(175, 125, 526, 306);
  view->setUrl(QUrl(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("about:blank")));
  w.show();
  return app.exec();
}
