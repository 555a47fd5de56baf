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
  // The process's exit status: 1 when start-up found no usable adapter, so scripts can tell.
  int ExitInstance() const { return startup_failed_ ? 1 : 0; }

  // Runs `first` and every page it hands over to, until one ends the wizard.
  static void RunPages(std::unique_ptr<CPageBase> first);

  // How a start-up failure reaches the user (the message's plain text); tests replace it.
  std::function<void(const QString&)> report_startup_failure;

private:
  bool startup_failed_ = false;
};

extern CSetupApp theApp;

// Finds the usable adapters into `host_adapter_macs` and empties `selected_device_mac`.
bool start_up_link();

// A start-up failure worded as Wireshark words a capture error: a primary line, then a secondary
// text with the cause and the fix.
struct StartupFailureMessage {
  QString primary;
  QString secondary;
  // Both, a blank line between them: what a reader of the message box sees.
  QString PlainText() const;
};

// The message for a failed adapter search. `pcap_error` is libpcap's text for the last capture
// that would not open, or why the link helper could not be started (may be empty);
// `helper_path` the link helper, the program that needs the right to capture; `setcap_path`
// where setcap is installed, empty when it is not.
StartupFailureMessage StartupFailureText(AdapterSearchFailure failure, const QString& pcap_error,
                                         const QString& helper_path, const QString& setcap_path);

// setcap on this machine (ordinary users' PATH lacks /usr/sbin, where Debian puts it); empty
// when libcap2-bin is not installed.
QString FindSetcap();
