#include "skin/transparent_label.h"

#include <QAccessible>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QThread>

#include "skin/skin_accessibility.h"

CTransparentLabel::CTransparentLabel(QWidget* parent) : QWidget(parent) {
  // Not opaque: every repaint first redraws the page's picture under the label, so a shorter
  // text never leaves pieces of a longer one behind.
  setAttribute(Qt::WA_OpaquePaintEvent, false);
  setAutoFillBackground(false);
  InstallSkinAccessibility();
}

void CTransparentLabel::SetText(const QString& text, Announce announce) {
  {
    QMutexLocker lock(&text_mutex_);
    text_ = text;
  }
  if (QThread::currentThread() == thread()) {
    OnTextChanged(announce);
  } else {
    QMetaObject::invokeMethod(
        this, [this, announce] { OnTextChanged(announce); }, Qt::QueuedConnection);
  }
}

void CTransparentLabel::OnTextChanged(Announce announce) {
  const QString text = Text();
  const bool fits = QFontMetrics(LabelFont()).horizontalAdvance(text) <= width();
  setToolTip(fits ? tip_ : text);
  update();
  // The label's name is its text: a screen reader learns of the new text as a new name, and of a
  // failure as well by an alert.
  QAccessibleEvent renamed(this, QAccessible::NameChanged);
  TellScreenReaders(&renamed);
  if (announce == Announce::Alert) {
    QAccessibleEvent alert(this, QAccessible::Alert);
    TellScreenReaders(&alert);
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

void CTransparentLabel::SetTipText(const QString& tip) {
  tip_ = tip;
  setToolTip(tip);
}

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
  painter.drawText(rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                   painter.fontMetrics().elidedText(text, Qt::ElideRight, width()));
}

void CTransparentLabel::mousePressEvent(QMouseEvent* event) {
  // The label takes its own clicks: a press on it never drags the page.
  event->accept();
}
