#include "wizard/page_flow.h"

#include "device/security_modes.h"

namespace {

// The page where the user enters what security mode `mode` needs; the security page for
// Disable.
PageStep PageOfMode(int mode, bool mode_list_enabled = true) {
  switch (mode) {
  case SECURITY_DISABLE:
    return {Page::Security};
  case SECURITY_WEP:
    return {Page::Wep, SECURITY_WEP};
  default:
    return {Page::Wpa, mode, mode_list_enabled};
  }
}

PageStep SummaryFrom(int origin) { return {.page = Page::Summary, .origin = origin}; }

} // namespace

std::optional<PageStep> NextPage(Page from, Choice choice, int mode) {
  if (choice == Choice::Back) {
    switch (from) {
    case Page::DeviceList:
    case Page::Finish:
      return std::nullopt;
    case Page::SiteSurvey:
      return PageStep{Page::DeviceList};
    case Page::Summary:
      return mode == 0 ? PageStep{Page::SiteSurvey} : PageOfMode(mode - 1);
    default:
      return PageStep{Page::SiteSurvey};
    }
  }
  switch (from) {
  case Page::DeviceList:
    return PageStep{Page::SiteSurvey};
  case Page::SiteSurvey:
    if (choice == Choice::NextTyped)
      return PageStep{Page::Security};
    return mode == SECURITY_DISABLE ? SummaryFrom(0) : PageOfMode(mode, false);
  case Page::Security:
  case Page::Wep:
  case Page::Wpa:
    if (choice == Choice::Next)
      return SummaryFrom(mode + 1);
    if (PageOfMode(mode).page == from)
      return std::nullopt;
    return PageOfMode(mode);
  case Page::Summary:
    if (choice == Choice::Saved)
      return PageStep{Page::Finish};
    break;
  case Page::Finish:
    break;
  }
  return std::nullopt;
}
