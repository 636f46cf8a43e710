// A button drawn only from pictures: normal, hot (mouse over) and disabled. A checkable
// one has a second pair for the ticked state. Clicks come through QAbstractButton.
#pragma once

#include <QAbstractButton>
#include <QPixmap>

namespace tavlo {

class PictureButton : public QAbstractButton {
 public:
  explicit PictureButton(QWidget* parent = nullptr);
  void set_pictures(const QPixmap& normal, const QPixmap& hot, const QPixmap& disabled = {});
  void set_checked_pictures(const QPixmap& normal, const QPixmap& hot);
  // The picture the button shows now (tests and screenshots check it).
  const QPixmap& current_picture() const;
  bool hot() const { return hot_; }

 protected:
  void paintEvent(QPaintEvent*) override;
  void enterEvent(QEnterEvent*) override;
  void leaveEvent(QEvent*) override;
  QSize sizeHint() const override;

 private:
  QPixmap normal_, hot_pic_, disabled_, checked_, checked_hot_;
  bool hot_ = false;
};

}  // namespace tavlo
