// Last page, after a successful save: the saved notice and a button to the maker's web site.
#pragma once

#include "wizard/wizard_page.h"

class CFinishPage : public CWizardPage {
  Q_OBJECT

public:
  static constexpr int IDD = 179;
  static constexpr int IDC_BACK = 1030;
  static constexpr int IDC_NEXT = 1031;
  static constexpr int IDC_WEB_SITE = 1032;

  CFinishPage();

  bool OnInitDialog() override;
  void OpenMakerSite();
  CProgressBanner* Banner() const { return banner_; }

private:
  CSkinButton* web_site_;
  CSkinButton* exit_;
  CSkinButton* next_;
  CSkinButton* back_;
  CProgressBanner* banner_ = nullptr;
};
