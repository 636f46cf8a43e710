#include "picture_button.h"

#include <QPainter>

namespace tavlo {

PictureButton::PictureButton(QWidget* parent) : QAbstractButton(parent) {
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_Hover);
}

void PictureButton::set_pictures(const QPixmap& normal, const QPixmap& hot,
                                 const QPixmap& disabled) {
  normal_ = normal;
  hot_pic_ = hot;
  disabled_ = disabled;
  update();
}

void PictureButton::set_checked_pictures(const QPixmap& normal, const QPixmap& hot) {
  checked_ = normal;
  checked_hot_ = hot;
  update();
}

const QPixmap& PictureButton::current_picture() const {
  if (!isEnabled() && !disabled_.isNull()) return disabled_;
  if (isCheckable() && isChecked() && !checked_.isNull())
    return hot_ && !checked_hot_.isNull() ? checked_hot_ : checked_;
  if (hot_ && isEnabled() && !hot_pic_.isNull()) return hot_pic_;
  return normal_;
}

void PictureButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QPixmap& pm = current_picture();
  if (!pm.isNull()) p.drawPixmap(0, 0, pm);  // at its own size: pictures are made to fit
}

void PictureButton::enterEvent(QEnterEvent* e) {
  hot_ = true;
  update();
  QAbstractButton::enterEvent(e);
}

void PictureButton::leaveEvent(QEvent* e) {
  hot_ = false;
  update();
  QAbstractButton::leaveEvent(e);
}

QSize PictureButton::sizeHint() const { return normal_.isNull() ? QSize(16, 16) : normal_.size(); }

}  // namespace tavlo
