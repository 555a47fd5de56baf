// Choice of the security mode for an SSID typed by hand: "Disable" goes on to the summary,
// the other modes leave at once for the WEP or WPA page.
#pragma once

#include "wizard/wizard_page.h"

class QComboBox;

class CSecurityPage : public CWizardPage {
  Q_OBJECT

public:
  enum : int { IDD = 104, IDC_MODE = 1014, IDC_BACK = 1015, IDC_NEXT = 1016 };

  CSecurityPage();

  bool OnInitDialog() override;
  void OnModeChoice(int position);
  void OnNext();

private:
  QComboBox* mode_;
};
