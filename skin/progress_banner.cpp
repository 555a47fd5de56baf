#include "skin/progress_banner.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimerEvent>

#include "platform/bitmaps.h"
#include "res/page_layout.h"

CProgressBanner::CProgressBanner(QWidget* page) : QWidget(page) {
  setMouseTracking(true);
  setCursor(Qt::ArrowCursor);
  hide();
}

void CProgressBanner::SetKind(int kind) {
  switch (kind) {
  case BANNER_SEARCHING:
    base_ = SEARCHING_FRAME_0;
    break;
  case BANNER_PLEASE_WAIT:
    base_ = PLEASE_WAIT_FRAME_0;
    break;
  default:
    base_ = SAVED_NOTICE;
  }
  // A frame of the old kind may not exist in the new one (the notice has two pictures).
  frame_ = 0;
  setCursor(Qt::ArrowCursor);
  update();
}

void CProgressBanner::Start() {
  frame_ = 0;
  show();
  raise();
  frame_timer_.start(FRAME_PERIOD_MS, this);
  update();
}

void CProgressBanner::Stop() {
  frame_timer_.stop();
  hide();
}

void CProgressBanner::PlaceCentred(QSize size) {
  const QRect client = parentWidget() != nullptr ? parentWidget()->rect() : QRect();
  setGeometry(client.left() + client.width() / 2 - size.width() / 2,
              client.top() + client.height() / 2 - size.height() / 2, size.width(), size.height());
}

void CProgressBanner::paintEvent(QPaintEvent*) {
  // Loaded for this paint only: no frame stays in memory between paints.
  const QImage picture = LoadBitmapForScreen(base_ + frame_, devicePixelRatioF());
  QPainter painter(this);
  if (picture.isNull()) {
    painter.fillRect(rect(), palette().window());
    return;
  }
  painter.drawImage(0, 0, picture);
}

void CProgressBanner::timerEvent(QTimerEvent* event) {
  if (event->timerId() != frame_timer_.timerId()) {
    QWidget::timerEvent(event);
    return;
  }
  if (!IsSavedNotice()) {
    SetFrame((frame_ + 1) % BANNER_FRAME_COUNT);
  }
}

void CProgressBanner::mouseMoveEvent(QMouseEvent* event) {
  if (IsSavedNotice()) {
    const bool on_close_box = OnCloseBox(event->position().toPoint());
    SetFrame(on_close_box ? 1 : 0);
    setCursor(on_close_box ? Qt::PointingHandCursor : Qt::ArrowCursor);
  }
  event->accept();
}

void CProgressBanner::mousePressEvent(QMouseEvent* event) {
  // Taken here in every case: a press on the banner never drags the page.
  event->accept();
  if (!IsSavedNotice() || event->button() != Qt::LeftButton) {
    return;
  }
  if (OnCloseBox(event->position().toPoint())) {
    Stop();
  }
}

void CProgressBanner::leaveEvent(QEvent* event) {
  // The close box is lit only while the pointer is on it.
  if (IsSavedNotice()) {
    SetFrame(0);
    setCursor(Qt::ArrowCursor);
  }
  QWidget::leaveEvent(event);
}

bool CProgressBanner::OnCloseBox(QPoint at) {
  return at.x() >= SAVED_NOTICE_CLOSE_BOX.left() && at.y() <= SAVED_NOTICE_CLOSE_BOX.bottom();
}

void CProgressBanner::SetFrame(int frame) {
  if (frame_ != frame) {
    frame_ = frame;
    update();
  }
}
