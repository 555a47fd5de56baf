// The page backgrounds: each page's words and the captions of its buttons, laid out so that the
// controls the pages place sit on the matching rows.
#include <QPainterPath>

#include <functional>

#include "artwork_style.h"
#include "pictures.h"
#include "res/page_layout.h"
#include "res/page_text.h"
#include "res/page_words.h"

namespace artwork {

namespace {

constexpr int TEXT_LEFT = 30;
// Between a field's label and the field: the security, WEP and WPA pages leave more room.
constexpr int LABEL_GAP = 6;
constexpr int KEY_PAGE_LABEL_GAP = 8;

// The label of a form field, right-aligned `gap` pixels before it, on the field's row.
void DrawLabelBefore(QPainter& painter, const QRect& field, int gap, const QString& text) {
  DrawRowLabel(painter, field.left() - gap, field.top(), field.height(), text);
}

void DrawInstruction(QPainter& painter, const QRect& box, const QString& text) {
  DrawText(painter, box, text, Font(14), INK, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
}

void DrawNote(QPainter& painter, const QRect& box, const QString& text) {
  DrawText(painter, box, text, Font(12), MUTED, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
}

QString Words(const char* text) { return PageText(text); }

// A page's size and heading, and the box its instruction wraps in.
struct PageLook {
  QSize size;
  PageHeading heading;
  int instruction_width = 575;
  int instruction_height = 44;
};

// A page background: the frame with the step and title, the instruction under it, what `draw`
// adds for the page, and the captions of Back, Next and Exit.
QImage PageBackground(const PageLook& look, const std::function<void(QPainter&)>& draw) {
  const QSize size = look.size;
  QImage image = NewPicture(size.width(), size.height(), BODY);
  QPainter painter;
  BeginPainting(painter, image);
  DrawPageFrame(painter, size, Words(look.heading.badge), Words(look.heading.title));
  DrawInstruction(painter, QRect(TEXT_LEFT, 146, look.instruction_width, look.instruction_height),
                  Words(look.heading.instruction));
  draw(painter);
  for (const ButtonPlace& button : {BACK_BUTTON, NEXT_BUTTON, EXIT_BUTTON})
    DrawButtonCaption(painter, button);
  painter.end();
  return image;
}

// A white panel with a thin border and a heading strip.
void DrawPanel(QPainter& painter, const QRect& box, const QString& heading, const QColor& strip) {
  painter.save();
  QPainterPath outline;
  outline.addRoundedRect(QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
  painter.fillPath(outline, PANEL);
  painter.setClipPath(outline);
  painter.fillRect(QRect(box.left(), box.top(), box.width(), 30), strip);
  painter.setClipping(false);
  painter.setPen(QPen(PANEL_BORDER, 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(outline);
  painter.restore();
  DrawText(painter, QRect(box.left() + 14, box.top(), box.width() - 28, 30), heading,
           Font(14, true), Qt::white, Qt::AlignLeft | Qt::AlignVCenter);
}

} // namespace

QImage DeviceListBackground() {
  const DeviceListWords& words = DEVICE_LIST_WORDS;
  return PageBackground({QSize(635, 474), words.heading, 370, 40}, [&words](QPainter& painter) {
    // The page writes its version in white into VERSION_LABEL_RECT.
    DrawText(painter,
             QRect(VERSION_LABEL_RECT.left() - 92, VERSION_LABEL_RECT.top(), 86,
                   VERSION_LABEL_RECT.height()),
             Words(words.version), Font(14), HEADER_TEXT, Qt::AlignRight | Qt::AlignTop);
    DrawBridgeScene(painter, QRect(22, 226, 156, 150));
    const QRect& list = DEVICE_LIST_RECT;
    DrawText(painter, QRect(list.left(), list.top() - 26, 270, 22), Words(words.list),
             Font(15, true), INK, Qt::AlignLeft | Qt::AlignVCenter);
    painter.fillRect(list.left(), list.top() - 3, list.width(), 1, RULE);
    DrawNote(painter, QRect(465, 234, 150, 80), Words(words.refresh_note));
    DrawButtonCaption(painter, DEVICE_LIST_REFRESH_BUTTON);
  });
}

QImage SiteSurveyBackground() {
  const SiteSurveyWords& words = SITE_SURVEY_WORDS;
  return PageBackground({QSize(636, 473), words.heading, 580}, [&words](QPainter& painter) {
    // Before the two radio buttons.
    for (const auto& [radio, text] : {std::pair{FROM_LIST_RADIO_RECT, words.from_list},
                                      std::pair{MANUAL_RADIO_RECT, words.manual}})
      DrawText(painter, QRect(TEXT_LEFT, radio.top() - 3, radio.left() - 5 - TEXT_LEFT, 20),
               Words(text), Font(12, true), INK, Qt::AlignRight | Qt::AlignVCenter);
    DrawButtonCaption(painter, SURVEY_REFRESH_BUTTON);
    DrawLabelBefore(painter, SSID_BOX_RECT, LABEL_GAP, Words(words.ssid));
    // On a row as high as the SSID box's, so the two labels line up.
    DrawLabelBefore(painter, QRect(CHANNEL_LIST_RECT.topLeft(), SSID_BOX_RECT.size()), LABEL_GAP,
                    Words(words.channel));
    DrawNote(painter, QRect(332, 352, 278, 46), Words(words.manual_note));
  });
}

QImage SecurityBackground() {
  const SecurityWords& words = SECURITY_WORDS;
  return PageBackground({QSize(635, 474), words.heading}, [&words](QPainter& painter) {
    const QRect& list = SECURITY_MODE_LIST_RECT;
    DrawLabelBefore(painter, list, KEY_PAGE_LABEL_GAP, Words(words.mode));
    // Under the list, a line for each choice, then a note.
    constexpr int first_choice_top = 252;
    constexpr int choice_spacing = 24;
    DrawNote(painter, QRect(list.left(), first_choice_top + 4 * choice_spacing + 8, 420, 40),
             Words(words.note));
    for (int i = 0; i < 4; ++i) {
      const int y = first_choice_top + i * choice_spacing;
      DrawText(painter, QRect(list.left(), y, 90, 20), Words(words.choices[i].mode), Font(13, true),
               ACCENT_INK, Qt::AlignLeft | Qt::AlignVCenter);
      DrawText(painter, QRect(252, y, 340, 20), Words(words.choices[i].meaning), Font(13), INK,
               Qt::AlignLeft | Qt::AlignVCenter);
    }
  });
}

QImage WepBackground() {
  const WepWords& words = WEP_WORDS;
  return PageBackground({QSize(635, 474), words.heading}, [&words](QPainter& painter) {
    DrawLabelBefore(painter, KEY_MODE_LIST_RECT, KEY_PAGE_LABEL_GAP, Words(words.mode));
    for (int key = 0; key < 4; ++key)
      DrawLabelBefore(painter, WEP_KEY_RECTS[key], KEY_PAGE_LABEL_GAP, Words(words.keys[key]));
    DrawLabelBefore(painter, DEFAULT_KEY_LIST_RECT, KEY_PAGE_LABEL_GAP, Words(words.key_index));

    const QRect help(300, 205, 305, 140);
    painter.save();
    painter.setPen(QPen(PANEL_BORDER, 1));
    painter.setBrush(PANEL);
    painter.drawRoundedRect(QRectF(help).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    painter.restore();
    DrawText(painter, help.adjusted(14, 10, -14, 0), Words(words.help_title), Font(13, true), INK);
    DrawText(painter, help.adjusted(14, 32, -14, -8), Words(words.help), Font(12), MUTED,
             Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
  });
}

QImage WpaBackground(bool wpa2) {
  const WpaWords& words = WPA_WORDS;
  return PageBackground(
      {QSize(635, 474), wpa2 ? words.wpa2_heading : words.wpa_heading},
      [&words, wpa2](QPainter& painter) {
        DrawLabelBefore(painter, KEY_MODE_LIST_RECT, KEY_PAGE_LABEL_GAP, Words(words.mode));
        DrawLabelBefore(painter, CIPHER_BOX_RECT, KEY_PAGE_LABEL_GAP, Words(words.cipher));
        DrawLabelBefore(painter, PASSPHRASE_BOX_RECT, KEY_PAGE_LABEL_GAP, Words(words.passphrase));
        DrawNote(painter, QRect(CIPHER_BOX_RECT.right() + 13, CIPHER_BOX_RECT.top(), 340, 40),
                 Words(wpa2 ? words.wpa2_cipher_note : words.wpa_cipher_note));
        DrawNote(painter,
                 QRect(PASSPHRASE_BOX_RECT.right() + 13, PASSPHRASE_BOX_RECT.top(), 320, 40),
                 Words(words.passphrase_note));
      });
}

QImage SummaryBackground() {
  const SummaryWords& words = SUMMARY_WORDS;
  return PageBackground({QSize(635, 474), words.heading}, [&words](QPainter& painter) {
    DrawPanel(painter, QRect(24, 212, 292, 160), Words(words.old_settings), MUTED);
    DrawPanel(painter, QRect(320, 212, 291, 160), Words(words.new_settings), ACCENT_INK);
    for (int row = 0; row < SUMMARY_ROWS; ++row) {
      DrawLabelBefore(painter, OLD_SETTING_RECTS[row], LABEL_GAP, Words(words.rows[row]));
      DrawLabelBefore(painter, NEW_SETTING_RECTS[row], LABEL_GAP, Words(words.rows[row]));
    }
  });
}

QImage FinishBackground() {
  const FinishWords& words = FINISH_WORDS;
  return PageBackground({QSize(634, 473), words.heading}, [&words](QPainter& painter) {
    // The bridge, large, in the middle of the page.
    painter.save();
    QRadialGradient glow(QPointF(317, 290), 150);
    glow.setColorAt(0, QColor(0xdf, 0xf3, 0xf6));
    glow.setColorAt(1, BODY);
    painter.setPen(Qt::NoPen);
    painter.setBrush(glow);
    painter.drawEllipse(QPointF(317, 290), 150, 100);
    painter.restore();
    DrawBridgeDevice(painter, QRect(237, 230, 160, 110), QColor(0xf7, 0xf9, 0xfb));
    DrawRadioWaves(painter, QPointF(237 + 160 - 32, 230), 11.0, 3);
    DrawText(painter, QRect(237, 346, 160, 20), Words(words.product), Font(14, true), INK,
             Qt::AlignCenter);
    DrawButtonCaption(painter, WEB_SITE_BUTTON);
  });
}

} // namespace artwork
