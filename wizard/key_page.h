// What the WEP and WPA pages share: their opener presets the security mode number at which
// their mode list opens.
#pragma once

#include "wizard/wizard_page.h"

class CKeyPage : public CWizardPage {
public:
  CKeyPage(Page page, int idd, int security_mode)
      : CWizardPage(page, idd), security_mode_(security_mode) {}

  void SetSecurityModeNumber(int mode) { security_mode_ = mode; }
  int SecurityModeNumber() const { return security_mode_; }

protected:
  int security_mode_;
};
