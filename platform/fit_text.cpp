#include "platform/fit_text.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QWidget>

#include <algorithm>

namespace {

bool AllFit(const QFont& font, const QStringList& texts, int room) {
  const QFontMetrics metrics(font);
  return std::all_of(texts.begin(), texts.end(),
                     [&](const QString& text) { return metrics.horizontalAdvance(text) <= room; });
}

} // namespace

void FitFontToTexts(QWidget* control, const QStringList& texts, int room) {
  control->setFont(QFont()); // inherits again
  const QFont usual = control->font();
  if (AllFit(usual, texts, room))
    return;
  QFont smaller = usual;
  const bool in_pixels = usual.pixelSize() > 0;
  const qreal size = in_pixels ? usual.pixelSize() : usual.pointSizeF();
  for (qreal scale = 0.95; scale >= 0.75; scale -= 0.05) {
    if (in_pixels)
      smaller.setPixelSize(qRound(size * scale));
    else
      smaller.setPointSizeF(size * scale);
    if (AllFit(smaller, texts, room))
      break;
  }
  control->setFont(smaller);
}

int ComboTextRoom(const QComboBox* list) {
  QStyleOptionComboBox option;
  option.initFrom(list);
  option.editable = list->isEditable();
  return list->style()
      ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, list)
      .width();
}

int LineEditTextRoom(const QLineEdit* field) {
  QStyleOptionFrame option;
  option.initFrom(field);
  option.lineWidth = field->hasFrame()
                         ? field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, field)
                         : 0;
  const QMargins margins = field->textMargins();
  // QLineEdit keeps two pixels on either side of its text.
  return field->style()->subElementRect(QStyle::SE_LineEditContents, &option, field).width() -
         margins.left() - margins.right() - 4;
}

void FitComboFont(QComboBox* list) {
  QStringList entries;
  for (int i = 0; i < list->count(); ++i)
    entries << list->itemText(i);
  FitFontToTexts(list, entries, ComboTextRoom(list));
}
