// The qbr20g.bridge collection as an integrator runs it (root): built and installed with
// ansible-galaxy, documented for ansible-doc, and one ansible-playbook run over two sites, each
// a network namespace with its own wire of emulated bridges. The play checks each step's rows
// itself (two_sites.yml); this test checks what only the outside sees: the recap, the diff, the
// failing site's message, what reached each bridge, and that no secret was on a command line
// or in -vvv output.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <iostream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "tests/ansible/ansible_sites.h"
#include "tests/netns/testnet.h"

namespace {

const char* const PASSPHRASE = "ansible-secret-passphrase-4711";
const char* const WEP_KEY = "0a1b2c3d4e5f60718293a4b5c6";

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// A process's command line, words joined by NULs; empty when it has ended.
std::string CommandLine(const char* pid) {
  const int fd = open(("/proc/" + std::string(pid) + "/cmdline").c_str(), O_RDONLY | O_CLOEXEC);
  std::string line;
  char chunk[4096];
  ssize_t got = 0;
  while (fd >= 0 && (got = read(fd, chunk, sizeof chunk)) > 0)
    line.append(chunk, static_cast<std::size_t>(got));
  if (fd >= 0)
    close(fd);
  return line;
}

// Every process's command line, read again and again while a run goes on: whether a secret was
// on one, and how many qbr20g-cli configure processes were seen (so the scan saw them at all).
class CommandLineWatch {
public:
  CommandLineWatch() : thread_([this] { Watch(); }) {}
  ~CommandLineWatch() { Stop(); }
  void Stop() {
    stop_ = true;
    if (thread_.joinable())
      thread_.join();
  }
  std::set<std::string> leaks; // the command lines that held a secret
  std::set<int> configure_pids;

private:
  void Watch() {
    while (!stop_) {
      DIR* proc = opendir("/proc");
      while (dirent* entry = proc ? readdir(proc) : nullptr) {
        const int pid = std::atoi(entry->d_name);
        if (pid <= 0)
          continue;
        const std::string line = CommandLine(entry->d_name);
        if (Contains(line, PASSPHRASE) || Contains(line, WEP_KEY))
          leaks.insert(line);
        if (Contains(line, "qbr20g-cli") && Contains(line, "configure"))
          configure_pids.insert(pid);
      }
      if (proc)
        closedir(proc);
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// The settings writes that reached `bridge` itself (every bridge on a wire overhears the
// frames for the others).
int SettingsWrites(const netns::Emulator& emulator, std::string bridge) {
  std::replace(bridge.begin(), bridge.end(), ':', '-');
  std::vector<FrameLogEntry> to_bridge;
  for (const FrameLogEntry& entry : emulator.log())
    if (entry.dst == bridge)
      to_bridge.push_back(entry);
  const std::string requests = netns::request_summary(to_bridge);
  return static_cast<int>(std::count(requests.begin(), requests.end(), 'S'));
}

class AnsibleOverVeth : public netns::NetnsTest {
protected:
  void SetUp() override {
    netns::NetnsTest::SetUp();
    if (IsSkipped())
      return;
    const std::string reason = ansible_sites::unavailable_reason();
    if (!reason.empty())
      GTEST_SKIP() << reason;
    ansible_sites::install_collection(QBR20G_COLLECTION_DIR, net->files());
  }
};

TEST_F(AnsibleOverVeth, TwoSitesArePlannedRefusedWrittenLeftAloneAndAFailingBridgeFailsItsSite) {
  // The collection as built and installed documents its modules for ansible-doc.
  for (const char* module : {"qbr20g.bridge.wifi", "qbr20g.bridge.bridge_info"}) {
    std::string doc;
    ASSERT_EQ(netns::run_to_end({"ansible-doc", module}, &doc), 0) << doc;
    for (const char* part : {"OPTIONS", "EXAMPLES", "RETURN VALUES", "cli_path", "adapter"})
      EXPECT_TRUE(Contains(doc, part)) << module << " lacks " << part << ":\n" << doc;
  }

  std::vector<ansible_sites::Site> sites = {
      ansible_sites::add_site(*net, 0, 10),
      ansible_sites::add_site(*net, 1, 10, {"drop write-settings 1000"}),
  };
  const std::string inventory = net->files() + "/inventory.yml";
  ansible_sites::write_inventory(inventory, sites, QBR20G_CLI_PATH);

  // The secrets as an integrator keeps them: a file only its owner reads (a vault, say).
  const std::string secrets = net->files() + "/secrets.yml";
  std::ofstream(secrets) << "office_passphrase: " << PASSPHRASE << "\nlab_wep_key: " << WEP_KEY
                         << "\n";
  chmod(secrets.c_str(), 0600);

  std::string output;
  CommandLineWatch watch;
  const int status = netns::run_to_end(
      {"ansible-playbook", "-vvv", "-i", inventory, "-e", "@" + secrets, QBR20G_TWO_SITES_PLAY},
      &output);
  watch.Stop();
  struct ShownOnFailure {
    const std::string& output;
    ~ShownOnFailure() {
      if (::testing::Test::HasFailure())
        std::cout << "ansible-playbook's output:\n" << output;
    }
  } shown_on_failure{output};

  // site_a passed every check of the play; site_b passed them too, then failed on its
  // faulty bridge alone.
  EXPECT_EQ(status, 2);
  EXPECT_TRUE(std::regex_search(
      output,
      std::regex(
          R"(site_a\s+: ok=\d+\s+changed=2\s+unreachable=0\s+failed=0\s+skipped=0\s+rescued=1)")));
  EXPECT_TRUE(std::regex_search(
      output,
      std::regex(
          R"(site_b\s+: ok=\d+\s+changed=2\s+unreachable=0\s+failed=1\s+skipped=0\s+rescued=1)")));

  // The diff of check mode: present and new, per bridge.
  EXPECT_TRUE(Contains(output, "--- before: 02-00-00-00-a1-01 on eth0 (present)"));
  EXPECT_TRUE(Contains(output, "+++ after: 02-00-00-00-a2-0a on eth0 (new)"));
  EXPECT_TRUE(Contains(output, "-ssid: Old\n-security: open\n+ssid: Office\n+security: wpa2-psk"));

  // The failing site (its last failure; the first, the short passphrase, was rescued): its task
  // failed with the command line's message for the faulty bridge and carries the results of the
  // others.
  const auto fatal = output.rfind("fatal: [site_b]: FAILED!");
  ASSERT_NE(fatal, std::string::npos);
  const std::string failure = output.substr(fatal, output.find("PLAY RECAP", fatal) - fatal);
  EXPECT_TRUE(Contains(failure, R"("msg": "02-00-00-00-a2-81: failed: Save config failed ! no )"
                                R"(answer to the settings write)"))
      << failure;
  std::size_t saved = 0;
  for (auto at = failure.find(R"("result": "saved")"); at != std::string::npos;
       at = failure.find(R"("result": "saved")", at + 1))
    ++saved;
  EXPECT_EQ(saved, 10u) << failure;

  // What reached the bridges: check mode and the second apply wrote nothing.
  for (std::size_t i = 0; i < sites[0].emulators.size(); ++i) {
    const netns::Emulator* emulator = sites[0].emulators[i];
    EXPECT_EQ(SettingsWrites(*emulator, sites[0].bridges[i]), 1) << emulator->log_path();
    EXPECT_TRUE(Contains(emulator->settings(), "7000 :Office\n")) << emulator->settings();
  }
  for (std::size_t i = 0; i < sites[1].emulators.size(); ++i) {
    const netns::Emulator* emulator = sites[1].emulators[i];
    EXPECT_EQ(SettingsWrites(*emulator, sites[1].bridges[i]), 2) << emulator->log_path();
    EXPECT_TRUE(Contains(emulator->settings(), "7000 :Lab\n")) << emulator->settings();
    // Key 2 (index 1 on the wire) in the second key's slot.
    EXPECT_TRUE(
        Contains(emulator->settings(), "7005 :1\n7006 :\n7007 :0a1b2c3d4e5f60718293a4b5c6\n"))
        << emulator->settings();
  }

  // Secrets: never on a command line while the play ran, never in its -vvv output.
  EXPECT_TRUE(watch.leaks.empty()) << *watch.leaks.begin();
  EXPECT_GE(watch.configure_pids.size(), 4u);
  EXPECT_FALSE(Contains(output, PASSPHRASE));
  EXPECT_FALSE(Contains(output, WEP_KEY));
  EXPECT_FALSE(Contains(output, "0A1B2C3D4E5F60718293A4B5C6"));
}

} // namespace
