#include "artwork.h"

#include <QFile>
#include <QMovie>
#include <QPainter>

static void init_art_resources() {
#ifdef TAVLO_HAVE_ART
  Q_INIT_RESOURCE(art);
#endif
}

namespace tavlo {

void init_artwork() {
  static bool done = false;
  if (done) return;
  done = true;
  init_art_resources();
}

static QString art_path(const QString& name) { return QStringLiteral(":/art/") + name + ".gif"; }

bool art_exists(const QString& name) { return QFile::exists(art_path(name)); }

QPixmap art(const QString& name, QSize size) {
  init_artwork();
  QPixmap pm(art_path(name));
  if (!pm.isNull()) return pm;
  // A missing picture must not leave a hole in the window: a neutral panel instead.
  QPixmap stand_in(size.isValid() ? size : QSize(1, 1));
  stand_in.fill(QColor(0x2b, 0x3a, 0x4f));
  QPainter p(&stand_in);
  p.setPen(QColor(0x55, 0x6a, 0x88));
  p.drawRect(0, 0, stand_in.width() - 1, stand_in.height() - 1);
  return stand_in;
}

QMovie* art_movie(const QString& name, QObject* parent) {
  init_artwork();
  if (!art_exists(name)) return nullptr;
  auto* m = new QMovie(art_path(name), QByteArray("gif"), parent);
  m->setCacheMode(QMovie::CacheAll);
  m->start();
  return m;
}

}  // namespace tavlo
