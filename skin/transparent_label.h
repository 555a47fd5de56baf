// One line of text over the page's picture, with no box of its own.
#pragma once

#include <QColor>
#include <QMutex>
#include <QString>
#include <QWidget>

class CTransparentLabel : public QWidget {
  Q_OBJECT

public:
  explicit CTransparentLabel(QWidget* parent = nullptr);

  // Safe from any thread: workers report progress and results through it.
  void SetText(const QString& text);
  QString Text() const;

  void SetColor(const QColor& color);
  QColor Color() const { return color_; }
  void SetTipText(const QString& tip);

  // Arial (Liberation Sans on Debian), 14 px, regular.
  static QFont LabelFont();

protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

private:
  mutable QMutex text_mutex_;
  QString text_;
  QColor color_{150, 150, 150};
};
