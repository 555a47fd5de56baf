#include "skin/progress_banner.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimerEvent>

#include "platform/bitmaps.h"
#include "res/page_layout.h"
#include "res/page_text.h"
#include "res/page_words.h"
#include "skin/skin_accessibility.h"

namespace {

const BannerWords& WordsOf(int base) {
  switch (base) {
  case SEARCHING_FRAME_0:
    return SEARCHING_WORDS;
  case PLEASE_WAIT_FRAME_0:
    return PLEASE_WAIT_WORDS;
  default:
    return SAVED_NOTICE_WORDS;
  }
}

} // namespace

CProgressBanner::CProgressBanner(QWidget* page) : QWidget(page) {
  InstallSkinAccessibility();
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
  // The notice's close box is a control: the keyboard reaches it as the mouse does.
  setFocusPolicy(IsSavedNotice() ? Qt::TabFocus : Qt::NoFocus);
  setCursor(Qt::ArrowCursor);
  update();
}

void CProgressBanner::Start() {
  frame_ = 0;
  show();
  raise();
  frame_timer_.start(FRAME_PERIOD_MS, this);
  update();
  TellBusyChanged();
}

void CProgressBanner::Stop() {
  frame_timer_.stop();
  hide();
  TellBusyChanged();
}

QString CProgressBanner::Caption() const { return PageText(WordsOf(base_).caption); }

QString CProgressBanner::Detail() const { return PageText(WordsOf(base_).detail); }

bool CProgressBanner::Running() const {
  return !IsSavedNotice() && frame_timer_.isActive() && !isHidden();
}

void CProgressBanner::TellBusyChanged() {
  QAccessible::State busy;
  busy.busy = true;
  QAccessibleStateChangeEvent event(this, busy);
  TellScreenReaders(&event);
}

void CProgressBanner::PlaceCentred(QSize size) {
  const QRect client = parentWidget() != nullptr ? parentWidget()->rect() : QRect();
  setGeometry(client.left() + client.width() / 2 - size.width() / 2,
              client.top() + client.height() / 2 - size.height() / 2, size.width(), size.height());
}

void CProgressBanner::paintEvent(QPaintEvent*) {
  // Loaded for this paint only: no frame stays in memory between paints.
  // With the keyboard focus the notice's close box is lit, as under the pointer.
  const int frame = IsSavedNotice() && hasFocus() ? 1 : frame_;
  const QImage picture = LoadBitmapForScreen(base_ + frame, devicePixelRatioF());
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

void CProgressBanner::keyPressEvent(QKeyEvent* event) {
  if (IsSavedNotice() && event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
    Stop();
    return;
  }
  QWidget::keyPressEvent(event);
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
