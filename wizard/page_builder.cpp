// The one place that knows every page class: builds the page the flow names, with the
// presets its opener gives it.
#include "wizard/device_list_page.h"
#include "wizard/finish_page.h"
#include "wizard/page_flow.h"
#include "wizard/security_page.h"
#include "wizard/site_survey_page.h"
#include "wizard/summary_page.h"
#include "wizard/wep_page.h"
#include "wizard/wpa_page.h"

std::unique_ptr<CPageBase> BuildPage(const PageStep& step) {
  switch (step.page) {
  case Page::DeviceList:
    return std::make_unique<CDeviceListPage>();
  case Page::SiteSurvey:
    return std::make_unique<CSiteSurveyPage>();
  case Page::Security:
    return std::make_unique<CSecurityPage>();
  case Page::Wep: {
    auto page = std::make_unique<CWepPage>();
    page->SetSecurityModeNumber(step.security_mode);
    return page;
  }
  case Page::Wpa: {
    auto page = std::make_unique<CWpaPage>();
    page->SetSecurityModeNumber(step.security_mode);
    page->SetModeListEnabled(step.mode_list_enabled);
    return page;
  }
  case Page::Summary: {
    auto page = std::make_unique<CSummaryPage>();
    page->SetOrigin(step.origin);
    return page;
  }
  case Page::Finish:
    return std::make_unique<CFinishPage>();
  }
  return nullptr;
}
