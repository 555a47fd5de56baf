#include "skin/hyperlink_button.h"

#include <QApplication>
#include <QEnterEvent>
#include <QPainter>
#include <QPointer>

#include "platform/bitmaps.h"
#include "platform/open_link.h"
#include "skin/region_from_bitmap.h"

namespace {
// A hover counts once the pointer has rested on the button this long.
constexpr int HOVER_TIME_MS = 1;
} // namespace

CHyperLinkButton::CHyperLinkButton(QWidget* parent) : QPushButton(parent) {
  setAutoDefault(false);
  setDefault(false);
  setCursor(Qt::PointingHandCursor);
  setMouseTracking(true);
  hover_timer_.setSingleShot(true);
  hover_timer_.setInterval(HOVER_TIME_MS);
  connect(&hover_timer_, &QTimer::timeout, this, [this] {
    hovering_ = true;
    update();
  });
  connect(this, &QPushButton::clicked, this, &CHyperLinkButton::OnClicked);
  opener_ = [this](const QString& target, std::function<void(int)> done) {
    OpenLinkAsync(target, this, std::move(done));
  };
}

void CHyperLinkButton::SetBackdropBitmap(int id) {
  backdrop_on_ = true;
  backdrop_origin_ = rect().topLeft();
  backdrop_ = ScreenBitmap(id);
  update();
}

void CHyperLinkButton::SetShapeBitmap(int id, bool on) {
  shaped_ = on;
  if (!on) {
    return;
  }
  const std::optional<QRegion> shape = RegionFromBitmap(LoadBitmap(id), 0xFFFFFF, 0);
  if (shape && !shape->isEmpty()) {
    setMask(*shape);
  }
}

void CHyperLinkButton::SetMaskBitmap(int id, bool on) {
  masked_ = on;
  mask_ = ScreenBitmap(id);
  update();
}

void CHyperLinkButton::SetStateBitmaps(int hover, int normal, int pressed) {
  hover_ = ScreenBitmap(hover);
  normal_ = ScreenBitmap(normal);
  pressed_ = ScreenBitmap(pressed);
  update();
}

void CHyperLinkButton::SetFocusBitmap(int id) {
  focused_ = ScreenBitmap(id);
  update();
}

void CHyperLinkButton::SetLinkTarget(const QString& target) {
  target_ = target;
  if (tip_.isEmpty()) {
    tip_ = target;
  }
  setToolTip(tip_);
}

void CHyperLinkButton::SetTipText(const QString& tip) {
  tip_ = tip;
  setToolTip(tip_);
}

void CHyperLinkButton::SetOpener(Opener opener) { opener_ = std::move(opener); }

QImage CHyperLinkButton::ComposeMasked(const QImage& backdrop, const QImage& mask,
                                       const QImage& picture, QSize size) {
  QImage out(size, QImage::Format_RGB32);
  out.fill(Qt::black);
  const QImage back = backdrop.convertToFormat(QImage::Format_RGB32);
  const QImage and_not = mask.convertToFormat(QImage::Format_RGB32);
  const QImage and_with = picture.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < size.height(); ++y) {
    auto* row = reinterpret_cast<quint32*>(out.scanLine(y));
    const auto* back_row =
        y < back.height() ? reinterpret_cast<const quint32*>(back.constScanLine(y)) : nullptr;
    const auto* mask_row =
        y < and_not.height() ? reinterpret_cast<const quint32*>(and_not.constScanLine(y)) : nullptr;
    const auto* picture_row = y < and_with.height()
                                  ? reinterpret_cast<const quint32*>(and_with.constScanLine(y))
                                  : nullptr;
    for (int x = 0; x < size.width(); ++x) {
      // Pixels outside a smaller picture read as black, as an empty memory bitmap does.
      quint32 value = back_row != nullptr && x < back.width() ? back_row[x] : 0u;
      value |= ~(mask_row != nullptr && x < and_not.width() ? mask_row[x] : 0u);
      value &= picture_row != nullptr && x < and_with.width() ? picture_row[x] : 0u;
      row[x] = value | 0xFF000000u;
    }
  }
  return out;
}

ScreenBitmap& CHyperLinkButton::ChosenPicture() {
  if (hovering_) {
    return hover_;
  }
  if (isDown()) {
    return pressed_;
  }
  if (hasFocus() && !focused_.isNull()) {
    return focused_;
  }
  return normal_;
}

void CHyperLinkButton::paintEvent(QPaintEvent*) {
  // The masked drawing mixes three pictures pixel by pixel, so all three come at one scale: twice
  // the size only when each of them has its twice-size drawing.
  qreal ratio = devicePixelRatioF();
  const auto scale_of = [&](ScreenBitmap& bitmap) {
    return bitmap.ForScreen(ratio).devicePixelRatio();
  };
  ScreenBitmap& chosen = ChosenPicture();
  if (masked_ && (scale_of(chosen) != scale_of(mask_) ||
                  (backdrop_on_ && scale_of(chosen) != scale_of(backdrop_))))
    ratio = 1;
  const QImage& picture = chosen.ForScreen(ratio);
  QPainter painter(this);
  if (masked_) {
    const qreal scale = picture.isNull() ? 1 : picture.devicePixelRatio();
    QImage composed = ComposeMasked(backdrop_on_ ? backdrop_.ForScreen(ratio).copy(QRect(
                                                       backdrop_origin_ * scale, size() * scale))
                                                 : QImage(),
                                    mask_.ForScreen(ratio), picture, size() * scale);
    composed.setDevicePixelRatio(scale);
    painter.drawImage(0, 0, composed);
  } else if (!picture.isNull()) {
    painter.drawImage(0, 0, picture);
  }
}

void CHyperLinkButton::enterEvent(QEnterEvent* event) {
  StartHoverWait();
  QPushButton::enterEvent(event);
}

void CHyperLinkButton::mouseMoveEvent(QMouseEvent* event) {
  StartHoverWait();
  QPushButton::mouseMoveEvent(event);
}

void CHyperLinkButton::leaveEvent(QEvent* event) {
  hover_timer_.stop();
  hovering_ = false;
  tracking_ = false;
  update();
  QPushButton::leaveEvent(event);
}

void CHyperLinkButton::StartHoverWait() {
  if (!tracking_) {
    tracking_ = true;
    hover_timer_.start();
  }
}

void CHyperLinkButton::OnClicked() {
  opener_(target_, [guard = QPointer<CHyperLinkButton>(this)](int result) {
    if (guard) {
      guard->OnOpenResult(result);
    }
  });
}

void CHyperLinkButton::OnOpenResult(int result) {
  if (OpenLinkSucceeded(result)) {
    visited_ = true;
    update();
  } else {
    QApplication::beep();
    ShowOpenError(this, result);
  }
  emit LinkOpened(result);
}
