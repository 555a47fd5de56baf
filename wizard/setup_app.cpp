#include "wizard/setup_app.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QStandardPaths>

#include "wizard/link_state.h"
#include "wizard/page_flow.h"

CSetupApp theApp;

namespace {

// The secondary text for the message box: paragraphs as they are, and the indented command
// lines unwrapped in a fixed font, so that the command reads and copies as one line.
QString SecondaryHtml(const QString& secondary) {
  QString html;
  for (const QString& block : secondary.split(QStringLiteral("\n\n"))) {
    if (block.startsWith(QStringLiteral("    "))) {
      QStringList lines = block.split(QLatin1Char('\n'));
      for (QString& line : lines)
        line = line.trimmed().toHtmlEscaped();
      html += QStringLiteral("<pre>") + lines.join(QLatin1Char('\n')) + QStringLiteral("</pre>");
    } else {
      html += QStringLiteral("<p>") + block.toHtmlEscaped().replace(QLatin1Char('\n'), "<br>") +
              QStringLiteral("</p>");
    }
  }
  return html;
}

} // namespace

bool start_up_link() {
  char list[HOST_ADAPTER_MACS_SIZE] = {};
  if (find_usable_adapters(list) < 0)
    return false;
  host_adapter_macs.Set(list);
  selected_device_mac.Clear();
  return true;
}

QString StartupFailureMessage::PlainText() const {
  return secondary.isEmpty() ? primary : primary + QStringLiteral("\n\n") + secondary;
}

StartupFailureMessage StartupFailureText(AdapterSearchFailure failure, const QString& pcap_error,
                                         const QString& program_path, const QString& setcap_path) {
  StartupFailureMessage message;
  message.primary = QStringLiteral("Error: NIC not found!");
  const QString libpcap_words =
      pcap_error.isEmpty() ? QString() : QStringLiteral(" (libpcap: %1)").arg(pcap_error);
  if (failure == AdapterSearchFailure::PermissionDenied) {
    message.secondary =
        QStringLiteral("This program may not capture frames on the network adapters%1.\n\n")
            .arg(libpcap_words);
    if (setcap_path.isEmpty()) {
      message.secondary +=
          QStringLiteral("Install the package libcap2-bin and give the program the right "
                         "to capture, then start it again:\n\n"
                         "    sudo apt-get install libcap2-bin\n"
                         "    sudo /usr/sbin/setcap cap_net_raw=ep %1")
              .arg(program_path);
    } else {
      message.secondary += QStringLiteral("Give the program the right to capture, then start it "
                                          "again:\n\n"
                                          "    sudo %1 cap_net_raw=ep %2")
                               .arg(setcap_path, program_path);
    }
    return message;
  }
  message.secondary =
      QStringLiteral("No wired Ethernet adapter of this computer is up with a cable plugged in "
                     "and able to send%1.\n\n"
                     "Connect the bridge to a wired Ethernet port of this computer with a cable, "
                     "switch the bridge on, make sure the adapter is enabled, then start the "
                     "wizard again.")
          .arg(libpcap_words);
  return message;
}

QString FindSetcap() {
  QString path = QStandardPaths::findExecutable(QStringLiteral("setcap"));
  if (path.isEmpty()) {
    path = QStandardPaths::findExecutable(QStringLiteral("setcap"),
                                          {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
  }
  return path;
}

bool CSetupApp::InitInstance() {
  startup_failed_ = false;
  if (!start_up_link()) {
    startup_failed_ = true;
    const StartupFailureMessage message = StartupFailureText(
        last_adapter_search_failure(), QString::fromStdString(last_adapter_open_error()),
        QCoreApplication::applicationFilePath(), FindSetcap());
    if (report_startup_failure) {
      report_startup_failure(message.PlainText());
    } else {
      QMessageBox box(QMessageBox::Critical, QStringLiteral("QBR20G"), message.primary,
                      QMessageBox::Ok);
      box.setInformativeText(SecondaryHtml(message.secondary));
      // The fix is a command to copy.
      box.setTextInteractionFlags(Qt::TextSelectableByMouse);
      box.exec();
    }
    return false;
  }
  RunPages(BuildPage({Page::DeviceList}));
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
