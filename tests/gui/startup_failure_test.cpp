// The start-up error box: "Error: NIC not found!", then the cause and the fix. Adapters are
// faked, so the permission case runs without privileges; the link helper's own failures are
// real (a missing or unusable helper program).
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QWidget>

#include <signal.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "link/link_helper.h"
#include "tests/support/fake_link_helper.h"
#include "tests/unit/fake_host.h"
#include "wizard/setup_app.h"

namespace {

const QString HELPER = QStringLiteral("/usr/libexec/qbr20g-setup/qbr20g-link");
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
                                                           PCAP_WORDS, HELPER, "/usr/sbin/setcap");
  EXPECT_EQ(message.primary, "Error: NIC not found!");
  EXPECT_TRUE(message.secondary.contains(PCAP_WORDS)) << message.secondary.toStdString();
  EXPECT_TRUE(message.secondary.contains("sudo /usr/sbin/setcap cap_net_raw=ep " + HELPER))
      << message.secondary.toStdString();
  EXPECT_FALSE(message.secondary.contains("apt-get"));
  EXPECT_EQ(message.PlainText(), message.primary + "\n\n" + message.secondary);

  const StartupFailureMessage without_setcap =
      StartupFailureText(AdapterSearchFailure::PermissionDenied, PCAP_WORDS, HELPER, "");
  EXPECT_TRUE(without_setcap.secondary.contains("sudo apt-get install libcap2-bin"))
      << "setcap missing: the package to install";
  EXPECT_TRUE(without_setcap.secondary.contains("cap_net_raw=ep " + HELPER));
}

TEST(StartupFailureText, NoAdapterAsksForACableAndSaysNothingOfRights) {
  for (const auto failure : {AdapterSearchFailure::NoUsableAdapter, AdapterSearchFailure::None}) {
    const StartupFailureMessage message = StartupFailureText(failure, "", HELPER, "");
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
  EXPECT_TRUE(reported.contains("cap_net_raw=ep " + QString::fromStdString(link_helper_path())))
      << "the helper holds the right, not the wizard: " << reported.toStdString();
  EXPECT_FALSE(reported.contains(QCoreApplication::applicationFilePath()));
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

// The wizard's real link (no fake adapters) with the helper at `path`.
QString RunStartUpWithHelper(const std::string& path) {
  close_link_helper();
  set_link_helper_path(path);
  const QString reported = RunStartUp();
  close_link_helper();
  set_link_helper_path("");
  return reported;
}

TEST(StartupFailure, AHelperThatCannotBeStartedIsNamedWithTheFix) {
  const auto folder = std::filesystem::temp_directory_path() / "qbr20g-startup-failure-test";
  std::filesystem::create_directories(folder);
  const std::string missing = (folder / "missing" / "qbr20g-link").string();
  const std::string not_executable = (folder / "not-executable").string();
  std::ofstream(not_executable) << "#!/bin/sh\n";
  chmod(not_executable.c_str(), 0644);
  const std::string not_a_helper = (folder / "not-a-helper").string();
  std::ofstream(not_a_helper) << "#!/bin/sh\necho hello\n";
  chmod(not_a_helper.c_str(), 0755);

  struct Case {
    std::string path;
    const char* cause;
  };
  for (const Case& helper :
       {Case{missing, "No such file or directory"}, Case{not_executable, "Permission denied"},
        Case{not_a_helper, "ended"}}) {
    const QString reported = RunStartUpWithHelper(helper.path);
    const QString path = QString::fromStdString(helper.path);
    EXPECT_TRUE(reported.startsWith("Error: NIC not found!\n\n")) << reported.toStdString();
    EXPECT_TRUE(reported.contains("link helper, " + path + ", which could not be started"))
        << reported.toStdString();
    EXPECT_TRUE(reported.contains(helper.cause)) << reported.toStdString();
    EXPECT_TRUE(reported.contains("cap_net_raw=ep " + path)) << reported.toStdString();
    EXPECT_TRUE(reported.contains("Reinstall the package qbr20g-link,"))
        << "the package that holds the helper: " << reported.toStdString();
    EXPECT_TRUE(reported.contains("then start the wizard again:")) << reported.toStdString();
    EXPECT_FALSE(reported.contains("cable")) << "not a question of cables";
  }
  std::filesystem::remove_all(folder);
}

// What the helper says, or how it ends, reaches the box word for word: a helper of another
// release, one that refuses to start, one that cannot list the adapters, one that dies.
TEST(StartupFailure, TheLinkHelpersReasonReachesTheBox) {
  namespace hp = helper_protocol;
  const auto folder = std::filesystem::temp_directory_path() / "qbr20g-helper-reasons-test";
  std::filesystem::create_directories(folder);
  const std::string path = (folder / "qbr20g-link").string();
  struct Case {
    FakeLinkHelper helper;
    std::string told;
  };
  const Case cases[] = {
      {FakeLinkHelper().Says(FakeLinkHelper::Hello(1)),
       "link helper, " + path +
           ", which could not be started (the link helper does not fit this program: it speaks "
           "version 1 of the link helper protocol and this program version 2: they come from "
           "different releases; reinstall qbr20g-link and qbr20g-setup or qbr20g-cli, all of one "
           "release)"},
      {FakeLinkHelper().Says(hp::encode_error("cannot start a thread: Out of memory")).Exits(2),
       "(the link helper did not start: cannot start a thread: Out of memory; it ended with exit "
       "status 2)"},
      {FakeLinkHelper()
           .Says(FakeLinkHelper::Hello(hp::VERSION))
           .Hears()
           .Hears()
           .Says(hp::encode_adapters_failure("cannot list adapters: no /sys")),
       "The wizard's link helper, " + path +
           ", cannot list adapters: no /sys.\n\nStart the "
           "wizard again; should it fail the same way, reinstall the package qbr20g-link."},
      {FakeLinkHelper().Says(FakeLinkHelper::Hello(hp::VERSION)).Hears().Hears().DiesOf(SIGSEGV),
       "(the link helper was lost: it was killed by signal 11 (Segmentation fault))"},
  };
  for (const Case& helper : cases) {
    helper.helper.Write(path);
    const QString reported = RunStartUpWithHelper(path);
    EXPECT_TRUE(reported.startsWith("Error: NIC not found!\n\n")) << reported.toStdString();
    EXPECT_TRUE(reported.contains(QString::fromStdString(helper.told))) << reported.toStdString();
    EXPECT_FALSE(reported.contains("cable")) << "not a question of cables";
  }
  std::filesystem::remove_all(folder);
}
