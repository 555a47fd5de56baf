// The application object: finds a usable wired adapter, then runs the pages one after another
// in a single loop — each page records its successor and closes, so the visible order is that
// of a chain of modal pages without a growing stack.
#pragma once

#include <QString>

#include <functional>
#include <memory>

#include "link/adapter_selection.h"

class CPageBase;

class CSetupApp {
public:
  // Screen corner at which every page opens; set by the first page.
  int page_origin_x = 0;
  int page_origin_y = 0;

  // Start-up and the whole page flow. Returns false, like a dialog-based application whose
  // main page has ended.
  bool InitInstance();
  int ExitInstance() { return 0; }

  // Runs `first` and every page it hands over to, until one ends the wizard.
  static void RunPages(std::unique_ptr<CPageBase> first);

  // How a start-up failure reaches the user; tests replace it.
  std::function<void(const QString&)> report_startup_failure;
};

extern CSetupApp theApp;

// Finds the usable adapters into `host_adapter_macs` and empties `selected_device_mac`.
bool start_up_link();

// The start-up failure message: "Error: NIC not found!", and when capture was refused for lack
// of rights, what to do about it.
QString StartupFailureText(AdapterSearchFailure failure, const QString& program_path);
