// A picture button cut to any shape that opens a link: the advertisement bubble of the first
// page.
#pragma once

#include <functional>

#include <QImage>
#include <QPushButton>
#include <QTimer>

#include "platform/bitmaps.h"

class CHyperLinkButton : public QPushButton {
  Q_OBJECT

public:
  // Opens a link and reports the result (above 32: opened) through `done`, possibly later.
  using Opener = std::function<void(const QString& target, std::function<void(int)> done)>;

  explicit CHyperLinkButton(QWidget* parent = nullptr);

  // Painted under the masked picture; its source is the button's rectangle at this call.
  void SetBackdropBitmap(int id);
  // Cuts the button to the non-white pixels of picture `id`.
  void SetShapeBitmap(int id, bool on);
  // Black where the picture belongs to the button, white where the backdrop shows.
  void SetMaskBitmap(int id, bool on);
  void SetStateBitmaps(int hover, int normal, int pressed);
  // Shown while the button has the keyboard focus, unless hovered or pressed.
  void SetFocusBitmap(int id);
  // Also becomes the tip while no tip was set.
  void SetLinkTarget(const QString& target);
  void SetTipText(const QString& tip);

  QString LinkTarget() const { return target_; }
  QString TipText() const { return tip_; }
  bool Visited() const { return visited_; }

  // Replaces the desktop's way of opening the link (OpenLinkAsync).
  void SetOpener(Opener opener);

  // The masked drawing: backdrop (black when null) OR NOT mask, then AND picture; where the
  // mask is black the result is the picture.
  static QImage ComposeMasked(const QImage& backdrop, const QImage& mask, const QImage& picture,
                              QSize size);

signals:
  // After every open attempt, with the opener's result.
  void LinkOpened(int result);

protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

private:
  void StartHoverWait();
  void OnClicked();
  void OnOpenResult(int result);
  ScreenBitmap& ChosenPicture();

  bool masked_ = false;
  bool shaped_ = false;
  bool backdrop_on_ = false;
  QPoint backdrop_origin_;
  bool hovering_ = false;
  bool tracking_ = false;
  QTimer hover_timer_;
  ScreenBitmap normal_;
  ScreenBitmap pressed_;
  ScreenBitmap hover_;
  ScreenBitmap focused_;
  ScreenBitmap mask_;
  ScreenBitmap backdrop_;
  bool visited_ = false;
  QString target_;
  QString tip_;
  Opener opener_;
};
