#include "wizard/finish_page.h"

#include "platform/open_link.h"
#include "skin/page_skin.h"
#include "skin/progress_banner.h"
#include "skin/skin_button.h"
#include "wizard/page_messages.h"

CFinishPage::CFinishPage() : CWizardPage(Page::Finish, IDD, 365, 224) {
  exit_ = AddExitButton(258, 182, 61, 16);
  next_ = AddSkinButton(IDC_NEXT, 175, 181, 61, 16);
  next_->setEnabled(false);
  back_ = AddSkinButton(IDC_BACK, 95, 182, 61, 16);
  back_->setEnabled(false);
  web_site_ = AddSkinButton(IDC_WEB_SITE, 29, 184, 61, 16);
  connect(web_site_, &QPushButton::clicked, this, &CFinishPage::OpenMakerSite);
}

bool CFinishPage::OnInitDialog() {
  SkinPage(FINISH_BACKGROUND);
  PlaceSkinButton(web_site_, WEB_SITE_BUTTON);
  PlaceNavigation();
  banner_ = AddBanner(SAVED_NOTICE_SIZE);
  banner_->SetKind(BANNER_SAVED);
  banner_->Start();
  // Enter ends the wizard here, and so does the button that has the focus at first.
  FinishSetUp(FINISH_WORDS.heading, exit_);
  return true;
}

void CFinishPage::OnEnter() { EndWizard(); }

void CFinishPage::OpenMakerSite() {
  // The result is not examined: nothing is reported when the site cannot be opened.
  OpenLinkAsync(QString::fromLatin1(MAKER_SITE_URL), this, [](int) {});
}
