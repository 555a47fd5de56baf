// The steps every page shares: its picture, shape and place, its buttons and status line, its
// paint and how it is dragged.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>

#include "res/page_layout.h"

class QIcon;
class QMouseEvent;
class QWidget;
class CSkinButton;
class CTransparentLabel;

// Every page's window title.
inline constexpr char PAGE_TITLE[] = "QBR20G";

// Loads background `bitmap_id`, moves the page to `origin` at the picture's size and cuts it to
// the picture's non-magenta pixels. Returns the picture; when it is missing the page keeps its
// size and place and the result is null.
QImage ApplyPageSkin(QWidget* page, int bitmap_id, QPoint origin);

// The application icon at 64 and 128 pixels.
QIcon ApplicationIcon();

// The first page's variant: when the background loads, first sets *origin to a quarter of the
// screen's width and height (where every later page opens). Also gives the page the
// application icon.
QImage ApplyDeviceListSkin(QWidget* page, int bitmap_id, QPoint* origin);

// Moves the button to `rect`; it then takes the size of its normal picture.
void PlaceSkinButton(CSkinButton* button, const QRect& rect, int normal, int hover, int pressed);
// The same at `place`, with its focus picture, and named by its caption for screen readers.
void PlaceSkinButton(CSkinButton* button, const ButtonPlace& place);

// The status line's place on every page that has one, with no tip, in the artwork's ink.
inline constexpr QRect STATUS_LINE_RECT{29, 413, 412, 20};
void PlaceStatusLine(CTransparentLabel* label);

// For the page's paintEvent: the background at (0, 0); nothing when it is null.
void PaintPageBackground(QWidget* page, const QImage& background);

// For the page's mousePressEvent: a left press on the bare background moves the page with the
// mouse until release; a press on a child control does nothing. The new place is not recorded.
void BeginPageDrag(QWidget* page, QMouseEvent* event);

// Window title "QBR20G", no frame, its own task-bar entry. Call before the page is shown.
void ApplyPageFrame(QWidget* page);
