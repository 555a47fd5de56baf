// The push button of every page: drawn only from its normal, hover and pressed pictures, and the
// picture with its focus mark while it has the keyboard focus.
#pragma once

#include <QPushButton>

class CSkinButton : public QPushButton {
  Q_OBJECT

public:
  explicit CSkinButton(QWidget* parent = nullptr);

  // Takes the three picture ids and the tip, sizes the button to its normal picture (keeping
  // its top-left corner) and shows the normal picture.
  void SetBitmaps(int normal, int hover, int pressed, const QString& tip);
  // Shown while the button has the keyboard focus and is neither pressed nor hovered; 0 for none.
  void SetFocusBitmap(int focused);

  int NormalBitmap() const { return normal_; }
  int HoverBitmap() const { return hover_; }
  int PressedBitmap() const { return pressed_; }
  int FocusBitmap() const { return focused_; }
  // The picture the next paint shows.
  int ShownBitmap() const;

protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void changeEvent(QEvent* event) override;

private:
  void SetHover(bool hover);

  int normal_ = 0;
  int hover_ = 0;
  int pressed_ = 0;
  int focused_ = 0;
  bool hovering_ = false;
};
