// The order of the pages, in one place: from a page and the user's choice, which page comes
// next and what it is given. Pages ask the flow for their successor and hand over to it; none
// of them knows another page's class.
//
//   device list --Next--> site survey --Next, by the chosen network's mode--> summary (Disable),
//   WEP page, WPA page locked on the network's mode; an SSID typed by hand --> security page.
//   security, WEP and WPA pages --Next--> summary; --a mode in their list--> that mode's page
//   (Disable: the security page); --Back--> site survey.
//   summary --Back--> where it was reached from; --saved--> finish page.
//   site survey --Back--> a new device list.
#pragma once

#include <memory>
#include <optional>

#include "platform/page_base.h"

enum class Page { DeviceList, SiteSurvey, Security, Wep, Wpa, Summary, Finish };

enum class Choice {
  Next,      // Next; on the site survey page, with a network chosen from the list
  NextTyped, // Next on the site survey page with an SSID typed by hand
  Back,
  Mode,  // a security mode chosen in the mode list of the security, WEP or WPA page
  Saved, // the summary page's write has succeeded
};

// A page to open and what its opener presets in it.
struct PageStep {
  Page page = Page::DeviceList;
  int security_mode = 0;         // WEP and WPA pages: where their mode list opens
  bool mode_list_enabled = true; // WPA page: false locks the list on the network's mode
  // Summary page: where its Back leads. 0 the site survey page; a security mode number plus 1
  // the page of that mode (1 security page, 2 WEP, 3 WPA-PSK, 4 WPA2-PSK).
  int origin = 0;

  friend bool operator==(const PageStep&, const PageStep&) = default;
};

// The page that follows `choice` on page `from`, or nothing when the page stays (a mode list
// set to the page's own mode). `mode` is the security mode number that the choice concerns:
// the chosen network's for Next on the site survey page, the page's own for Next on the
// security, WEP and WPA pages, the chosen one for Mode. For Back on the summary page it is the
// summary's `origin`.
std::optional<PageStep> NextPage(Page from, Choice choice, int mode = 0);

// Builds the page of `step` with its presets. Defined in page_builder.cpp, the one file that
// knows every page class.
std::unique_ptr<CPageBase> BuildPage(const PageStep& step);
