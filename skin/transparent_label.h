// One line of text over the page's picture, with no box of its own. Screen readers know it as a
// label whose name is its text, and hear of each new text.
#pragma once

#include <QColor>
#include <QMutex>
#include <QString>
#include <QWidget>

class CTransparentLabel : public QWidget {
  Q_OBJECT

public:
  explicit CTransparentLabel(QWidget* parent = nullptr);

  // How a new text is told to screen readers: as news of the status line, or as an alert (a
  // check that failed, a failed save).
  enum class Announce { Status, Alert };

  // Safe from any thread: workers report progress and results through it. Screen readers are
  // told on the UI thread. A text longer than the line is cut with an ellipsis, and shows whole
  // as the label's tip (screen readers hear it whole).
  void SetText(const QString& text, Announce announce = Announce::Status);
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
  void OnTextChanged(Announce announce);

  mutable QMutex text_mutex_;
  QString text_;
  QString tip_;
  QColor color_{150, 150, 150};
};
