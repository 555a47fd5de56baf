// Every picture of the wizard, drawn from scratch.
#pragma once

#include <QImage>

namespace artwork {

// Page backgrounds.
QImage DeviceListBackground();
QImage SiteSurveyBackground();
QImage SecurityBackground();
QImage WepBackground();
QImage WpaBackground(bool wpa2); // WPA-PSK with TKIP, or WPA2-PSK with AES
QImage SummaryBackground();
QImage FinishBackground();

// Banners: kind 1 searching, 2 please wait; frames 0 to 3.
QImage ProgressFrame(int kind, int frame);
QImage SavedNotice(bool close_box_lit);

QImage ProductBubble(bool focused); // with the focus mark inside its edge
QImage ProductMask();
QImage KeyHint(bool hex);
QImage ApplicationIcon();

} // namespace artwork
