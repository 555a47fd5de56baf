// The start-up error box: "Error: NIC not found!", then the cause and the fix. Adapters are
// faked, so the permission case runs without privileges.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QWidget>

#include "tests/unit/fake_host.h"
#include "wizard/setup_app.h"

namespace {

const QString PROGRAM = QStringLiteral("/usr/bin/qbr20g-setup");
const QString PCAP_WORDS = QStringLiteral(
    "eth0: You don't have permission to perform this capture on that device (socket: Operation "
    "not permitted)");

QString RunStartUp() {
  QString reported;
  theApp.report_startup_failure = [&](const QString& text) { reported = text; };
  EXPECT_FALSE(theApp.InitInstance());
  theApp.report_startup_failure = nullptr;
  for (QWidget* widget : QApplication::topLevelWidgets())
    EXPECT_FALSE(widget->isVisible()) << "no page opens after a failed start-up";
  return reported;
}

} // namespace

TEST(StartupFailureText, LackOfRightsNamesLibpcapsWordsAndTheSetcapCommand) {
  const StartupFailureMessage message = StartupFailureText(AdapterSearchFailure::PermissionDenied,
                                                           PCAP_WORDS, PROGRAM, "/usr/sbin/setcap");
  EXPECT_EQ(message.primary, "Error: NIC not found!");
  EXPECT_TRUE(message.secondary.contains(PCAP_WORDS)) << message.secondary.toStdString();
  EXPECT_TRUE(message.secondary.contains("sudo /usr/sbin/setcap cap_net_raw=ep " + PROGRAM))
      << message.secondary.toStdString();
  EXPECT_FALSE(message.secondary.contains("apt-get"));
  EXPECT_EQ(message.PlainText(), message.primary + "\n\n" + message.secondary);

  const StartupFailureMessage without_setcap =
      StartupFailureText(AdapterSearchFailure::PermissionDenied, PCAP_WORDS, PROGRAM, "");
  EXPECT_TRUE(without_setcap.secondary.contains("sudo apt-get install libcap2-bin"))
      << "setcap missing: the package to install";
  EXPECT_TRUE(without_setcap.secondary.contains("cap_net_raw=ep " + PROGRAM));
}

TEST(StartupFailureText, NoAdapterAsksForACableAndSaysNothingOfRights) {
  for (const auto failure : {AdapterSearchFailure::NoUsableAdapter, AdapterSearchFailure::None}) {
    const StartupFailureMessage message = StartupFailureText(failure, "", PROGRAM, "");
    EXPECT_EQ(message.primary, "Error: NIC not found!");
    EXPECT_TRUE(message.secondary.contains("cable"));
    EXPECT_FALSE(message.secondary.contains("setcap"));
    EXPECT_FALSE(message.secondary.contains("libpcap")) << "no words of libpcap to quote";
  }
}

TEST(StartupFailure, CaptureRefusedForLackOfRightsIsReportedWithTheFix) {
  FakeHost host;
  host.add("eth0", 0x10).open_status = PCAP_ERROR_PERM_DENIED;
  host.add("eth1", 0x11).open_status = PCAP_ERROR_PERM_DENIED;
  const QString reported = RunStartUp();
  EXPECT_TRUE(reported.startsWith("Error: NIC not found!\n\n")) << reported.toStdString();
  EXPECT_TRUE(reported.contains("open refused")) << "libpcap's words: " << reported.toStdString();
  EXPECT_TRUE(reported.contains("cap_net_raw=ep " + QCoreApplication::applicationFilePath()))
      << reported.toStdString();
}

TEST(StartupFailure, NoUsableAdapterIsReportedWithoutTalkOfRights) {
  FakeHost host;
  host.add("lo", 0x01, PCAP_IF_UP | PCAP_IF_LOOPBACK);
  host.add("eth0", 0x10).wire->dead = true;
  const QString reported = RunStartUp();
  EXPECT_TRUE(reported.startsWith("Error: NIC not found!\n\n")) << reported.toStdString();
  EXPECT_TRUE(reported.contains("cable"));
  EXPECT_FALSE(reported.contains("setcap"));
}
