#include "wizard/setup_app.h"

#include <QCoreApplication>
#include <QMessageBox>

#include "wizard/device_list_page.h"
#include "wizard/link_state.h"

CSetupApp theApp;

bool start_up_link() {
  char list[HOST_ADAPTER_MACS_SIZE] = {};
  if (find_usable_adapters(list) < 0)
    return false;
  host_adapter_macs.Set(list);
  selected_device_mac.Clear();
  return true;
}

QString StartupFailureText(AdapterSearchFailure failure, const QString& program_path) {
  QString text = QStringLiteral("Error: NIC not found!");
  if (failure == AdapterSearchFailure::PermissionDenied) {
    text += QStringLiteral(
                "\n\nThe wizard is not allowed to capture frames on this computer's network "
                "adapters.\nRun the installed qbr20g-setup, which carries that right, or grant "
                "it to this program with:\n\n    sudo setcap cap_net_raw=ep %1")
                .arg(program_path);
  }
  return text;
}

bool CSetupApp::InitInstance() {
  if (!start_up_link()) {
    const QString text =
        StartupFailureText(last_adapter_search_failure(), QCoreApplication::applicationFilePath());
    if (report_startup_failure)
      report_startup_failure(text);
    else
      QMessageBox::critical(nullptr, QStringLiteral("QBR20G"), text);
    return false;
  }
  RunPages(std::make_unique<CDeviceListPage>());
  return false;
}

void CSetupApp::RunPages(std::unique_ptr<CPageBase> page) {
  while (page) {
    page->exec();
    page->StopWorker();
    CPageBase::PageFactory next = page->TakeNextPage();
    page.reset();
    page = next ? next() : nullptr;
  }
}
