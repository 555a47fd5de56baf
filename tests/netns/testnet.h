// Real frames over veth, for tests and benchmarks that run as root: uniquely named network
// namespaces and veth pairs made through tools/testnet.sh, the test process moved into the
// wizard's namespace, and bridge emulators started inside namespaces. Everything is removed
// when the TestNet goes, also after a failure.
//
//   netns::TestNet net;                                   // or derive from netns::NetnsTest
//   const auto wizard = net.add_namespace("wiz");
//   const auto bridge = net.add_namespace("br");
//   net.add_veth(wizard, "eth0", "02:00:00:00:01:01", bridge, "br0", "02:00:00:00:02:01");
//   auto& emu = net.start_emulator(bridge, "br0", "mac = 02:00:00:00:00:b1\nssid = Office\n");
//   net.enter(wizard);                                    // before any pcap call or thread
//   ... find_usable_adapters, discover_devices, ...
//   emu.wait_for([](const auto& log) { return log.size() >= 2; });
//   for (const FrameLogEntry& frame : emu.log()) ...
#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tools/emu/frame_log.h"

namespace netns {

// Empty when namespace tests can run here; otherwise why not (for GTEST_SKIP).
std::string unavailable_reason();

// In a forked child: runs argv (its first word looked up on PATH) in place of the child, or
// ends it with status 127.
[[noreturn]] void exec_argv(const std::vector<std::string>& argv);

// Runs argv (its first word looked up on PATH) to its end with stdout and stderr in `output`;
// returns its exit status, or 128 + the signal that ended it.
int run_to_end(const std::vector<std::string>& argv, std::string* output);

// Runs tools/testnet.sh with `args`; throws std::runtime_error with its output on failure.
void testnet(const std::vector<std::string>& args);

// A running qbr20g-emu; stopped (SIGTERM) when destroyed.
class Emulator {
public:
  Emulator(pid_t pid, std::string files);
  ~Emulator();
  Emulator(const Emulator&) = delete;
  Emulator& operator=(const Emulator&) = delete;

  // Every frame logged so far: rx (seen), tx (sent), flood (counts).
  std::vector<FrameLogEntry> log() const;
  // Waits until `done(log())` holds; false after `timeout`.
  bool wait_for(const std::function<bool(const std::vector<FrameLogEntry>&)>& done,
                std::chrono::milliseconds timeout = std::chrono::seconds{5}) const;
  // The settings text of the last settings write, byte for byte; empty before any.
  std::string settings() const;
  // What the emulator wrote to stderr.
  std::string errors() const;
  // Stops it and waits for it to end; true when it ended cleanly (exit 0). Idempotent.
  bool stop();
  // Everything it has seen and sent so far: sends a marker frame from `own` to `peer` on the
  // open capture and waits until it is logged; the emulator logs frames in the order it reads
  // them, so every earlier frame is in the log then. Only while no worker uses the capture.
  std::vector<FrameLogEntry> settled_log(const std::uint8_t* own, const std::uint8_t* peer) const;
  pid_t pid() const { return pid_; }
  const std::string& log_path() const { return log_path_; }
  const std::string& settings_path() const { return settings_path_; }

private:
  pid_t pid_;
  std::string log_path_;
  std::string settings_path_;
  std::string errors_path_;
  int exit_status_ = -1;
};

class TestNet {
public:
  TestNet();  // removes namespaces left by killed test processes
  ~TestNet(); // leaves, stops every emulator, removes every namespace and file it made
  TestNet(const TestNet&) = delete;
  TestNet& operator=(const TestNet&) = delete;

  // A new namespace (IPv6 off, lo up) named uniquely after `role`; returns its name.
  std::string add_namespace(const std::string& role);
  // A veth pair between two of this TestNet's namespaces. MAC "-" keeps the kernel's.
  void add_veth(const std::string& ns_a, const std::string& if_a, const std::string& mac_a,
                const std::string& ns_b, const std::string& if_b, const std::string& mac_b,
                bool up_a = true, bool up_b = true);
  // Moves the whole process into `ns` as `ip netns exec` does (a private mount namespace with
  // the namespace's own /sys, which pcap_findalldevs reads). Call on the main thread before
  // any other thread starts. Undone by leave() or destruction.
  void enter(const std::string& ns);
  void leave();
  // Starts qbr20g-emu on `iface` in `ns` with a scenario text and extra --fault texts, and
  // waits until its capture is open.
  Emulator& start_emulator(const std::string& ns, const std::string& iface,
                           const std::string& scenario,
                           const std::vector<std::string>& faults = {});
  // A folder for the test's own files, removed with the TestNet.
  const std::string& files() const { return files_; }
  // Emulator logs and errors, for a failure message.
  std::string describe() const;

private:
  std::string prefix_;
  std::string files_;
  std::vector<std::string> namespaces_;
  std::vector<std::unique_ptr<Emulator>> emulators_;
  int home_net_ = -1; // namespaces to return to after enter()
  int home_mount_ = -1;
};

// A code that no procedure sends and the emulator leaves unanswered: the marker of settled_log.
constexpr std::uint32_t LOG_MARKER = 0x00007e57;

// The requests the emulator saw (from `source` only, when given), in order: P probe, B begin,
// X execute, D done, a write by the first four bytes of its text ("9107", "9100", "9002"), or
// S for a settings text. Markers are left out.
std::string request_summary(const std::vector<FrameLogEntry>& log, const std::string& source = {});

// A gtest fixture: skips with the reason when namespace tests cannot run, gives each case its
// own TestNet, and prints the emulators' logs when the case failed.
class NetnsTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;
  std::unique_ptr<TestNet> net;
};

// Link timings short enough for tests over veth (tick 100 ms); the product's come back when it
// goes. The start-up probe wait keeps its product value.
class QuickLinkTiming {
public:
  QuickLinkTiming();
  ~QuickLinkTiming();
  QuickLinkTiming(const QuickLinkTiming&) = delete;
  QuickLinkTiming& operator=(const QuickLinkTiming&) = delete;
};

} // namespace netns
