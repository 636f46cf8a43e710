#include <gtest/gtest.h>

#include <QEnterEvent>
#include <QSignalSpy>
#include <QTest>

#include "picture_button.h"

namespace tavlo {
namespace {

QPixmap filled(QColor c) {
  QPixmap p(10, 10);
  p.fill(c);
  return p;
}

bool same(const QPixmap& a, const QPixmap& b) { return a.toImage() == b.toImage(); }

TEST(PictureButton, ShowsNormalHotAndDisabledPictures) {
  PictureButton b;
  const QPixmap normal = filled(Qt::red), hot = filled(Qt::green), off = filled(Qt::blue);
  b.set_pictures(normal, hot, off);
  b.resize(10, 10);
  b.show();
  EXPECT_TRUE(same(b.current_picture(), normal));
  QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
  QCoreApplication::sendEvent(&b, &enter);
  EXPECT_TRUE(same(b.current_picture(), hot));
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(&b, &leave);
  EXPECT_TRUE(same(b.current_picture(), normal));
  b.setEnabled(false);
  EXPECT_TRUE(same(b.current_picture(), off));
  // Disabled: clicks do nothing.
  QSignalSpy clicks(&b, &QAbstractButton::clicked);
  QTest::mouseClick(&b, Qt::LeftButton);
  EXPECT_EQ(clicks.count(), 0);
  b.setEnabled(true);
  QTest::mouseClick(&b, Qt::LeftButton);
  EXPECT_EQ(clicks.count(), 1);
}

TEST(PictureButton, TwoStateButtonTogglesBetweenItsPictures) {
  PictureButton b;
  const QPixmap clear = filled(Qt::white), ticked = filled(Qt::black);
  b.setCheckable(true);
  b.set_pictures(clear, clear);
  b.set_checked_pictures(ticked, ticked);
  b.resize(10, 10);
  b.show();
  EXPECT_TRUE(same(b.current_picture(), clear));
  QTest::mouseClick(&b, Qt::LeftButton);
  EXPECT_TRUE(b.isChecked());
  EXPECT_TRUE(same(b.current_picture(), ticked));
  QTest::mouseClick(&b, Qt::LeftButton);
  EXPECT_TRUE(same(b.current_picture(), clear));
}

}  // namespace
}  // namespace tavlo
