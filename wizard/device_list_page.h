// First page: searches the wire for bridges (when it opens and on Refresh List), lists them by
// MAC address and lets the user pick the one to set up. It fixes where all pages appear.
#pragma once

#include <QIcon>
#include <QStringList>

#include "wizard/wizard_page.h"

class CHyperLinkButton;
class QTableWidget;

class CDeviceListPage : public CWizardPage {
  Q_OBJECT

public:
  static constexpr int IDD = 102;
  static constexpr int IDC_LIST = 1000;
  static constexpr int IDC_REFRESH = 1007;
  static constexpr int IDC_BACK = 1008;
  static constexpr int IDC_NEXT = 1009;
  static constexpr int IDC_STATUS = 1033;
  static constexpr int IDC_VERSION = 1046;
  static constexpr int IDC_PRODUCT_LINK = 1053;
  static constexpr const char* VERSION_TEXT = "5.0.32.7";

  CDeviceListPage();
  ~CDeviceListPage() override;

  bool OnInitDialog() override;
  void OnRefresh();
  void OnNext();
  void OnListClick();

  QTableWidget* List() const { return list_; }
  CProgressBanner* Banner() const { return banner_; }

protected:
  void OnTimer(int id) override;
  void OnPageMessage(int message) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  // The search worker: discovery on the host adapters, then the list handed to the UI.
  void SearchWorker();
  void FillList(const QStringList& macs);

  CHyperLinkButton* product_link_;
  CTransparentLabel* version_label_;
  CTransparentLabel* status_;
  CSkinButton* exit_;
  CSkinButton* refresh_;
  CSkinButton* next_;
  CSkinButton* back_;
  QTableWidget* list_;
  QIcon icon_;
  bool columns_ready_ = false;
  CProgressBanner* banner_ = nullptr;
};
