// First page: searches the wire for bridges (when it opens and on Refresh List), lists them by
// MAC address and lets the user pick the one to set up. It fixes where all pages appear.
#pragma once

#include <QIcon>
#include <QStringList>

#include "wizard/worker_page.h"

class CHyperLinkButton;
class ReportList;

class CDeviceListPage : public CWorkerPage {
  Q_OBJECT

public:
  enum : int {
    IDD = 102,
    IDC_LIST = 1000,
    IDC_REFRESH = 1007,
    IDC_BACK = 1008,
    IDC_NEXT = 1009,
    IDC_STATUS = 1033,
    IDC_VERSION = 1046,
    IDC_PRODUCT_LINK = 1053
  };
  static constexpr const char* VERSION_TEXT = "5.0.32.7";

  CDeviceListPage();
  ~CDeviceListPage() override;

  bool OnInitDialog() override;
  void OnRefresh();
  void OnListClick();

private:
  // The search: discovery on the host adapters; the bridges found go to the list.
  void OnWorkStarted() override;
  void DoWork(const std::stop_token& stop) override;
  void OnWorkDone() override;

  CHyperLinkButton* product_link_;
  CTransparentLabel* version_label_;
  CTransparentLabel* status_;
  CSkinButton* refresh_;
  ReportList* list_;
  QIcon icon_;
  bool columns_ready_ = false;
};
