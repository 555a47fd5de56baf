#include "wizard/setup_app.h"

#include <QCoreApplication>
#include <QMessageBox>

#include "link/adapter_failure_text.h"
#include "link/link_helper.h"
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
  char list[HOST_ADAPTER_LIST_SIZE] = {};
  if (find_usable_adapters(list) < 0)
    return false;
  host_adapter_macs.Set(list);
  bridges_answered = false;
  selected_device_mac.Clear();
  return true;
}

QString StartupFailureMessage::PlainText() const {
  return secondary.isEmpty() ? primary : primary + QStringLiteral("\n\n") + secondary;
}

StartupFailureMessage StartupFailureText(AdapterSearchFailure failure, const QString& pcap_error,
                                         const QString& helper_path, const QString& setcap_path) {
  const AdapterFailureText text = adapter_failure_text(
      failure, pcap_error.toStdString(), helper_path.toStdString(), setcap_path.toStdString(),
      //: How the start-up error names this program, within a sentence (and
      //: at the start of one, where it is given a capital).
      QCoreApplication::translate("SetupApp", "the wizard").toStdString());
  return {QString::fromStdString(text.primary), QString::fromStdString(text.secondary)};
}

QString FindSetcap() { return QString::fromStdString(find_setcap()); }

bool CSetupApp::InitInstance() {
  startup_failed_ = false;
  if (!start_up_link()) {
    startup_failed_ = true;
    const StartupFailureMessage message = StartupFailureText(
        last_adapter_search_failure(), QString::fromStdString(last_adapter_open_error()),
        QString::fromStdString(link_helper_path()), FindSetcap());
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
