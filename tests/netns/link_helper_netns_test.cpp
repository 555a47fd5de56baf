// The link helper on its own, as an ordinary user runs it (root makes the namespaces, then a
// copy of the helper with cap_net_raw=ep runs as nobody): what it refuses to send or open never
// reaches the wire, frames of other EtherTypes never come back through it, and requests that do
// not fit the protocol end the connection without a crash. The other end of the veth is watched
// by a capture of the test's own.
#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "link/helper_protocol.h"
#include "link/link_helper.h"
#include "link/pcap_capture.h"
#include "tests/netns/testnet.h"

namespace hp = helper_protocol;

namespace {

using Frame = std::vector<std::uint8_t>;

constexpr uid_t NOBODY = 65534;
const std::uint8_t OWN[6] = {0x02, 0, 0, 0, 0x0a, 0x01};
const std::uint8_t PEER[6] = {0x02, 0, 0, 0, 0x0b, 0x01};

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
                      const std::vector<std::string>& environment = {}) {
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
  pid_t Connect(int* raw, const std::vector<std::string>& environment = {}) {
    int pair[2];
    EXPECT_EQ(socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, pair), 0);
    const pid_t pid = StartAsNobody(pair[1], {}, environment);
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

TEST_F(LinkHelperAsUser, FramesOfOtherEtherTypesNeverComeBackThroughIt) {
  ASSERT_NO_FATAL_FAILURE(StartHelper());
  const std::uint32_t capture = OpenEth0();
  Frame tagged = frame_of(PEER, OWN, 0x8100, 68);
  tagged[14] = 0x00; // VLAN 5, then the link's EtherType
  tagged[15] = 0x05;
  tagged[16] = 0x88;
  tagged[17] = 0x88;
  const Frame others[] = {frame_of(PEER, OWN, 0x0800, 64, 0x45), frame_of(PEER, OWN, 0x0806, 60),
                          frame_of(PEER, OWN, 0x8889, 64), frame_of(PEER, OWN, 0x86dd, 80), tagged};
  for (const Frame& frame : others)
    ASSERT_EQ(watcher->send(frame.data(), static_cast<int>(frame.size())), 0);
  const Frame link = frame_of(PEER, OWN, 0x8888, 1514, 0x42);
  ASSERT_EQ(watcher->send(link.data(), static_cast<int>(link.size())), 0);

  const std::uint8_t* frame = nullptr;
  int wire = 0;
  int captured = 0;
  ASSERT_EQ(helper->next(capture, std::chrono::milliseconds{2000}, &frame, &wire, &captured), 1);
  EXPECT_EQ(Frame(frame, frame + captured), link);
  EXPECT_EQ(wire, 1514);
  EXPECT_EQ(helper->next(capture, std::chrono::milliseconds{300}, &frame, &wire, &captured), 0)
      << "nothing else comes back";
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

TEST_F(LinkHelperAsUser, EndsWhenItsClientClosesEvenInTheMiddleOfAWait) {
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
  close(raw);
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    ASSERT_LT(std::chrono::steady_clock::now() - closed_at, std::chrono::seconds{3})
        << "still waiting for frames nobody will read";
    std::this_thread::sleep_for(std::chrono::milliseconds{10});
  }
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}
