#include "skin/transparent_label.h"

#include <QMouseEvent>
#include <QPainter>
#include <QThread>

CTransparentLabel::CTransparentLabel(QWidget* parent) : QWidget(parent) {
  // Not opaque: every repaint first redraws the page's picture under the label, so a shorter
  // text never leaves pieces of a longer one behind.
  setAttribute(Qt::WA_OpaquePaintEvent, false);
  setAutoFillBackground(false);
}

void CTransparentLabel::SetText(const QString& text) {
  {
    QMutexLocker lock(&text_mutex_);
    text_ = text;
  }
  if (QThread::currentThread() == thread()) {
    update();
  } else {
    QMetaObject::invokeMethod(
        this, [this] { update(); }, Qt::QueuedConnection);
  }
}

QString CTransparentLabel::Text() const {
  QMutexLocker lock(&text_mutex_);
  return text_;
}

void CTransparentLabel::SetColor(const QColor& color) {
  color_ = color;
  update();
}

void CTransparentLabel::SetTipText(const QString& tip) { setToolTip(tip); }

QFont CTransparentLabel::LabelFont() {
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(14);
  font.setWeight(QFont::Normal);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

void CTransparentLabel::paintEvent(QPaintEvent*) {
  const QString text = Text();
  if (text.isEmpty()) {
    return;
  }
  QPainter painter(this);
  painter.setFont(LabelFont());
  painter.setPen(color_);
  painter.drawText(rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}

void CTransparentLabel::mousePressEvent(QMouseEvent* event) {
  // The label takes its own clicks: a press on it never drags the page.
  event->accept();
}
