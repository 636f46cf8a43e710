#include "placeholder_box.h"

#include <QColor>
#include <QLineEdit>
#include <QPalette>

namespace tavlo {
namespace {
void set_text_colour(QLineEdit* box, const QColor& c) {
  QPalette p = box->palette();
  p.setColor(QPalette::Text, c);
  box->setPalette(p);
}
}  // namespace

void placeholder_box_pressed(QLineEdit* box) {
  box->clear();
  set_text_colour(box, QColor(0, 0, 0));
}

void placeholder_box_focus_lost(QLineEdit* box, const QString& placeholder) {
  if (!box->text().isEmpty()) return;
  set_text_colour(box, QColor(192, 192, 192));  // colour value 12632256
  box->setText(placeholder);
}

}  // namespace tavlo
