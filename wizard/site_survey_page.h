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
  static constexpr int IDD = 103;
  static constexpr int IDC_BACK = 1001;
  static constexpr int IDC_NEXT = 1002;
  static constexpr int IDC_REFRESH = 1003;
  static constexpr int IDC_FROM_LIST = 1004;
  static constexpr int IDC_MANUAL = 1005;
  static constexpr int IDC_SSID = 1006;
  static constexpr int IDC_LIST = 1010;
  static constexpr int IDC_STATUS = 1034;
  static constexpr int IDC_CHANNEL = 1051;

  CSiteSurveyPage();
  ~CSiteSurveyPage() override;

  bool OnInitDialog() override;
  void OnRefresh();
  void OnListMode();
  void OnManualMode();
  void OnRowChoice();
  void OnSsidChange();
  void OnNext();
  void OnBack();

  int EntryChoice() const { return entry_choice_; }
  bool HiddenRowSelected() const { return hidden_row_selected_; }
  int SecurityModeNumber() const { return security_mode_; }

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
  CSkinButton* next_;
  CSkinButton* back_;
  CSkinButton* exit_;
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
