// What each page says, once per page. The artwork draws these words, and the pages give the same
// words to screen readers: a page's title names its window and its instruction describes it, the
// label painted beside a control names that control, and a note painted near it describes it.
// Words that the artwork does not draw are marked as such.
#pragma once

#include <QtGlobal>

#include "res/page_layout.h"

// The heading of a page: its step badge (empty for the check mark), title and instruction.
struct PageHeading {
  const char* badge;
  const char* title;
  const char* instruction;
};

struct DeviceListWords {
  PageHeading heading;
  const char* list;    // the heading over the bridge list
  const char* version; // before the version number
  const char* refresh_note;
  const char* product; // the product picture's product name
};
inline constexpr DeviceListWords DEVICE_LIST_WORDS{
    //: Page 1 title, drawn in the header: one line of about 400 pixels in a large bold font.
    {"1", QT_TRANSLATE_NOOP("PageWords", "Select your bridge"),
     //: Page 1 instruction under the header: at most two lines of 575 pixels.
     QT_TRANSLATE_NOOP("PageWords", "Select a bridge from the list and click Next.")},
    //: The heading over the bridge list: one line of 270 pixels.
    QT_TRANSLATE_NOOP("PageWords", "Bridges on the network"),
    //: Drawn before the version number at the top right: about 60 pixels.
    QT_TRANSLATE_NOOP("PageWords", "Version"),
    //: A note beside the bridge list: a box of 150 x 80 pixels, wrapped.
    QT_TRANSLATE_NOOP("PageWords",
                      "Click Refresh List to find bridges recently added to the network."),
    "QBR20N",
};

struct SiteSurveyWords {
  PageHeading heading;
  const char* list; // not drawn: the list has its column headings only
  const char* from_list;
  const char* manual;
  const char* ssid;
  const char* channel;
  const char* manual_note;
};
inline constexpr SiteSurveyWords SITE_SURVEY_WORDS{
    //: Page 2 title, drawn in the header: one line of about 400 pixels in a large bold font.
    {"2", QT_TRANSLATE_NOOP("PageWords", "Choose a wireless network"),
     //: Page 2 instruction under the header: at most two lines of 575 pixels.
     QT_TRANSLATE_NOOP(
         "PageWords",
         "Select a network from the list, click Refresh List to search again, or enter the SSID "
         "manually. Then click Next.")},
    //: Not drawn: the name screen readers give the list of networks.
    QT_TRANSLATE_NOOP("PageWords", "Wireless networks"),
    //: The label of a choice: about 90 pixels, in bold.
    QT_TRANSLATE_NOOP("PageWords", "From list"),
    //: The label of a choice: about 60 pixels, in bold.
    QT_TRANSLATE_NOOP("PageWords", "Manual"),
    "SSID",
    //: A field label (and a summary row): at most 150 pixels, right-aligned, bold.
    QT_TRANSLATE_NOOP("PageWords", "Channel"),
    //: A note beside the manual entry: a box of 278 x 46 pixels, wrapped.
    QT_TRANSLATE_NOOP("PageWords", "You can enter the SSID manually, for a network that hides its "
                                   "name, and choose its channel."),
};

// A security mode as the security page explains it.
struct ModeWords {
  const char* mode;
  const char* meaning;
};

struct SecurityWords {
  PageHeading heading;
  const char* mode;
  ModeWords choices[4];
  const char* note;
};
inline constexpr SecurityWords SECURITY_WORDS{
    //: Page 3 title, drawn in the header: one line of about 400 pixels in a large bold font.
    {"3", QT_TRANSLATE_NOOP("PageWords", "Choose the security mode"),
     //: Page 3 instruction under the header: at most two lines of 575 pixels.
     QT_TRANSLATE_NOOP("PageWords", "Choose the security that the wireless network uses.")},
    //: A field label (and a summary row): at most 150 pixels, right-aligned, bold.
    QT_TRANSLATE_NOOP("PageWords", "Security"),
    //: A security mode: no security, an open network. Also an entry of the mode list: about 80
    //: pixels.
    {{QT_TRANSLATE_NOOP("PageWords", "Disable"),
      //: What a security mode means: one line of 340 pixels.
      QT_TRANSLATE_NOOP("PageWords", "an open network without a key")},
     //: What a security mode means: one line of 340 pixels.
     {"WEP", QT_TRANSLATE_NOOP("PageWords", "64-bit or 128-bit WEP keys")},
     //: What a security mode means: one line of 340 pixels.
     {"WPA-PSK", QT_TRANSLATE_NOOP("PageWords", "a passphrase, TKIP encryption")},
     //: What a security mode means: one line of 340 pixels.
     {"WPA2-PSK", QT_TRANSLATE_NOOP("PageWords", "a passphrase, AES encryption")}},
    //: A note under the security modes: at most two lines of about 560 pixels.
    QT_TRANSLATE_NOOP("PageWords", "Choose Disable and click Next for an open network; the other "
                                   "choices take you to their keys."),
};

struct WepWords {
  PageHeading heading;
  const char* mode;
  const char* keys[4];
  const char* key_index;
  const char* key_format; // not drawn: the hint under it says which format is chosen
  const char* help_title;
  const char* help;
  // The hints in their 5 x 7 pixel font, which has capitals and digits only.
  const char* hex_hint;
  const char* ascii_hint;
};
inline constexpr WepWords WEP_WORDS{
    //: Page 3 title (WEP keys): one line of about 400 pixels in a large bold font.
    {"3", QT_TRANSLATE_NOOP("PageWords", "Enter the WEP keys"),
     //: WEP page instruction under the header: at most two lines of 575 pixels.
     QT_TRANSLATE_NOOP("PageWords",
                       "Enter up to four keys and choose the key that the bridge uses.")},
    QT_TRANSLATE_NOOP("PageWords", "Security"),
    //: A field label: at most 150 pixels, right-aligned, bold.
    {QT_TRANSLATE_NOOP("PageWords", "Key 1"), QT_TRANSLATE_NOOP("PageWords", "Key 2"),
     QT_TRANSLATE_NOOP("PageWords", "Key 3"), QT_TRANSLATE_NOOP("PageWords", "Key 4")},
    //: A field label: at most 150 pixels, right-aligned, bold. The key (1 to 4) that the bridge
    //: sends with.
    QT_TRANSLATE_NOOP("PageWords", "Key Index"),
    //: Not drawn: the name screen readers give the list of key formats (ASCII or HEX).
    QT_TRANSLATE_NOOP("PageWords", "Key format"),
    //: The heading of the help box beside the keys: one line of about 220 pixels, bold.
    QT_TRANSLATE_NOOP("PageWords", "Key length"),
    //: The help box beside the keys: 4 lines of about 220 pixels, wrapped.
    QT_TRANSLATE_NOOP("PageWords", "64-bit WEP: 10 hex digits or 5 ASCII characters.\n"
                                   "128-bit WEP: 26 hex digits or 13 ASCII characters.\n"
                                   "Hex digits are 0 to 9 and A to F.\n"
                                   "All keys you enter must have the same length."),
    //: A hint in a 5 x 7 pixel font: at most 19 characters, capitals A-Z, digits, space and - / .
    //: only (anything else is drawn smaller in an ordinary font).
    QT_TRANSLATE_NOOP("PageWords", "10 OR 26 HEX DIGITS"),
    //: A hint in a 5 x 7 pixel font: at most 19 characters, capitals A-Z, digits, space and - / .
    //: only (anything else is drawn smaller in an ordinary font).
    QT_TRANSLATE_NOOP("PageWords", "5 OR 13 ASCII CHARS"),
};

struct WpaWords {
  PageHeading wpa_heading;
  PageHeading wpa2_heading;
  const char* mode;
  const char* cipher;
  const char* passphrase;
  const char* wpa_cipher_note;
  const char* wpa2_cipher_note;
  const char* passphrase_note;
};
inline constexpr WpaWords WPA_WORDS{
    //: Page 3 title (WPA-PSK): one line of about 400 pixels in a large bold font.
    {"3", QT_TRANSLATE_NOOP("PageWords", "Enter the WPA passphrase"),
     //: WPA page instruction under the header: at most two lines of 575 pixels.
     QT_TRANSLATE_NOOP("PageWords", "Enter the passphrase of the wireless network.")},
    //: Page 3 title (WPA2-PSK): one line of about 400 pixels in a large bold font.
    {"3", QT_TRANSLATE_NOOP("PageWords", "Enter the WPA2 passphrase"),
     QT_TRANSLATE_NOOP("PageWords", "Enter the passphrase of the wireless network.")},
    QT_TRANSLATE_NOOP("PageWords", "Security"),
    //: A field label: at most 150 pixels, right-aligned, bold.
    QT_TRANSLATE_NOOP("PageWords", "Encryption"),
    //: A field label: at most 150 pixels, right-aligned, bold.
    QT_TRANSLATE_NOOP("PageWords", "Passphrase"),
    //: A note beside the cipher: one line of about 300 pixels.
    QT_TRANSLATE_NOOP("PageWords", "TKIP is selected automatically for WPA-PSK."),
    //: A note beside the cipher: one line of about 300 pixels.
    QT_TRANSLATE_NOOP("PageWords", "AES is selected automatically for WPA2-PSK."),
    //: A note under the passphrase: at most two lines of about 300 pixels.
    QT_TRANSLATE_NOOP("PageWords", "The passphrase is case-sensitive and 8 to 63 characters long."),
};

struct SummaryWords {
  PageHeading heading;
  const char* old_settings;
  const char* new_settings;
  const char* rows[SUMMARY_ROWS];
};
inline constexpr SummaryWords SUMMARY_WORDS{
    //: Summary page title: one line of about 400 pixels in a large bold font.
    {"3", QT_TRANSLATE_NOOP("PageWords", "Review and save"),
     //: Summary page instruction under the header: at most two lines of 575 pixels.
     QT_TRANSLATE_NOOP("PageWords",
                       "Review the new settings, then click Next to save them into the bridge.")},
    //: The heading of a panel: one line of 260 pixels, bold.
    QT_TRANSLATE_NOOP("PageWords", "Old settings"),
    //: The heading of a panel: one line of 260 pixels, bold.
    QT_TRANSLATE_NOOP("PageWords", "New settings"),
    {QT_TRANSLATE_NOOP("PageWords", "Channel"),
     //: A summary row label: at most 150 pixels, right-aligned, bold.
     QT_TRANSLATE_NOOP("PageWords", "Network Type"), "SSID",
     QT_TRANSLATE_NOOP("PageWords", "Security")},
};

struct FinishWords {
  PageHeading heading;
  const char* product; // under the bridge's picture
};
inline constexpr FinishWords FINISH_WORDS{
    //: Finish page title: one line of about 400 pixels in a large bold font.
    {"", QT_TRANSLATE_NOOP("PageWords", "Congratulations!"),
     //: Finish page text under the header: at most two lines of 575 pixels.
     QT_TRANSLATE_NOOP("PageWords", "Your QBR20G bridge has been configured successfully.")},
    "QBR20G",
};

// A banner's words: its caption and the line under it.
struct BannerWords {
  const char* caption;
  const char* detail;
};
inline constexpr BannerWords SEARCHING_WORDS{
    //: A progress banner's caption: one line of 216 pixels, bold.
    QT_TRANSLATE_NOOP("PageWords", "Searching for the bridge ..."),
    //: The line under a progress banner's caption: one line of 216 pixels, small.
    QT_TRANSLATE_NOOP("PageWords", "Looking for QBR20G bridges on the wire")};
inline constexpr BannerWords PLEASE_WAIT_WORDS{
    //: A progress banner's caption: one line of 216 pixels, bold.
    QT_TRANSLATE_NOOP("PageWords", "Please wait ..."),
    //: The line under a progress banner's caption: one line of 216 pixels, small.
    QT_TRANSLATE_NOOP("PageWords", "The bridge is working on your request")};
inline constexpr BannerWords SAVED_NOTICE_WORDS{
    //: The saved notice's caption: one line of 280 pixels, large and bold.
    QT_TRANSLATE_NOOP("PageWords", "Settings saved"),
    //: The saved notice's text: at most two lines of 285 pixels.
    QT_TRANSLATE_NOOP("PageWords", "The new configuration has been saved in the bridge.")};
inline constexpr char SAVED_NOTICE_CLOSE_HINT[] =
    //: The saved notice's last line: one line of 285 pixels, small.
    QT_TRANSLATE_NOOP("PageWords", "Close this notice with the \u00d7 above.");
