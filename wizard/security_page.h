// Choice of the security mode for an SSID typed by hand: "Disable" goes on to the summary,
// the other modes leave at once for the WEP or WPA page.
#pragma once

#include "wizard/wizard_page.h"

class QComboBox;

class CSecurityPage : public CWizardPage {
  Q_OBJECT

public:
  static constexpr int IDD = 104;
  static constexpr int IDC_MODE = 1014;
  static constexpr int IDC_BACK = 1015;
  static constexpr int IDC_NEXT = 1016;

  CSecurityPage();

  bool OnInitDialog() override;
  void OnModeChoice(int position);
  void OnNext();
  void OnBack();

private:
  CSkinButton* back_;
  CSkinButton* next_;
  CSkinButton* exit_;
  QComboBox* mode_;
};
