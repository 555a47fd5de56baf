// The wizard's pages from the WPA2 passphrase page on, as the wizard runs them, for
// atspi_reader.py to read over the accessibility bus as a screen reader does. No link is opened:
// the reader goes no further than the summary page. Ends itself after three minutes at the
// latest.
#include <QApplication>
#include <QTimer>

#include <cstdlib>

#include "device/security_modes.h"
#include "wizard/page_flow.h"
#include "wizard/setup_app.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  QTimer::singleShot(180000, [] { std::_Exit(3); });
  CSetupApp::RunPages(BuildPage({Page::Wpa, SECURITY_WPA2_PSK, true}));
  return 0;
}
