// The page backgrounds: each page's words and the captions of its buttons, laid out so that the
// controls the pages place sit on the matching rows.
#include <QPainterPath>

#include <functional>

#include "artwork_style.h"
#include "pictures.h"
#include "res/page_layout.h"

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

// The words of a page: its step number (empty for a check mark), title and instruction.
struct PageWords {
  QSize size;
  const char* badge;
  const char* title;
  const char* instruction;
  int instruction_width = 575;
  int instruction_height = 44;
};

// A page background: the frame with the step and title, the instruction under it, what `draw`
// adds for the page, and the captions of Back, Next and Exit.
QImage PageBackground(const PageWords& words, const std::function<void(QPainter&)>& draw) {
  const QSize size = words.size;
  QImage image = NewPicture(size.width(), size.height(), BODY);
  QPainter painter;
  BeginPainting(painter, image);
  DrawPageFrame(painter, size, QString::fromLatin1(words.badge), QString::fromUtf8(words.title));
  DrawInstruction(painter, QRect(TEXT_LEFT, 146, words.instruction_width, words.instruction_height),
                  QString::fromUtf8(words.instruction));
  draw(painter);
  DrawButtonCaption(painter, BACK_BUTTON.rect, QStringLiteral("Back"));
  DrawButtonCaption(painter, NEXT_BUTTON.rect, QStringLiteral("Next"));
  DrawButtonCaption(painter, EXIT_BUTTON.rect, QStringLiteral("Exit"));
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
  return PageBackground(
      {QSize(635, 474), "1", "Select your bridge", "Select a bridge from the list and click Next.",
       370, 40},
      [](QPainter& painter) {
        // The page writes its version in white into VERSION_LABEL_RECT.
        DrawText(painter,
                 QRect(VERSION_LABEL_RECT.left() - 92, VERSION_LABEL_RECT.top(), 86,
                       VERSION_LABEL_RECT.height()),
                 QStringLiteral("Version"), Font(14), HEADER_TEXT, Qt::AlignRight | Qt::AlignTop);
        DrawBridgeScene(painter, QRect(22, 226, 156, 150));
        const QRect& list = DEVICE_LIST_RECT;
        DrawText(painter, QRect(list.left(), list.top() - 26, 270, 22),
                 QStringLiteral("Bridges on the network"), Font(15, true), INK,
                 Qt::AlignLeft | Qt::AlignVCenter);
        painter.fillRect(list.left(), list.top() - 3, list.width(), 1, RULE);
        DrawNote(painter, QRect(465, 234, 150, 80),
                 QStringLiteral("Click Refresh List to find bridges recently added to the "
                                "network."));
        DrawButtonCaption(painter, DEVICE_LIST_REFRESH_BUTTON.rect, QStringLiteral("Refresh List"));
      });
}

QImage SiteSurveyBackground() {
  return PageBackground(
      {QSize(636, 473), "2", "Choose a wireless network",
       "Select a network from the list, click Refresh List to search again, or enter the SSID "
       "manually. Then click Next.",
       580},
      [](QPainter& painter) {
        // Before the two radio buttons.
        for (const auto& [radio, text] :
             {std::pair{FROM_LIST_RADIO_RECT, "From list"}, std::pair{MANUAL_RADIO_RECT, "Manual"}})
          DrawText(painter, QRect(TEXT_LEFT, radio.top() - 3, radio.left() - 5 - TEXT_LEFT, 20),
                   QString::fromLatin1(text), Font(12, true), INK,
                   Qt::AlignRight | Qt::AlignVCenter);
        DrawButtonCaption(painter, SURVEY_REFRESH_BUTTON.rect, QStringLiteral("Refresh List"));
        DrawLabelBefore(painter, SSID_BOX_RECT, LABEL_GAP, QStringLiteral("SSID"));
        // On a row as high as the SSID box's, so the two labels line up.
        DrawLabelBefore(painter, QRect(CHANNEL_LIST_RECT.topLeft(), SSID_BOX_RECT.size()),
                        LABEL_GAP, QStringLiteral("Channel"));
        DrawNote(painter, QRect(332, 352, 278, 46),
                 QStringLiteral("You can enter the SSID manually, for a network that hides its "
                                "name, and choose its channel."));
      });
}

QImage SecurityBackground() {
  return PageBackground(
      {QSize(635, 474), "3", "Choose the security mode",
       "Choose the security that the wireless network uses."},
      [](QPainter& painter) {
        const QRect& list = SECURITY_MODE_LIST_RECT;
        DrawLabelBefore(painter, list, KEY_PAGE_LABEL_GAP, QStringLiteral("Security"));
        // Under the list, a line for each choice, then a note.
        const QString choices[][2] = {
            {QStringLiteral("Disable"), QStringLiteral("an open network without a key")},
            {QStringLiteral("WEP"), QStringLiteral("64-bit or 128-bit WEP keys")},
            {QStringLiteral("WPA-PSK"), QStringLiteral("a passphrase, TKIP encryption")},
            {QStringLiteral("WPA2-PSK"), QStringLiteral("a passphrase, AES encryption")},
        };
        constexpr int first_choice_top = 252;
        constexpr int choice_spacing = 24;
        DrawNote(painter, QRect(list.left(), first_choice_top + 4 * choice_spacing + 8, 420, 40),
                 QStringLiteral("Choose Disable and click Next for an open network; the other "
                                "choices take you to their keys."));
        for (int i = 0; i < 4; ++i) {
          const int y = first_choice_top + i * choice_spacing;
          DrawText(painter, QRect(list.left(), y, 90, 20), choices[i][0], Font(13, true),
                   ACCENT_DARK, Qt::AlignLeft | Qt::AlignVCenter);
          DrawText(painter, QRect(252, y, 340, 20), choices[i][1], Font(13), INK,
                   Qt::AlignLeft | Qt::AlignVCenter);
        }
      });
}

QImage WepBackground() {
  return PageBackground(
      {QSize(635, 474), "3", "Enter the WEP keys",
       "Enter up to four keys and choose the key that the bridge uses."},
      [](QPainter& painter) {
        DrawLabelBefore(painter, KEY_MODE_LIST_RECT, KEY_PAGE_LABEL_GAP,
                        QStringLiteral("Security"));
        for (int key = 0; key < 4; ++key)
          DrawLabelBefore(painter, WEP_KEY_RECTS[key], KEY_PAGE_LABEL_GAP,
                          QStringLiteral("Key %1").arg(key + 1));
        DrawLabelBefore(painter, DEFAULT_KEY_LIST_RECT, KEY_PAGE_LABEL_GAP,
                        QStringLiteral("Key Index"));

        const QRect help(300, 205, 305, 140);
        painter.save();
        painter.setPen(QPen(PANEL_BORDER, 1));
        painter.setBrush(PANEL);
        painter.drawRoundedRect(QRectF(help).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
        painter.restore();
        DrawText(painter, help.adjusted(14, 10, -14, 0), QStringLiteral("Key length"),
                 Font(13, true), INK);
        DrawText(painter, help.adjusted(14, 32, -14, -8),
                 QStringLiteral("64-bit WEP: 10 hex digits or 5 ASCII characters.\n"
                                "128-bit WEP: 26 hex digits or 13 ASCII characters.\n"
                                "Hex digits are 0 to 9 and A to F.\n"
                                "All keys you enter must have the same length."),
                 Font(12), MUTED, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
      });
}

QImage WpaBackground(bool wpa2) {
  return PageBackground(
      {QSize(635, 474), "3", wpa2 ? "Enter the WPA2 passphrase" : "Enter the WPA passphrase",
       "Enter the passphrase of the wireless network."},
      [wpa2](QPainter& painter) {
        DrawLabelBefore(painter, KEY_MODE_LIST_RECT, KEY_PAGE_LABEL_GAP,
                        QStringLiteral("Security"));
        DrawLabelBefore(painter, CIPHER_BOX_RECT, KEY_PAGE_LABEL_GAP, QStringLiteral("Encryption"));
        DrawLabelBefore(painter, PASSPHRASE_BOX_RECT, KEY_PAGE_LABEL_GAP,
                        QStringLiteral("Passphrase"));
        DrawNote(painter, QRect(CIPHER_BOX_RECT.right() + 13, CIPHER_BOX_RECT.top(), 340, 40),
                 wpa2 ? QStringLiteral("AES is selected automatically for WPA2-PSK.")
                      : QStringLiteral("TKIP is selected automatically for WPA-PSK."));
        DrawNote(painter,
                 QRect(PASSPHRASE_BOX_RECT.right() + 13, PASSPHRASE_BOX_RECT.top(), 320, 40),
                 QStringLiteral("The passphrase is case-sensitive and 8 to 63 characters long."));
      });
}

QImage SummaryBackground() {
  return PageBackground(
      {QSize(635, 474), "3", "Review and save",
       "Review the new settings, then click Next to save them into the bridge."},
      [](QPainter& painter) {
        DrawPanel(painter, QRect(24, 212, 292, 160), QStringLiteral("Old settings"), MUTED);
        DrawPanel(painter, QRect(320, 212, 291, 160), QStringLiteral("New settings"), ACCENT_DARK);
        const QString rows[] = {QStringLiteral("Channel"), QStringLiteral("Network Type"),
                                QStringLiteral("SSID"), QStringLiteral("Security")};
        for (int row = 0; row < SUMMARY_ROWS; ++row) {
          DrawLabelBefore(painter, OLD_SETTING_RECTS[row], LABEL_GAP, rows[row]);
          DrawLabelBefore(painter, NEW_SETTING_RECTS[row], LABEL_GAP, rows[row]);
        }
      });
}

QImage FinishBackground() {
  return PageBackground(
      {QSize(634, 473), "", "Congratulations!",
       "Your QBR20G bridge has been configured successfully."},
      [](QPainter& painter) {
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
        DrawText(painter, QRect(237, 346, 160, 20), QStringLiteral("QBR20G"), Font(14, true), INK,
                 Qt::AlignCenter);
        DrawButtonCaption(painter, WEB_SITE_BUTTON.rect, QStringLiteral("Visit Web Site"));
      });
}

} // namespace artwork
