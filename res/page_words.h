// What each page says, once per page. The artwork draws these words, and the pages give the same
// words to screen readers: a page's title names its window and its instruction describes it, the
// label painted beside a control names that control, and a note painted near it describes it.
// Words that the artwork does not draw are marked as such.
#pragma once

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
    {"1", "Select your bridge", "Select a bridge from the list and click Next."},
    "Bridges on the network",
    "Version",
    "Click Refresh List to find bridges recently added to the network.",
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
    {"2", "Choose a wireless network",
     "Select a network from the list, click Refresh List to search again, or enter the SSID "
     "manually. Then click Next."},
    "Wireless networks",
    "From list",
    "Manual",
    "SSID",
    "Channel",
    "You can enter the SSID manually, for a network that hides its name, and choose its channel.",
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
    {"3", "Choose the security mode", "Choose the security that the wireless network uses."},
    "Security",
    {{"Disable", "an open network without a key"},
     {"WEP", "64-bit or 128-bit WEP keys"},
     {"WPA-PSK", "a passphrase, TKIP encryption"},
     {"WPA2-PSK", "a passphrase, AES encryption"}},
    "Choose Disable and click Next for an open network; the other choices take you to their keys.",
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
    {"3", "Enter the WEP keys", "Enter up to four keys and choose the key that the bridge uses."},
    "Security",
    {"Key 1", "Key 2", "Key 3", "Key 4"},
    "Key Index",
    "Key format",
    "Key length",
    "64-bit WEP: 10 hex digits or 5 ASCII characters.\n"
    "128-bit WEP: 26 hex digits or 13 ASCII characters.\n"
    "Hex digits are 0 to 9 and A to F.\n"
    "All keys you enter must have the same length.",
    "10 OR 26 HEX DIGITS",
    "5 OR 13 ASCII CHARS",
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
    {"3", "Enter the WPA passphrase", "Enter the passphrase of the wireless network."},
    {"3", "Enter the WPA2 passphrase", "Enter the passphrase of the wireless network."},
    "Security",
    "Encryption",
    "Passphrase",
    "TKIP is selected automatically for WPA-PSK.",
    "AES is selected automatically for WPA2-PSK.",
    "The passphrase is case-sensitive and 8 to 63 characters long.",
};

struct SummaryWords {
  PageHeading heading;
  const char* old_settings;
  const char* new_settings;
  const char* rows[SUMMARY_ROWS];
};
inline constexpr SummaryWords SUMMARY_WORDS{
    {"3", "Review and save",
     "Review the new settings, then click Next to save them into the bridge."},
    "Old settings",
    "New settings",
    {"Channel", "Network Type", "SSID", "Security"},
};

struct FinishWords {
  PageHeading heading;
  const char* product; // under the bridge's picture
};
inline constexpr FinishWords FINISH_WORDS{
    {"", "Congratulations!", "Your QBR20G bridge has been configured successfully."},
    "QBR20G",
};

// A banner's words: its caption and the line under it.
struct BannerWords {
  const char* caption;
  const char* detail;
};
inline constexpr BannerWords SEARCHING_WORDS{"Searching for the bridge ...",
                                             "Looking for QBR20G bridges on the wire"};
inline constexpr BannerWords PLEASE_WAIT_WORDS{"Please wait ...",
                                               "The bridge is working on your request"};
inline constexpr BannerWords SAVED_NOTICE_WORDS{
    "Settings saved", "The new configuration has been saved in the bridge."};
inline constexpr char SAVED_NOTICE_CLOSE_HINT[] = "Close this notice with the \u00d7 above.";
