// Last page, after a successful save: the saved notice and a button to the maker's web site.
#pragma once

#include "wizard/wizard_page.h"

class CFinishPage : public CWizardPage {
  Q_OBJECT

public:
  enum : int { IDD = 179, IDC_BACK = 1030, IDC_NEXT = 1031, IDC_WEB_SITE = 1032 };

  CFinishPage();

  bool OnInitDialog() override;
  void OpenMakerSite();
  CProgressBanner* Banner() const { return banner_; }

protected:
  // Nothing is left to lose here: Enter ends the wizard, as Exit does.
  void OnEnter() override;

private:
  CSkinButton* web_site_;
  CProgressBanner* banner_ = nullptr;
};
