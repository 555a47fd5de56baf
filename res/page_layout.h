// Where the controls sit on the pages, in client pixels, and the pictures of the skinned
// buttons. The pages place their controls here and the backgrounds draw the buttons' captions
// and the fields' labels at the same places, so the two cannot drift apart.
#pragma once

#include <QRect>
#include <QSize>
#include <QtGlobal>

#include "res/artwork_ids.h"

// A skinned button: its rectangle, its normal, hover and pressed pictures, the picture with the
// focus mark that it shows while it has the keyboard focus, and its caption (drawn on the pictures
// and in the page's background, and the button's name for screen readers).
struct ButtonPlace {
  QRect rect;
  ArtworkId normal, hover, pressed, focused;
  const char* caption;
};

// The navigation row of every page.
inline constexpr ButtonPlace BACK_BUTTON{
    {430, 409, 48, 21}, BACK_NORMAL,  BACK_HOVER,
    BACK_PRESSED,       BACK_FOCUSED, QT_TRANSLATE_NOOP("PageWords", "Back")};
inline constexpr ButtonPlace NEXT_BUTTON{
    {487, 409, 47, 22}, NEXT_NORMAL,  NEXT_HOVER,
    NEXT_PRESSED,       NEXT_FOCUSED, QT_TRANSLATE_NOOP("PageWords", "Next")};
inline constexpr ButtonPlace EXIT_BUTTON{
    {544, 409, 43, 23}, EXIT_NORMAL,  EXIT_HOVER,
    EXIT_NORMAL,        EXIT_FOCUSED, QT_TRANSLATE_NOOP("PageWords", "Exit")};

// The banner of a page that talks to the bridge, and the finish page's saved notice with the
// close box in its top-right corner.
inline constexpr QSize WORK_BANNER_SIZE{290, 82};
inline constexpr QSize SAVED_NOTICE_SIZE{395, 130};
inline constexpr QRect SAVED_NOTICE_CLOSE_BOX{370, 0, 25, 24};

// Device list page.
inline constexpr ButtonPlace DEVICE_LIST_REFRESH_BUTTON{
    {465, 198, 122, 25}, REFRESH_NORMAL,  REFRESH_HOVER,
    REFRESH_NORMAL,      REFRESH_FOCUSED, QT_TRANSLATE_NOOP("PageWords", "Refresh List")};
inline constexpr QRect DEVICE_LIST_RECT{190, 234, 265, 153};
inline constexpr QRect VERSION_LABEL_RECT{322, 110, 64, 23};
// The product bubble, at its template place widened by the pixel the conversion loses.
inline constexpr QRect PRODUCT_LINK_RECT{408, 0, 227, 182};

// Site survey page.
inline constexpr ButtonPlace SURVEY_REFRESH_BUTTON{
    {488, 320, 122, 25}, REFRESH_NORMAL,  REFRESH_HOVER,
    REFRESH_NORMAL,      REFRESH_FOCUSED, QT_TRANSLATE_NOOP("PageWords", "Refresh List")};
inline constexpr QRect NETWORK_LIST_RECT{120, 197, 496, 121};
inline constexpr QRect FROM_LIST_RADIO_RECT{101, 200, 13, 13};
inline constexpr QRect MANUAL_RADIO_RECT{101, 355, 13, 13};
inline constexpr QRect SSID_BOX_RECT{167, 352, 150, 21};
inline constexpr QRect CHANNEL_LIST_RECT{167, 377, 150, 22};

// Security page.
inline constexpr QRect SECURITY_MODE_LIST_RECT{161, 205, 100, 22};

// WEP and WPA pages: the mode list, then the WEP keys one under another, the default key and
// the key format hint; or the WPA cipher and passphrase.
inline constexpr QRect KEY_MODE_LIST_RECT{163, 205, 90, 22};
inline constexpr QRect WEP_KEY_RECTS[4] = {
    {163, 255, 110, 20}, {163, 279, 110, 20}, {163, 303, 110, 20}, {163, 327, 110, 20}};
inline constexpr QRect DEFAULT_KEY_LIST_RECT{163, 364, 90, 22};
inline constexpr QRect KEY_HINT_RECT{361, 370, 114, 8};
inline constexpr QRect CIPHER_BOX_RECT{163, 270, 90, 20};
inline constexpr QRect PASSPHRASE_BOX_RECT{163, 338, 110, 20};

// Summary page: rows channel, network type, SSID and security; old settings on the left, new
// ones on the right.
inline constexpr int SUMMARY_ROWS = 4;
inline constexpr QRect OLD_SETTING_RECTS[SUMMARY_ROWS] = {
    {187, 258, 120, 18}, {187, 285, 120, 18}, {187, 312, 120, 18}, {187, 339, 120, 18}};
inline constexpr QRect NEW_SETTING_RECTS[SUMMARY_ROWS] = {
    {419, 258, 120, 18}, {419, 285, 120, 18}, {419, 312, 120, 18}, {419, 339, 120, 18}};

// Finish page.
inline constexpr ButtonPlace WEB_SITE_BUTTON{
    {300, 407, 106, 24}, WEB_SITE_NORMAL,  WEB_SITE_HOVER,
    WEB_SITE_NORMAL,     WEB_SITE_FOCUSED, QT_TRANSLATE_NOOP("PageWords", "Visit Web Site")};
