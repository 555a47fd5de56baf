#include "skin/skin_button.h"

#include <QEnterEvent>
#include <QPainter>

#include "platform/bitmaps.h"

CSkinButton::CSkinButton(QWidget* parent) : QPushButton(parent) {
  // Enter must reach the page, never click a skinned button.
  setAutoDefault(false);
  setDefault(false);
  setCursor(Qt::PointingHandCursor);
  setMouseTracking(true);
}

void CSkinButton::SetBitmaps(int normal, int hover, int pressed, const QString& tip) {
  normal_ = normal;
  hover_ = hover;
  pressed_ = pressed;
  setToolTip(tip);
  const QImage picture = LoadBitmap(normal_);
  if (!picture.isNull()) {
    resize(picture.size());
  }
  hovering_ = false;
  update();
}

void CSkinButton::SetFocusBitmap(int focused) {
  focused_ = focused;
  update();
}

int CSkinButton::ShownBitmap() const {
  if (isDown()) {
    return pressed_;
  }
  if (hovering_ && isEnabled()) {
    return hover_;
  }
  if (hasFocus() && focused_ > 0) {
    return focused_;
  }
  return normal_;
}

void CSkinButton::paintEvent(QPaintEvent*) {
  // Loaded for this paint only, so no picture stays in memory between paints.
  QImage picture = LoadBitmapForScreen(ShownBitmap(), devicePixelRatioF());
  if (picture.isNull()) {
    picture = LoadBitmapForScreen(normal_, devicePixelRatioF());
  }
  if (picture.isNull()) {
    return;
  }
  QPainter painter(this);
  painter.drawImage(0, 0, picture);
}

void CSkinButton::enterEvent(QEnterEvent* event) {
  SetHover(true);
  QPushButton::enterEvent(event);
}

void CSkinButton::mouseMoveEvent(QMouseEvent* event) {
  SetHover(true);
  QPushButton::mouseMoveEvent(event);
}

void CSkinButton::leaveEvent(QEvent* event) {
  SetHover(false);
  QPushButton::leaveEvent(event);
}

void CSkinButton::changeEvent(QEvent* event) {
  // A disabled button receives no mouse input, so it cannot still be hovered when it returns.
  if (event->type() == QEvent::EnabledChange && !isEnabled()) {
    SetHover(false);
  }
  QPushButton::changeEvent(event);
}

void CSkinButton::SetHover(bool hover) {
  if (hovering_ != hover) {
    hovering_ = hover;
    update();
  }
}
