// Every picture of the wizard, drawn from scratch.
#pragma once

#include <QImage>

namespace artwork {

// Page backgrounds.
QImage DeviceListBackground();   // 159
QImage SiteSurveyBackground();   // 172
QImage SecurityBackground();     // 173
QImage WepBackground();          // 174
QImage WpaBackground(bool wpa2); // 175 (WPA-PSK, TKIP), 176 (WPA2-PSK, AES)
QImage SummaryBackground();      // 177
QImage FinishBackground();       // 178

// Banners: kind 1 searching, 2 please wait; frames 0 to 3.
QImage ProgressFrame(int kind, int frame); // 139-142, 145-148
QImage SavedNotice(bool close_box_lit);    // 150, 151

QImage ProductBubble();   // 222
QImage ProductMask();     // 221
QImage KeyHint(bool hex); // 197 (ASCII), 198 (hex)
QImage ApplicationIcon(); // 128

} // namespace artwork
