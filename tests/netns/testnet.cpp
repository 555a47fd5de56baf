#include "tests/netns/testnet.h"

#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "link/capture_handle.h"
#include "link/frame_exchange.h"
#include "link/link_frame.h"
#include "link/link_helper.h"
#include "link/link_timing.h"

namespace netns {

namespace {

constexpr const char* NAMESPACE_PREFIX = "qbt";

std::string read_file(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

std::string errno_text(const std::string& what) { return what + ": " + std::strerror(errno); }

bool wait_exit(pid_t pid, std::chrono::milliseconds timeout, int* status) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    const pid_t done = waitpid(pid, status, WNOHANG);
    if (done == pid || (done < 0 && errno == ECHILD))
      return true;
    if (std::chrono::steady_clock::now() >= end)
      return false;
    std::this_thread::sleep_for(std::chrono::milliseconds{5});
  }
}

bool exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

class Fd {
public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0)
      close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }

private:
  int fd_;
};

} // namespace

void exec_argv(const std::vector<std::string>& argv) {
  std::vector<char*> args;
  for (const std::string& arg : argv)
    args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  execvp(args[0], args.data());
  _exit(127);
}

int run_to_end(const std::vector<std::string>& argv, std::string* output) {
  char path[] = "/tmp/qbr20g-run-XXXXXX";
  const int out = mkstemp(path);
  if (out < 0)
    throw std::runtime_error(errno_text("mkstemp"));
  const pid_t child = fork();
  if (child == 0) {
    dup2(out, STDOUT_FILENO);
    dup2(out, STDERR_FILENO);
    exec_argv(argv);
  }
  close(out);
  int status = 0;
  while (child > 0 && waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  *output = read_file(path);
  unlink(path);
  if (child < 0)
    throw std::runtime_error(errno_text("fork"));
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string unavailable_reason() {
  if (geteuid() != 0)
    return "needs root: these tests make network namespaces and send raw frames in them "
           "(run as root, as CI does)";
  std::string output;
  if (run_to_end({"ip", "-V"}, &output) != 0)
    return "needs the 'ip' command (Debian package iproute2)";
  if (!exists(QBR20G_TESTNET_SCRIPT))
    return std::string("missing ") + QBR20G_TESTNET_SCRIPT;
  return "";
}

void testnet(const std::vector<std::string>& args) {
  std::vector<std::string> argv = {"bash", QBR20G_TESTNET_SCRIPT};
  argv.insert(argv.end(), args.begin(), args.end());
  std::string output;
  if (run_to_end(argv, &output) != 0) {
    std::string command = "testnet.sh";
    for (const std::string& arg : args)
      command += " " + arg;
    throw std::runtime_error(command + " failed: " + output);
  }
}

Emulator::Emulator(pid_t pid, std::string files)
    : pid_(pid), log_path_(files + ".log"), settings_path_(files + ".settings"),
      errors_path_(files + ".err") {}

Emulator::~Emulator() { stop(); }

std::vector<FrameLogEntry> Emulator::log() const {
  std::vector<FrameLogEntry> entries;
  std::istringstream lines(read_file(log_path_));
  std::string line;
  while (std::getline(lines, line)) {
    FrameLogEntry entry;
    if (parse_log_line(line, &entry))
      entries.push_back(std::move(entry));
  }
  return entries;
}

bool Emulator::wait_for(const std::function<bool(const std::vector<FrameLogEntry>&)>& done,
                        std::chrono::milliseconds timeout) const {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!done(log())) {
    if (std::chrono::steady_clock::now() >= end)
      return false;
    std::this_thread::sleep_for(std::chrono::milliseconds{10});
  }
  return true;
}

std::string Emulator::settings() const { return read_file(settings_path_); }

std::string Emulator::errors() const { return read_file(errors_path_); }

bool Emulator::stop() {
  if (exit_status_ < 0) {
    kill(pid_, SIGTERM);
    int status = 0;
    if (!wait_exit(pid_, std::chrono::seconds{5}, &status)) {
      kill(pid_, SIGKILL);
      wait_exit(pid_, std::chrono::seconds{5}, &status);
      status = 0x7f00; // counted as unclean
    }
    exit_status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  return exit_status_ == 0;
}

TestNet::TestNet() {
  static std::atomic<int> serial{0};
  prefix_ = std::string(NAMESPACE_PREFIX) + std::to_string(getpid()) + "-" +
            std::to_string(serial++) + "-";
  testnet({"del-stale", NAMESPACE_PREFIX});
  set_link_helper_path(QBR20G_LINK_HELPER_PATH);
  char folder[] = "/tmp/qbr20g-netns-XXXXXX";
  if (!mkdtemp(folder))
    throw std::runtime_error(errno_text("mkdtemp"));
  files_ = folder;
}

TestNet::~TestNet() {
  // The capture may sit on one of our interfaces; it must not outlive them, nor its helper.
  capture_handle.reset();
  close_link_helper();
  try {
    leave();
  } catch (const std::exception&) {
  }
  emulators_.clear();
  for (const std::string& ns : namespaces_) {
    try {
      testnet({"del-ns", ns});
    } catch (const std::exception&) {
    }
  }
  std::error_code ignored;
  std::filesystem::remove_all(files_, ignored);
}

std::string TestNet::add_namespace(const std::string& role) {
  const std::string name = prefix_ + role;
  namespaces_.push_back(name);
  testnet({"add-ns", name});
  return name;
}

void TestNet::add_veth(const std::string& ns_a, const std::string& if_a, const std::string& mac_a,
                       const std::string& ns_b, const std::string& if_b, const std::string& mac_b,
                       bool up_a, bool up_b) {
  testnet({"add-veth", ns_a, if_a, mac_a, ns_b, if_b, mac_b, up_a ? "up" : "down",
           up_b ? "up" : "down"});
}

void TestNet::enter(const std::string& ns) {
  leave();
  // A helper started before sees the adapters of the namespace it was started in.
  close_link_helper();
  const Fd target(open(("/run/netns/" + ns).c_str(), O_RDONLY | O_CLOEXEC));
  if (target.get() < 0)
    throw std::runtime_error(errno_text("open namespace " + ns));
  home_net_ = open("/proc/self/ns/net", O_RDONLY | O_CLOEXEC);
  home_mount_ = open("/proc/self/ns/mnt", O_RDONLY | O_CLOEXEC);
  if (home_net_ < 0 || home_mount_ < 0)
    throw std::runtime_error(errno_text("open /proc/self/ns"));
  if (setns(target.get(), CLONE_NEWNET) < 0)
    throw std::runtime_error(errno_text("setns " + ns));
  // A sysfs mounted from inside the namespace shows its interfaces; the mount stays private.
  if (unshare(CLONE_NEWNS) < 0)
    throw std::runtime_error(errno_text("unshare mount namespace"));
  if (mount("", "/", nullptr, MS_SLAVE | MS_REC, nullptr) < 0)
    throw std::runtime_error(errno_text("make / a slave mount"));
  if (umount2("/sys", MNT_DETACH) < 0 && errno != EINVAL)
    throw std::runtime_error(errno_text("unmount /sys"));
  if (mount(ns.c_str(), "/sys", "sysfs", 0, nullptr) < 0)
    throw std::runtime_error(errno_text("mount /sys"));
}

void TestNet::leave() {
  if (home_net_ < 0)
    return;
  close_link_helper();
  const int net = std::exchange(home_net_, -1);
  const int mnt = std::exchange(home_mount_, -1);
  const bool back = setns(mnt, CLONE_NEWNS) == 0 && setns(net, CLONE_NEWNET) == 0;
  close(net);
  close(mnt);
  if (!back)
    throw std::runtime_error(errno_text("return to the home namespaces"));
}

Emulator& TestNet::start_emulator(const std::string& ns, const std::string& iface,
                                  const std::string& scenario,
                                  const std::vector<std::string>& faults) {
  const std::string files = files_ + "/emu" + std::to_string(emulators_.size());
  const std::string scenario_path = files + ".scenario";
  const std::string ready_path = files + ".ready";
  std::ofstream(scenario_path, std::ios::binary) << scenario;
  std::vector<std::string> argv = {"ip",
                                   "netns",
                                   "exec",
                                   ns,
                                   QBR20G_EMU_PATH,
                                   "--iface",
                                   iface,
                                   "--scenario",
                                   scenario_path,
                                   "--log",
                                   files + ".log",
                                   "--settings-out",
                                   files + ".settings",
                                   "--ready-file",
                                   ready_path};
  for (const std::string& fault : faults) {
    argv.push_back("--fault");
    argv.push_back(fault);
  }
  const std::string errors_path = files + ".err";
  const pid_t child = fork();
  if (child < 0)
    throw std::runtime_error(errno_text("fork"));
  if (child == 0) {
    prctl(PR_SET_PDEATHSIG, SIGTERM); // a crashed test leaves no emulator behind
    const int err = open(errors_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (err >= 0) {
      dup2(err, STDOUT_FILENO);
      dup2(err, STDERR_FILENO);
    }
    exec_argv(argv);
  }
  emulators_.push_back(std::make_unique<Emulator>(child, files));
  Emulator& emulator = *emulators_.back();
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds{10};
  while (!exists(ready_path)) {
    int status = 0;
    if (waitpid(child, &status, WNOHANG) == child) {
      emulators_.pop_back();
      throw std::runtime_error("qbr20g-emu on " + iface + " in " + ns +
                               " ended before it was ready: " + read_file(errors_path));
    }
    if (std::chrono::steady_clock::now() >= end)
      throw std::runtime_error("qbr20g-emu on " + iface +
                               " did not get ready within 10 s: " + read_file(errors_path));
    std::this_thread::sleep_for(std::chrono::milliseconds{5});
  }
  return emulator;
}

std::string TestNet::describe() const {
  std::string text;
  for (const auto& emulator : emulators_) {
    text += "--- qbr20g-emu " + std::to_string(emulator->pid()) + " log:\n" +
            read_file(emulator->log_path()).substr(0, 20000);
    const std::string errors = emulator->errors();
    if (!errors.empty())
      text += "--- its errors:\n" + errors;
  }
  return text;
}

void NetnsTest::SetUp() {
  const std::string reason = unavailable_reason();
  if (!reason.empty())
    GTEST_SKIP() << reason;
  net = std::make_unique<TestNet>();
}

void NetnsTest::TearDown() {
  if (net && HasFailure())
    std::cerr << net->describe();
  net.reset();
}

QuickLinkTiming::QuickLinkTiming() {
  auto& timing = link_timing();
  timing = LinkTiming{};
  timing.tick_period = std::chrono::milliseconds{100};
  timing.read_slice = std::chrono::milliseconds{10};
  timing.clock_slack = std::chrono::milliseconds{50};
  timing.survey_scan_pause = std::chrono::milliseconds{10};
  timing.unicast_probe_pause = std::chrono::milliseconds{10};
  clear_link_stop();
}

QuickLinkTiming::~QuickLinkTiming() {
  link_timing() = LinkTiming{};
  clear_link_stop();
}

} // namespace netns

namespace netns {

std::vector<FrameLogEntry> Emulator::settled_log(const std::uint8_t* own,
                                                 const std::uint8_t* peer) const {
  const auto markers = [](const std::vector<FrameLogEntry>& log) {
    return std::count_if(log.begin(), log.end(), [](const FrameLogEntry& entry) {
      return entry.direction == "rx" && entry.code == LOG_MARKER;
    });
  };
  const auto before = markers(log());
  std::uint8_t marker[REQUEST_FRAME_SIZE] = {};
  build_frame(marker, own, peer, LOG_MARKER, 0, 0);
  send_frame(marker, REQUEST_FRAME_SIZE);
  EXPECT_TRUE(wait_for([&](const std::vector<FrameLogEntry>& log) {
    return markers(log) > before;
  })) << "the emulator did not log the marker";
  return log();
}

std::string request_summary(const std::vector<FrameLogEntry>& log, const std::string& source) {
  std::string seen;
  for (const FrameLogEntry& entry : log) {
    if (entry.direction != "rx" || entry.code == LOG_MARKER ||
        (!source.empty() && entry.src != source))
      continue;
    const std::string text = entry.payload_text();
    std::string name = "?";
    if (entry.code == CMD_PROBE)
      name = "P";
    else if (entry.code == CMD_BEGIN)
      name = "B";
    else if (entry.code == CMD_EXECUTE)
      name = "X";
    else if (entry.code == CMD_DONE)
      name = "D";
    else if (entry.code == CMD_WRITE)
      name = text.rfind("7000 :", 0) == 0 ? "S" : text.substr(0, 4);
    seen += (seen.empty() ? "" : " ") + name;
  }
  return seen;
}

} // namespace netns
