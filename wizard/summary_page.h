// The bridge's present settings beside the new ones; Next writes the new ones into the bridge
// on a worker and, once they are saved, hands over to the finish page.
#pragma once

#include <QString>

#include "wizard/worker_page.h"

class QLineEdit;

class CSummaryPage : public CWorkerPage {
  Q_OBJECT

public:
  enum : int {
    IDD = 107,
    IDC_BACK = 1030,
    IDC_NEXT = 1031,
    IDC_STATUS = 1038,
    // Old settings: channel, network type, SSID, security; then the new ones.
    IDC_OLD_CHANNEL = 1033,
    IDC_OLD_TYPE = 1032,
    IDC_OLD_SSID = 1034,
    IDC_OLD_SECURITY = 1035,
    IDC_NEW_CHANNEL = 1037,
    IDC_NEW_TYPE = 1036,
    IDC_NEW_SSID = 1006,
    IDC_NEW_SECURITY = 1039
  };

  CSummaryPage();
  ~CSummaryPage() override;

  // Where Back leads (see PageStep::origin).
  void SetOrigin(int origin) { origin_ = origin; }
  int Origin() const { return origin_; }

  bool OnInitDialog() override;
  void OnSave();

private:
  // The save: the configuration write with the user's settings.
  void OnWorkStarted() override;
  void DoWork(const std::stop_token& stop) override;
  void OnWorkDone() override;
  void UpdateControls();

  CTransparentLabel* status_;
  // Old settings, then new ones, each row by row.
  QLineEdit* boxes_[2 * SUMMARY_ROWS];
  QString texts_[2 * SUMMARY_ROWS];
  bool saved_ = false;
  int origin_ = 0;
};
