#include "contact_sheet.h"

#include <QList>

#include "artwork_style.h"
#include "artwork_table.h"
#include "res/artwork_ids.h"

namespace artwork {

namespace {

constexpr int SHEET_WIDTH = 1360;
constexpr int MARGIN = 24;
constexpr int GAP = 18;
constexpr int CAPTION_HEIGHT = 18;
// Wide enough for a caption under the smallest pictures.
constexpr int MIN_CELL_WIDTH = 200;

struct Section {
  QString title;
  QList<int> ids;
  int scale_percent;
};

const Artwork& Find(int id) {
  for (const Artwork& art : ArtworkTable()) {
    if (art.id == id) {
      return art;
    }
  }
  qFatal("artwork %d is not in the table", id);
}

} // namespace

QImage ContactSheet() {
  const QList<Section> sections = {
      {QStringLiteral("Page backgrounds (shown at half size)"),
       {DEVICE_LIST_BACKGROUND, SITE_SURVEY_BACKGROUND, SECURITY_BACKGROUND, WEP_BACKGROUND,
        WPA_BACKGROUND, WPA2_BACKGROUND, SUMMARY_BACKGROUND, FINISH_BACKGROUND},
       50},
      {QStringLiteral("Buttons: normal, hover, pressed, focused"),
       {REFRESH_NORMAL, REFRESH_HOVER, REFRESH_FOCUSED, BACK_NORMAL, BACK_HOVER, BACK_PRESSED,
        BACK_FOCUSED, EXIT_NORMAL, EXIT_HOVER, EXIT_FOCUSED, NEXT_NORMAL, NEXT_HOVER, NEXT_PRESSED,
        NEXT_FOCUSED, WEB_SITE_NORMAL, WEB_SITE_HOVER, WEB_SITE_FOCUSED},
       200},
      {QStringLiteral("Progress banners"),
       {SEARCHING_FRAME_0, SEARCHING_FRAME_1, SEARCHING_FRAME_2, SEARCHING_FRAME_3,
        PLEASE_WAIT_FRAME_0, PLEASE_WAIT_FRAME_1, PLEASE_WAIT_FRAME_2, PLEASE_WAIT_FRAME_3},
       100},
      {QStringLiteral("Saved notice, product bubble (focused) and its mask, icon"),
       {SAVED_NOTICE, SAVED_NOTICE_CLOSE_LIT, PRODUCT_BUBBLE, PRODUCT_BUBBLE_FOCUSED, PRODUCT_MASK,
        APPLICATION_ICON},
       100},
      {QStringLiteral("WEP key hints (shown at three times their size)"),
       {ASCII_KEY_HINT, HEX_KEY_HINT},
       300},
  };

  // Lay out first, to know the sheet's height.
  struct Placed {
    int id;
    QRect box;
  };
  QList<Placed> placed;
  QList<QPair<QString, int>> headings;
  int y = MARGIN;
  for (const Section& section : sections) {
    headings.append({section.title, y});
    y += 30;
    int x = MARGIN;
    int row_height = 0;
    for (int id : section.ids) {
      const QSize size = Find(id).size * section.scale_percent / 100;
      if (x + std::max(size.width(), MIN_CELL_WIDTH) > SHEET_WIDTH - MARGIN) {
        x = MARGIN;
        y += row_height + CAPTION_HEIGHT + GAP;
        row_height = 0;
      }
      placed.append({id, QRect(QPoint(x, y), size)});
      x += std::max(size.width(), MIN_CELL_WIDTH) + GAP;
      row_height = std::max(row_height, size.height());
    }
    y += row_height + CAPTION_HEIGHT + GAP + 10;
  }

  QImage sheet = NewPicture(SHEET_WIDTH, y + MARGIN, QColor(0xe4, 0xe9, 0xef));
  QPainter painter;
  BeginPainting(painter, sheet);
  for (const auto& [title, top] : headings) {
    DrawText(painter, QRect(MARGIN, top, SHEET_WIDTH, 26), title, Font(18, true), NAVY,
             Qt::AlignLeft | Qt::AlignVCenter);
  }
  for (const Placed& item : placed) {
    const Artwork& art = Find(item.id);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, item.box.width() < art.size.width());
    painter.drawImage(item.box, art.draw());
    painter.setPen(QPen(QColor(0x9a, 0xa8, 0xb8), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(item.box).adjusted(-0.5, -0.5, 0.5, 0.5));
    DrawText(painter, QRect(item.box.left(), item.box.bottom() + 3, 400, CAPTION_HEIGHT),
             QStringLiteral("%1  %2 x %3  %4")
                 .arg(art.id)
                 .arg(art.size.width())
                 .arg(art.size.height())
                 .arg(art.name),
             Font(12), INK, Qt::AlignLeft | Qt::AlignVCenter);
  }
  painter.end();
  return sheet;
}

} // namespace artwork
