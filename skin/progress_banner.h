// The panel a page pops up in its middle while it talks to the bridge, and the finish page's
// "saved" notice with its close box.
#pragma once

#include <QBasicTimer>
#include <QWidget>

#include "res/artwork_ids.h"

// What a banner shows: an animation while the bridge is searched for or works, or the saved
// notice.
enum BannerKind : int { BANNER_SEARCHING = 1, BANNER_PLEASE_WAIT = 2, BANNER_SAVED = 3 };

class CProgressBanner : public QWidget {
  Q_OBJECT

public:
  static constexpr int FRAME_PERIOD_MS = 500;

  // Hidden until Start.
  explicit CProgressBanner(QWidget* page);

  // 1 searching, 2 please wait; any other kind is the saved notice.
  void SetKind(int kind);
  // Shows the banner from frame 0 and animates it every 500 ms.
  void Start();
  void Stop();

  // Kinds 1 and 2: the animation frame 0 to 3. The saved notice: 1 while its close box is lit
  // under the pointer (it is lit as well while the notice has the keyboard focus).
  int Frame() const { return frame_; }
  // The picture of the kind's first frame.
  int BaseBitmap() const { return base_; }
  // The words on the kind's pictures: its caption and the line under it.
  QString Caption() const;
  QString Detail() const;
  // Started and not stopped, animating: the searching and please-wait kinds only.
  bool Running() const;

  // Sets the banner's size and centres it in its page's client area.
  void PlaceCentred(QSize size);

protected:
  void paintEvent(QPaintEvent* event) override;
  void timerEvent(QTimerEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  // Space on the saved notice closes it, as its close box does.
  void keyPressEvent(QKeyEvent* event) override;
  void leaveEvent(QEvent* event) override;

private:
  bool IsSavedNotice() const { return base_ == SAVED_NOTICE; }
  // The close box reaches to the notice's right and top edges.
  static bool OnCloseBox(QPoint at);
  void SetFrame(int frame);
  void TellBusyChanged();

  int base_ = SEARCHING_FRAME_0;
  int frame_ = 0;
  QBasicTimer frame_timer_;
};
