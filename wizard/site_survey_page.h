// Second page: has the chosen bridge survey the air, lists the networks it hears, and lets the
// user pick one (typing the name of a hidden one) or enter an SSID and channel by hand.
#pragma once

#include <QVector>

#include "device/wireless_records.h"
#include "wizard/worker_page.h"

class QButtonGroup;
class QComboBox;
class QLineEdit;
class QRadioButton;
class ReportList;

class CSiteSurveyPage : public CWorkerPage {
  Q_OBJECT

public:
  enum : int {
    IDD = 103,
    IDC_BACK = 1001,
    IDC_NEXT = 1002,
    IDC_REFRESH = 1003,
    IDC_FROM_LIST = 1004,
    IDC_MANUAL = 1005,
    IDC_SSID = 1006,
    IDC_LIST = 1010,
    IDC_STATUS = 1034,
    IDC_CHANNEL = 1051
  };

  CSiteSurveyPage();
  ~CSiteSurveyPage() override;

  bool OnInitDialog() override;
  void OnRefresh();
  void OnListMode();
  void OnManualMode();
  // A row chosen in the list; from the keyboard, the focus stays in the list.
  void OnRowChoice(bool by_keyboard = false);
  void OnSsidChange();
  void OnNext();

private:
  // The survey: the bridge's report into the records, then its networks into the list.
  void OnWorkStarted() override;
  void DoWork(const std::stop_token& stop) override;
  void OnWorkDone() override;
  void FillList(const QVector<NetworkEntry>& rows);
  void UpdateControls();
  void ReadControls();
  int ChannelNumber() const;

  ReportList* list_;
  CSkinButton* refresh_;
  QRadioButton* from_list_;
  QRadioButton* manual_;
  QButtonGroup* entry_group_;
  QLineEdit* ssid_box_;
  QComboBox* channel_;
  CTransparentLabel* status_;

  QString ssid_text_;
  int entry_choice_ = 0;
  bool list_ready_ = false;
  bool hidden_row_selected_ = false;
  int selected_row_ = -1;
  int security_mode_ = 0;
  // The networks the list shows, as the survey stored them.
  QVector<NetworkEntry> rows_;
};
