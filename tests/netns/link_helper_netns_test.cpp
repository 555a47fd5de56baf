// The link helper on its own, as an ordinary user runs it (root makes the namespaces, then a
// copy of the helper with cap_net_raw=ep runs as nobody): what it refuses to send or open never
// reaches the wire, a capture shows nothing of what another user sends nor of other stations'
// frames, frames of other EtherTypes never come back through it, the start-up probe is told
// honestly, low limits end it with its reason, and requests that do not fit the protocol end the
// connection without a crash. The other end of the veth is watched by a capture of the test's
// own.
#include <arpa/inet.h>
#include <fcntl.h>
#include <grp.h>
#include <linux/if_ether.h>
#include <linux/if_packet.h>
#include <net/if.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "device/config_write.h"
#include "device/wireless_records.h"
#include "helper/link_filter.h"
#include "link/adapter_selection.h"
#include "link/capture_handle.h"
#include "link/helper_protocol.h"
#include "link/link_frame.h"
#include "link/link_helper.h"
#include "link/pcap_capture.h"
#include "tests/netns/testnet.h"

namespace hp = helper_protocol;

namespace {

using Frame = std::vector<std::uint8_t>;

constexpr uid_t NOBODY = 65534;
const std::uint8_t OWN[6] = {0x02, 0, 0, 0, 0x0a, 0x01};
const std::uint8_t PEER[6] = {0x02, 0, 0, 0, 0x0b, 0x01};
const std::uint8_t STATION[6] = {0x02, 0, 0, 0, 0x0c, 0x01}; // another station on the wire
const std::uint8_t MULTICAST[6] = {0x01, 0x80, 0xc2, 0, 0, 0x0e};
const std::uint8_t BROADCAST[6] = {0xff, 0xff, 0xff, 0xff, 0xff, 0xff};

struct Limit {
  int resource;
  rlim_t value;
};

// A packet socket on `adapter` (in this process's namespace) behind `lock`, bound only after
// its filter is on.
int filtered_socket(const char* adapter, const std::function<int(int)>& lock) {
  const int fd = socket(AF_PACKET, SOCK_RAW | SOCK_CLOEXEC, 0);
  if (fd < 0 || lock(fd) != 0)
    return -1;
  sockaddr_ll address{};
  address.sll_family = AF_PACKET;
  address.sll_protocol = htons(ETH_P_ALL);
  address.sll_ifindex = static_cast<int>(if_nametoindex(adapter));
  if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
    return -1;
  return fd;
}

// Sends `frame` out of `adapter` as this host would.
bool send_from_host(const char* adapter, const Frame& frame) {
  const int fd = socket(AF_PACKET, SOCK_RAW | SOCK_CLOEXEC, 0);
  sockaddr_ll address{};
  address.sll_family = AF_PACKET;
  address.sll_ifindex = static_cast<int>(if_nametoindex(adapter));
  address.sll_halen = 6;
  const bool sent =
      sendto(fd, frame.data(), frame.size(), 0, reinterpret_cast<const sockaddr*>(&address),
             sizeof address) == static_cast<ssize_t>(frame.size());
  close(fd);
  return sent;
}

// Every frame queued on `fd` within `quiet` of the last.
std::vector<Frame> drained(int fd, int quiet_ms = 300) {
  std::vector<Frame> frames;
  Frame buffer(2048);
  pollfd waiting{fd, POLLIN, 0};
  while (poll(&waiting, 1, quiet_ms) == 1) {
    const ssize_t size = recv(fd, buffer.data(), buffer.size(), 0);
    if (size <= 0)
      break;
    frames.emplace_back(buffer.begin(), buffer.begin() + size);
  }
  return frames;
}

bool contains(const Frame& frame, const std::string& text) {
  return std::search(frame.begin(), frame.end(), text.begin(), text.end()) != frame.end();
}

std::string promiscuity(const std::string& ns, const std::string& adapter) {
  std::string text;
  FILE* out = popen(("ip -n " + ns + " -d link show " + adapter).c_str(), "r");
  char buffer[4096];
  while (out && std::fgets(buffer, sizeof buffer, out))
    text += buffer;
  if (out)
    pclose(out);
  const auto at = text.find("promiscuity ");
  return at == std::string::npos ? "?" : text.substr(at + 12, text.find(' ', at + 12) - at - 12);
}

Frame frame_of(const std::uint8_t* src, const std::uint8_t* dst, std::uint16_t ether_type,
               std::size_t size, std::uint8_t fill = 0) {
  Frame frame(size, fill);
  std::memcpy(frame.data(), dst, 6);
  std::memcpy(frame.data() + 6, src, 6);
  frame[12] = static_cast<std::uint8_t>(ether_type >> 8);
  frame[13] = static_cast<std::uint8_t>(ether_type & 0xff);
  return frame;
}

std::map<std::string, std::string> status_of(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  std::map<std::string, std::string> fields;
  std::string line;
  while (std::getline(in, line)) {
    const auto colon = line.find(':');
    if (colon == std::string::npos)
      continue;
    std::istringstream value(line.substr(colon + 1));
    value >> fields[line.substr(0, colon)];
  }
  return fields;
}

// A copy of the helper that an ordinary user runs with the capability, as the package installs it.
class LinkHelperAsUser : public netns::NetnsTest {
protected:
  void SetUp() override {
    NetnsTest::SetUp();
    if (IsSkipped())
      return;
    // The test's folder is the user's way to the copy.
    chmod(net->files().c_str(), 0755);
    program = net->files() + "/qbr20g-link";
    std::filesystem::copy_file(QBR20G_LINK_HELPER_PATH, program);
    chmod(program.c_str(), 0755);
    const std::string setcap = "setcap cap_net_raw=ep " + program + " 2>/dev/null || " +
                               "/usr/sbin/setcap cap_net_raw=ep " + program + " 2>/dev/null";
    if (std::system(setcap.c_str()) != 0)
      GTEST_SKIP() << "cannot give the helper copy its capability here (setcap from "
                      "libcap2-bin, and a file system with extended attributes, are needed)";
    wizard_ns = net->add_namespace("wiz");
    bridge_ns = net->add_namespace("br");
    net->add_veth(wizard_ns, "eth0", "02:00:00:00:0a:01", bridge_ns, "br0", "02:00:00:00:0b:01");
    net->enter(bridge_ns);
    CaptureOpenError error;
    watcher = PcapCapture::open("br0", &error);
    ASSERT_TRUE(watcher) << error.text;
    net->enter(wizard_ns);
  }

  void TearDown() override {
    helper.reset();
    watcher.reset();
    NetnsTest::TearDown();
  }

  // Starts the copy as nobody with `input` as its standard input. Returns its pid.
  pid_t StartAsNobody(int input, const std::vector<std::string>& arguments = {},
                      const std::vector<std::string>& environment = {},
                      const std::vector<Limit>& limits = {}) {
    std::vector<std::string> argv_text = {program};
    argv_text.insert(argv_text.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& text : argv_text)
      argv.push_back(text.data());
    argv.push_back(nullptr);
    std::vector<std::string> env_text = environment;
    std::vector<char*> envp;
    for (std::string& text : env_text)
      envp.push_back(text.data());
    envp.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
      if (setgroups(0, nullptr) != 0 || setresgid(NOBODY, NOBODY, NOBODY) != 0 ||
          setresuid(NOBODY, NOBODY, NOBODY) != 0)
        _exit(126);
      for (const Limit& limit : limits) {
        const rlimit both{limit.value, limit.value};
        if (setrlimit(limit.resource, &both) != 0)
          _exit(125);
      }
      dup2(input, STDIN_FILENO);
      const int null = open("/dev/null", O_WRONLY);
      dup2(null, STDOUT_FILENO);
      dup2(null, STDERR_FILENO);
      close_range(3, ~0u, 0);
      execve(argv[0], argv.data(), envp.data());
      _exit(127);
    }
    return child;
  }

  // A connection to a new helper run as nobody; *raw gets our end of the pair.
  pid_t Connect(int* raw, const std::vector<std::string>& environment = {},
                const std::vector<Limit>& limits = {}) {
    int pair[2];
    EXPECT_EQ(socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, pair), 0);
    const pid_t pid = StartAsNobody(pair[1], {}, environment, limits);
    close(pair[1]);
    *raw = pair[0];
    return pid;
  }

  void StartHelper(const std::vector<std::string>& environment = {}) {
    int raw = -1;
    const pid_t pid = Connect(&raw, environment);
    std::string error;
    helper = LinkHelper::adopt(raw, pid, &error);
    ASSERT_TRUE(helper) << error;
  }

  std::uint32_t OpenEth0() {
    HelperOpening opening;
    EXPECT_EQ(helper->open_capture("eth0", &opening), 0) << opening.error;
    return opening.capture;
  }

  // Every frame the watcher sees on the other end within `quiet`.
  std::vector<Frame> Watched(std::chrono::milliseconds quiet = std::chrono::milliseconds{500}) {
    std::vector<Frame> frames;
    const std::uint8_t* frame = nullptr;
    int wire = 0;
    int captured = 0;
    while (watcher->next(quiet, &frame, &wire, &captured) == 1)
      frames.emplace_back(frame, frame + captured);
    return frames;
  }

  std::string program;
  std::string wizard_ns, bridge_ns;
  std::unique_ptr<PcapCapture> watcher;
  std::shared_ptr<LinkHelper> helper;
};

} // namespace

TEST_F(LinkHelperAsUser, RunsWithTheRightToCaptureAloneAndPassesItToNothing) {
  ASSERT_NO_FATAL_FAILURE(StartHelper({"LD_PRELOAD=/tmp/x.so", "PCAP_FRAMES=1"}));
  const std::uint32_t capture = OpenEth0();
  ASSERT_NE(capture, 0u);
  auto status = status_of(helper->pid());
  EXPECT_EQ(status["Uid"], std::to_string(NOBODY));
  EXPECT_EQ(status["CapEff"], "0000000000002000") << "CAP_NET_RAW and nothing else";
  EXPECT_EQ(status["CapPrm"], "0000000000002000");
  EXPECT_EQ(status["CapInh"], "0000000000000000");
  EXPECT_EQ(status["CapAmb"], "0000000000000000");
  EXPECT_EQ(status["NoNewPrivs"], "1");

  // Every descriptor it holds beyond the standard three is close-on-exec.
  const std::string fds = "/proc/" + std::to_string(helper->pid()) + "/fdinfo";
  int held = 0;
  for (const auto& entry : std::filesystem::directory_iterator(fds)) {
    const int fd = std::stoi(entry.path().filename().string());
    std::ifstream info(entry.path());
    std::string key;
    std::string flags;
    while (info >> key && key != "flags:") {
    }
    info >> flags;
    EXPECT_NE(std::stol(flags, nullptr, 8) & O_CLOEXEC, 0) << "descriptor " << fd;
    ++held;
  }
  EXPECT_GE(held, 4) << "the standard three and the capture";
}

TEST_F(LinkHelperAsUser, RefusedFramesNeverReachTheWire) {
  ASSERT_NO_FATAL_FAILURE(StartHelper());
  std::vector<HelperAdapter> adapters;
  std::string error;
  ASSERT_EQ(helper->list_adapters(&adapters, &error), 0) << error;
  ASSERT_EQ(adapters.size(), 1u) << "eth0, and not lo";
  EXPECT_EQ(adapters[0].name, "eth0");
  EXPECT_EQ(0, std::memcmp(adapters[0].mac, OWN, 6));

  const std::uint32_t capture = OpenEth0();
  const std::uint8_t forged[6] = {0x02, 0, 0, 0, 0x0c, 0x01};
  const Frame refused[] = {
      frame_of(OWN, PEER, 0x0800, 64, 0x45), frame_of(OWN, PEER, 0x0806, 60, 0x01),
      frame_of(forged, PEER, 0x8888, 64),    frame_of(PEER, PEER, 0x8888, 64),
      frame_of(OWN, PEER, 0x8888, 1515),     Frame(13, 0x88)};
  for (const Frame& frame : refused) {
    EXPECT_EQ(helper->send(capture, frame.data(), static_cast<int>(frame.size()), &error), -1);
    EXPECT_FALSE(error.empty());
  }
  EXPECT_FALSE(helper->lost()) << "a refused send leaves the connection up";
  const Frame marker = frame_of(OWN, PEER, 0x8888, 1514, 0x7e);
  ASSERT_EQ(helper->send(capture, marker.data(), static_cast<int>(marker.size()), &error), 0)
      << error;

  const std::vector<Frame> seen = Watched();
  ASSERT_EQ(seen.size(), 1u) << "only the marker crosses the wire";
  EXPECT_EQ(seen[0], marker);
}

TEST_F(LinkHelperAsUser, OpensNothingButEthernetAdapters) {
  ASSERT_NO_FATAL_FAILURE(StartHelper());
  std::vector<std::string> names = {"lo",      "any",         "nflog",        "nfqueue",
                                    "usbmon0", "dbus-system", "dbus-session", "bluetooth-monitor",
                                    "nosuch0"};
  // A device without an Ethernet header, where the kernel can make one.
  if (std::system(("ip -n " + wizard_ns + " tuntap add dev tun0 mode tun 2>/dev/null").c_str()) ==
      0)
    names.push_back("tun0");
  for (const std::string& name : names) {
    HelperOpening opening;
    EXPECT_EQ(helper->open_capture(name, &opening), -1) << name;
    EXPECT_EQ(opening.status, hp::OPEN_REFUSED) << name << ": " << opening.error;
  }
  EXPECT_NE(OpenEth0(), 0u);
}

TEST_F(LinkHelperAsUser, RequestsThatDoNotFitTheProtocolEndTheConnectionCleanly) {
  hp::Message cut = hp::encode_open_capture("eth0");
  cut.resize(12);
  hp::Message lying = hp::encode_next(1, 10);
  lying[4] = 0xff; // a body size the message does not have
  const std::vector<hp::Message> malformed = {cut,
                                              lying,
                                              hp::Message(3, 0xff),
                                              hp::encode_hello(),
                                              hp::encode_next(1, 0xffffffff),
                                              hp::Message(hp::MAX_MESSAGE_SIZE + 100, 0x02)};
  for (const hp::Message& request : malformed) {
    int raw = -1;
    const pid_t pid = Connect(&raw);
    std::vector<std::uint8_t> buffer(hp::MAX_MESSAGE_SIZE);
    hp::Decoded reply;
    std::string why;
    ssize_t size = recv(raw, buffer.data(), buffer.size(), 0);
    ASSERT_TRUE(size > 0 && hp::decode(buffer.data(), static_cast<std::size_t>(size), &reply, &why))
        << "no greeting: " << why;
    const hp::Message hello = hp::encode_hello();
    ASSERT_EQ(send(raw, hello.data(), hello.size(), MSG_NOSIGNAL),
              static_cast<ssize_t>(hello.size()));
    ASSERT_EQ(send(raw, request.data(), request.size(), MSG_NOSIGNAL),
              static_cast<ssize_t>(request.size()));
    size = recv(raw, buffer.data(), buffer.size(), 0);
    ASSERT_GT(size, 0);
    ASSERT_TRUE(hp::decode(buffer.data(), static_cast<std::size_t>(size), &reply, &why)) << why;
    EXPECT_EQ(reply.kind, hp::Kind::Error);
    EXPECT_NE(reply.text.find("malformed request"), std::string::npos) << reply.text;
    EXPECT_EQ(recv(raw, buffer.data(), buffer.size(), 0), 0) << "the connection ends";
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 3);
    close(raw);
  }
}

TEST_F(LinkHelperAsUser, StartsOnlyWithASocketPairAndNoArguments) {
  int pair[2];
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, pair), 0);
  int stream[2];
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, stream), 0);
  int pipe_ends[2];
  ASSERT_EQ(pipe2(pipe_ends, O_CLOEXEC), 0);
  struct Start {
    const char* what;
    int input;
    std::vector<std::string> arguments;
  };
  for (const Start& start :
       {Start{"an argument", pair[1], {"--iface=eth0"}}, Start{"a stream socket", stream[1], {}},
        Start{"a pipe", pipe_ends[0], {}}}) {
    const pid_t pid = StartAsNobody(start.input, start.arguments);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << start.what;
  }
  for (int fd : {pair[0], pair[1], stream[0], stream[1], pipe_ends[0], pipe_ends[1]})
    close(fd);
}

// Closed, or only shut for writing (it will ask nothing more): the helper ends at once, not when
// its wait runs out.
TEST_F(LinkHelperAsUser, EndsWhenItsClientClosesOrHalfClosesEvenInTheMiddleOfAWait) {
  for (const bool half : {false, true}) {
    int raw = -1;
    const pid_t pid = Connect(&raw);
    std::string error;
    helper = LinkHelper::adopt(dup(raw), -1, &error); // reaped here, not by the connection
    ASSERT_TRUE(helper) << error;
    const std::uint32_t capture = OpenEth0();
    helper.reset();
    const hp::Message wait = hp::encode_next(capture, hp::MAX_WAIT_MS);
    ASSERT_EQ(send(raw, wait.data(), wait.size(), MSG_NOSIGNAL), static_cast<ssize_t>(wait.size()));
    const auto closed_at = std::chrono::steady_clock::now();
    if (half)
      shutdown(raw, SHUT_WR);
    else
      close(raw);
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
      ASSERT_LT(std::chrono::steady_clock::now() - closed_at, std::chrono::seconds{1})
          << (half ? "half-closed: " : "closed: ") << "still waiting for frames nobody asks for";
      std::this_thread::sleep_for(std::chrono::milliseconds{10});
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    if (half)
      close(raw);
  }
}

// Limits an ordinary user may set before starting a front end: each ends the helper with status
// 2 and its reason in place of the greeting, or the helper works; never a crash.
TEST_F(LinkHelperAsUser, LowLimitsEndItWithStatusTwoAndItsReasonNeverACrash) {
  struct Case {
    std::vector<Limit> limits;
    std::string told; // empty: it serves
  };
  std::vector<Case> cases = {
      {{{RLIMIT_NOFILE, 8}},
       "the link helper did not start: a limit of 8 open files is below the 16 it needs "
       "(ulimit -n); it ended with exit status 2"},
      {{{RLIMIT_NPROC, 1}},
       "the link helper did not start: cannot start a thread: Resource temporarily unavailable "
       "(the limit of processes and threads is 1); it ended with exit status 2"},
      {{{RLIMIT_STACK, 16 * 1024}}, ""}, // its threads' stacks are its own
  };
#ifndef QBR20G_SANITIZED // sanitizers map far more than any such limit
  // From where the loader gives up (exit 127, before the helper runs) to where it all works.
  for (rlim_t mib = 6; mib <= 12; ++mib)
    cases.push_back({{{RLIMIT_AS, mib << 20}}, "?"});
#endif
  for (const Case& low : cases) {
    int raw = -1;
    const pid_t pid = Connect(&raw, {}, low.limits);
    std::string error;
    std::shared_ptr<LinkHelper> started = LinkHelper::adopt(raw, pid, &error);
    const std::string what = "limit " + std::to_string(low.limits[0].resource) + " at " +
                             std::to_string(low.limits[0].value);
    if (low.told == "?") {
      if (started)
        continue;
      EXPECT_TRUE(error.ends_with("; it ended with exit status 2") ||
                  error.ends_with("it ended with exit status 127"))
          << what << ": " << error;
      EXPECT_EQ(error.find("signal"), std::string::npos) << what << ": " << error;
    } else if (low.told.empty()) {
      ASSERT_TRUE(started) << what << ": " << error;
      std::vector<HelperAdapter> adapters;
      EXPECT_EQ(started->list_adapters(&adapters, &error), 0) << what << ": " << error;
      HelperOpening opening;
      EXPECT_EQ(started->open_capture("eth0", &opening), 0) << what << ": " << opening.error;
      EXPECT_FALSE(started->lost()) << what << ": " << started->lost_reason();
    } else {
      EXPECT_FALSE(started) << what;
      EXPECT_EQ(error, low.told) << what;
    }
  }
}

// The filters alone, on sockets of the test's own with no other guard: a capture's passes the
// link frames from the wire to the adapter or to broadcast and nothing else; a probe watch's
// passes only its frame, going out.
TEST_F(LinkHelperAsUser, TheKernelFiltersAlonePassOnlyWhatTheyAreFor) {
  std::string error;
  const int capture = filtered_socket("eth0", [&](int fd) { return lock_link_filter(fd, &error); });
  ASSERT_GE(capture, 0) << error;
  Frame probe(ADAPTER_PROBE_SIZE);
  build_adapter_probe(probe.data(), OWN);
  const int watch = filtered_socket("eth0", [&](int fd) {
    return lock_outgoing_filter(fd, probe.data(), static_cast<int>(probe.size()), &error);
  });
  ASSERT_GE(watch, 0) << error;
  // And the direction alone, on a capture without a filter.
  CaptureOpenError open_error;
  const std::unique_ptr<PcapCapture> inbound = PcapCapture::open("eth0", &open_error);
  ASSERT_TRUE(inbound) << open_error.text;
  ASSERT_EQ(inbound->set_inbound_only(&error), 0) << error;

  Frame tagged = frame_of(PEER, OWN, 0x8100, 68);
  tagged[14] = 0x00; // VLAN 5, then the link's EtherType
  tagged[15] = 0x05;
  tagged[16] = 0x88;
  tagged[17] = 0x88;
  const Frame to_us = frame_of(PEER, OWN, 0x8888, 64, 0x11);
  const Frame to_all = frame_of(PEER, BROADCAST, 0x8888, 64, 0x22);
  const Frame from_wire[] = {frame_of(PEER, STATION, 0x8888, 64),
                             frame_of(PEER, MULTICAST, 0x8888, 64),
                             frame_of(PEER, OWN, 0x0800, 64, 0x45), tagged};
  // What this host sends: another user's write, the probe itself, a frame nearly the probe.
  Frame longer(ADAPTER_PROBE_SIZE + 4);
  build_adapter_probe(longer.data(), OWN);
  const Frame from_host[] = {frame_of(OWN, PEER, 0x8888, 300, 0x33), probe, longer};

  // The watcher is the peer's end of the wire.
  for (const Frame& frame : from_wire)
    ASSERT_EQ(watcher->send(frame.data(), static_cast<int>(frame.size())), 0);
  ASSERT_EQ(watcher->send(probe.data(), static_cast<int>(probe.size())), 0)
      << "the probe's bytes, coming in";
  ASSERT_EQ(watcher->send(to_us.data(), static_cast<int>(to_us.size())), 0);
  ASSERT_EQ(watcher->send(to_all.data(), static_cast<int>(to_all.size())), 0);
  for (const Frame& frame : from_host)
    ASSERT_TRUE(send_from_host("eth0", frame));

  // The probe's bytes from the wire are the wire's, not this host's: a broadcast that passes
  // here (the helper drops link frames from the adapter's own MAC in user space).
  EXPECT_EQ(drained(capture), (std::vector<Frame>{probe, to_us, to_all}));
  EXPECT_EQ(drained(watch), std::vector<Frame>{probe});
  std::vector<Frame> came_in;
  const std::uint8_t* frame = nullptr;
  int wire = 0;
  int captured = 0;
  while (inbound->next(std::chrono::milliseconds{100}, &frame, &wire, &captured) == 1)
    came_in.emplace_back(frame, frame + captured);
  EXPECT_EQ(came_in.size(), std::size(from_wire) + 3) << "all that came from the wire";
  for (const Frame& sent : from_host)
    EXPECT_EQ(std::count(came_in.begin(), came_in.end(), sent), sent == probe ? 1 : 0)
        << "a frame this host sent (the probe's bytes came in once from the wire)";
  close(capture);
  close(watch);
}

// Another user configures a bridge through the same adapter while an ordinary user holds
// captures through the helper; a hostile station sends link frames to others and other frames
// to the adapter. The captures see the bridge's answers to the adapter and none of the write,
// nothing for another station and no other EtherType, and the adapter never turns promiscuous.
TEST_F(LinkHelperAsUser, ACaptureSeesNothingOfAnotherUsersWriteNorFramesForOtherStations) {
  netns::QuickLinkTiming timing;
  auto& emu = net->start_emulator(bridge_ns, "br0", "mac = 02:00:00:00:0b:01\nssid = Office\n");
  ASSERT_NO_FATAL_FAILURE(StartHelper());
  const std::uint32_t first = OpenEth0();
  const std::uint32_t second = OpenEth0();
  EXPECT_EQ(promiscuity(wizard_ns, "eth0"), "0") << "with the user's captures open";

  // The other user: the write, through the front end's own helper.
  const std::string passphrase = "correct horse battery staple";
  std::memset(&WirelessSettings, 0, sizeof WirelessSettings);
  std::memset(&WirelessKeys, 0, sizeof WirelessKeys);
  store_ssid(WirelessSettings, "Office");
  store_text(WirelessSettings.security, "WPA2-PSK");
  store_text(WirelessKeys.passphrase, passphrase);
  ASSERT_EQ(reopen_adapter("02-00-00-00-0a-01"), 0);
  EXPECT_EQ(promiscuity(wizard_ns, "eth0"), "0") << "with every capture open";
  std::uint8_t buffer[MAX_FRAME_SIZE];
  ASSERT_EQ(write_configuration(buffer, buffer, "02-00-00-00-0a-01", "02-00-00-00-0b-01"), 0);
  ASSERT_NE(emu.settings().find(passphrase), std::string::npos) << "the write went through";

  // From the peer's end: a hostile station's link frames for others, frames of other
  // EtherTypes to the adapter, and last a whole link frame to it.
  Frame tagged = frame_of(PEER, OWN, 0x8100, 68);
  tagged[14] = 0x00; // VLAN 5, then the link's EtherType
  tagged[15] = 0x05;
  tagged[16] = 0x88;
  tagged[17] = 0x88;
  const Frame others[] = {frame_of(PEER, STATION, 0x8888, 64, 0x5a),
                          frame_of(PEER, MULTICAST, 0x8888, 64, 0x5a),
                          frame_of(PEER, OWN, 0x0800, 64, 0x45),
                          frame_of(PEER, OWN, 0x0806, 60),
                          frame_of(PEER, OWN, 0x8889, 64),
                          frame_of(PEER, OWN, 0x86dd, 80),
                          tagged};
  for (const Frame& frame : others)
    ASSERT_EQ(watcher->send(frame.data(), static_cast<int>(frame.size())), 0);
  const Frame last = frame_of(PEER, OWN, 0x8888, 1514, 0x42);
  ASSERT_EQ(watcher->send(last.data(), static_cast<int>(last.size())), 0);
  capture_handle.reset();

  for (const std::uint32_t capture : {first, second}) {
    int seen = 0, from_the_host = 0, with_the_secret = 0, for_others = 0, other_types = 0;
    Frame frame;
    int wire = 0;
    std::string error;
    while (helper->next(capture, std::chrono::milliseconds{300}, &frame, &wire, &error) == 1 &&
           frame != last) {
      ++seen;
      from_the_host += std::memcmp(frame.data() + 6, OWN, 6) == 0;
      with_the_secret += contains(frame, passphrase);
      for_others +=
          std::memcmp(frame.data(), OWN, 6) != 0 && std::memcmp(frame.data(), BROADCAST, 6) != 0;
      other_types += frame[12] != 0x88 || frame[13] != 0x88;
    }
    EXPECT_EQ(frame, last) << "the last frame, whole";
    EXPECT_EQ(wire, 1514);
    EXPECT_EQ(from_the_host, 0) << "frames of the other user's write";
    EXPECT_EQ(with_the_secret, 0) << "frames holding the passphrase";
    EXPECT_EQ(for_others, 0) << "frames for another station";
    EXPECT_EQ(other_types, 0) << "frames of other EtherTypes";
    EXPECT_GE(seen, 6) << "the bridge's answers to the adapter, one per step";
  }
  EXPECT_EQ(promiscuity(wizard_ns, "eth0"), "0");
}

// The start-up probe, which the helper sends itself: it went out on an adapter with a peer; it
// did not on one without carrier, one that is down, or one whose queue drops everything.
TEST_F(LinkHelperAsUser, TellsWhetherAnAdaptersProbeWentOut) {
  net->add_veth(wizard_ns, "eth1", "02:00:00:00:0a:02", bridge_ns, "br1", "-", true, false);
  net->add_veth(wizard_ns, "eth2", "02:00:00:00:0a:03", bridge_ns, "br2", "-", false, true);
  net->add_veth(wizard_ns, "eth3", "02:00:00:00:0a:04", bridge_ns, "br3", "-");
  ASSERT_EQ(
      std::system(
          ("ip netns exec " + wizard_ns + " tc qdisc replace dev eth3 root pfifo limit 0").c_str()),
      0);
  ASSERT_NO_FATAL_FAILURE(StartHelper());
  struct Case {
    const char* adapter;
    int outcome;
  };
  for (const Case& adapter : {Case{"eth0", 1}, Case{"eth1", 0}, Case{"eth2", 0}, Case{"eth3", 0}}) {
    HelperOpening opening;
    if (helper->open_capture(adapter.adapter, &opening) != 0) {
      EXPECT_EQ(adapter.outcome, 0) << adapter.adapter << ": " << opening.error;
      continue;
    }
    std::string why;
    EXPECT_EQ(helper->probe_adapter(opening.capture, std::chrono::milliseconds{300}, &why),
              adapter.outcome)
        << adapter.adapter << ": " << why;
    EXPECT_EQ(why.empty(), adapter.outcome == 1) << adapter.adapter << ": " << why;
    helper->close_capture(opening.capture);
  }
  Frame probe(ADAPTER_PROBE_SIZE);
  build_adapter_probe(probe.data(), OWN);
  EXPECT_EQ(Watched(), std::vector<Frame>{probe}) << "the probe, byte for byte, and only it";
}
