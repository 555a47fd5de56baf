// The bridge's present settings beside the new ones; Next writes the new ones into the bridge
// on a worker and, once they are saved, hands over to the finish page.
#pragma once

#include <QString>

#include "wizard/wizard_page.h"

class QLineEdit;

class CSummaryPage : public CWizardPage {
  Q_OBJECT

public:
  static constexpr int IDD = 107;
  static constexpr int IDC_BACK = 1030;
  static constexpr int IDC_NEXT = 1031;
  static constexpr int IDC_STATUS = 1038;
  // Old settings: channel, network type, SSID, security; then the new ones.
  static constexpr int IDC_OLD_CHANNEL = 1033;
  static constexpr int IDC_OLD_TYPE = 1032;
  static constexpr int IDC_OLD_SSID = 1034;
  static constexpr int IDC_OLD_SECURITY = 1035;
  static constexpr int IDC_NEW_CHANNEL = 1037;
  static constexpr int IDC_NEW_TYPE = 1036;
  static constexpr int IDC_NEW_SSID = 1006;
  static constexpr int IDC_NEW_SECURITY = 1039;

  CSummaryPage();
  ~CSummaryPage() override;

  // The page it was reached from: 0 site survey, 1 security, 2 WEP, 3 WPA-PSK, 4 WPA2-PSK.
  void SetOrigin(int origin) { origin_ = origin; }
  int Origin() const { return origin_; }
  bool Saved() const { return saved_; }

  bool OnInitDialog() override;
  void OnSave();
  void OnBack();

protected:
  void OnTimer(int id) override;
  void OnPageMessage(int message) override;

private:
  void SaveWorker();
  void UpdateControls();

  CSkinButton* back_;
  CSkinButton* next_;
  CSkinButton* exit_;
  CTransparentLabel* status_;
  CProgressBanner* banner_ = nullptr;
  QLineEdit* boxes_[8];
  QString texts_[8];
  bool saved_ = false;
  int origin_ = 0;
};
