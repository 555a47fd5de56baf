#include "skin/page_skin.h"

#include <QGuiApplication>
#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include "platform/bitmaps.h"
#include "res/artwork_ids.h"
#include "res/page_colours.h"
#include "res/page_text.h"
#include "skin/region_from_bitmap.h"
#include "skin/skin_button.h"
#include "skin/transparent_label.h"

namespace {

constexpr quint32 PAGE_KEY_COLOUR = 0xFF00FF;
constexpr quint32 PAGE_KEY_TOLERANCE = 0x101010;
const char* const DRAG_FOLLOWER_NAME = "page_drag_follower";

// Moves a page with the mouse from a press on its background until the button is released,
// where the window system offers no move of its own.
class PageDragFollower : public QObject {
public:
  PageDragFollower(QWidget* page, QPoint press_global)
      : QObject(page), page_(page), press_global_(press_global), start_(page->pos()) {
    setObjectName(QString::fromLatin1(DRAG_FOLLOWER_NAME));
    page_->installEventFilter(this);
  }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != page_) {
      return false;
    }
    if (event->type() == QEvent::MouseMove) {
      const auto* move = static_cast<QMouseEvent*>(event);
      if (!(move->buttons() & Qt::LeftButton)) {
        End();
        return false;
      }
      page_->move(start_ + (move->globalPosition().toPoint() - press_global_));
      return true;
    }
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
      End();
    }
    return false;
  }

private:
  void End() {
    page_->removeEventFilter(this);
    deleteLater();
  }

  QWidget* page_;
  QPoint press_global_;
  QPoint start_;
};

void CutToPicture(QWidget* page, const QImage& background) {
  const std::optional<QRegion> shape =
      RegionFromBitmap(background, PAGE_KEY_COLOUR, PAGE_KEY_TOLERANCE);
  if (shape && !shape->isEmpty()) {
    page->setMask(*shape);
  }
}

} // namespace

QImage ApplyPageSkin(QWidget* page, int bitmap_id, QPoint origin) {
  QImage background = LoadBitmap(bitmap_id);
  if (background.isNull()) {
    return background;
  }
  page->setGeometry(QRect(origin, background.size()));
  CutToPicture(page, background);
  page->update();
  return background;
}

QIcon ApplicationIcon() {
  QIcon icon;
  icon.addPixmap(QPixmap::fromImage(LoadBitmap(APPLICATION_ICON)));
  // The twice-size drawing as a picture of its own size: an icon is shown at many sizes.
  QImage twice = LoadBitmapForScreen(APPLICATION_ICON, 2);
  twice.setDevicePixelRatio(1);
  icon.addPixmap(QPixmap::fromImage(twice));
  return icon;
}

QImage ApplyDeviceListSkin(QWidget* page, int bitmap_id, QPoint* origin) {
  page->setWindowIcon(ApplicationIcon());
  QImage background = LoadBitmap(bitmap_id);
  if (background.isNull()) {
    return background;
  }
  QScreen* screen = page->screen() != nullptr ? page->screen() : QGuiApplication::primaryScreen();
  const QRect area = screen != nullptr ? screen->geometry() : QRect();
  *origin = area.topLeft() + QPoint(area.width() / 4, area.height() / 4);
  return ApplyPageSkin(page, bitmap_id, *origin);
}

void PlaceSkinButton(CSkinButton* button, const QRect& rect, int normal, int hover, int pressed) {
  button->setGeometry(rect);
  button->SetBitmaps(normal, hover, pressed, QString());
}

void PlaceSkinButton(CSkinButton* button, const ButtonPlace& place) {
  PlaceSkinButton(button, place.rect, place.normal, place.hover, place.pressed);
  button->SetFocusBitmap(place.focused);
  button->setAccessibleName(PageText(place.caption));
}

void PlaceStatusLine(CTransparentLabel* label) {
  label->setGeometry(STATUS_LINE_RECT);
  label->SetTipText(QString());
  // The label's grey reads at 2.7:1 on the body; the artwork's ink at 12.9:1.
  label->SetColor(QColor::fromRgb(PAGE_INK));
}

void PaintPageBackground(QWidget* page, const QImage& background) {
  if (background.isNull()) {
    return;
  }
  QPainter painter(page);
  painter.drawImage(0, 0, background);
}

void BeginPageDrag(QWidget* page, QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || page->childAt(event->position().toPoint()) != nullptr) {
    return;
  }
  event->accept();
  if (page->findChild<QObject*>(QString::fromLatin1(DRAG_FOLLOWER_NAME),
                                Qt::FindDirectChildrenOnly) != nullptr) {
    return;
  }
  QWindow* window = page->isWindow() ? page->windowHandle() : nullptr;
  if (window != nullptr && window->startSystemMove()) {
    return;
  }
  new PageDragFollower(page, event->globalPosition().toPoint());
}

void ApplyPageFrame(QWidget* page) {
  page->setWindowTitle(QString::fromLatin1(PAGE_TITLE));
  // A plain top-level window (not a dialog, tool or popup type, which desktops may keep off the
  // task bar or tie to another window), drawn without a frame.
  page->setWindowFlags((page->windowFlags() & ~Qt::WindowType_Mask) | Qt::Window |
                       Qt::FramelessWindowHint);
}
