// qbr20g-cli as its users run it, over veth against emulated bridges (root): the settings text
// each way of configuring stores (the same as the wizard's flows store), a batch with a bridge
// that fails, every check refused with its message before anything reaches the wire, the JSON
// of each command, secrets kept off the command line, Ctrl-C, and the exit statuses.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "tests/netns/flow_settings.h"
#include "tests/netns/testnet.h"

namespace {

using Clock = std::chrono::steady_clock;
using Json = nlohmann::json;

const char* const WIZARD_MAC = "02:00:00:00:0a:01";
const char* const WIZARD_TEXT = "02-00-00-00-0a-01";
const char* const BRIDGE_MAC = "02-00-00-00-0b-01";

struct CliRun {
  int status = -1; // exit status, or 128 + signal
  std::string out;
  std::string err;
};

// A running qbr20g-cli with pipes on its standard streams.
class CliProcess {
public:
  explicit CliProcess(const std::vector<std::string>& arguments,
                      const std::string& program = QBR20G_CLI_PATH) {
    int in[2];
    int out[2];
    int err[2];
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0)
      throw std::runtime_error("pipe");
    pid_ = fork();
    if (pid_ == 0) {
      dup2(in[0], STDIN_FILENO);
      dup2(out[1], STDOUT_FILENO);
      dup2(err[1], STDERR_FILENO);
      std::vector<std::string> argv = {program};
      argv.insert(argv.end(), arguments.begin(), arguments.end());
      netns::exec_argv(argv);
    }
    close(in[0]);
    close(out[1]);
    close(err[1]);
    in_ = in[1];
    out_ = out[0];
    err_ = err[0];
  }
  ~CliProcess() {
    if (pid_ > 0 && !ended_) {
      kill(pid_, SIGKILL);
      Finish();
    }
    for (int fd : {in_, out_, err_})
      if (fd >= 0)
        close(fd);
  }
  pid_t pid() const { return pid_; }

  void Write(const std::string& text) {
    if (::write(in_, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
      ADD_FAILURE() << "could not write to qbr20g-cli";
  }
  // Closes its standard input and collects everything until it ends.
  CliRun Finish() {
    if (in_ >= 0) {
      close(in_);
      in_ = -1;
    }
    CliRun run;
    pollfd streams[2] = {{out_, POLLIN, 0}, {err_, POLLIN, 0}};
    std::string* texts[2] = {&run.out, &run.err};
    int open = 2;
    while (open > 0) {
      if (poll(streams, 2, 120000) <= 0)
        break;
      for (int i = 0; i < 2; ++i) {
        if (streams[i].fd < 0 || !(streams[i].revents & (POLLIN | POLLHUP)))
          continue;
        char chunk[4096];
        const ssize_t got = read(streams[i].fd, chunk, sizeof chunk);
        if (got <= 0) {
          streams[i].fd = -1;
          --open;
        } else {
          texts[i]->append(chunk, static_cast<std::size_t>(got));
        }
      }
    }
    int status = 0;
    waitpid(pid_, &status, 0);
    ended_ = true;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return run;
  }

private:
  pid_t pid_ = -1;
  int in_ = -1;
  int out_ = -1;
  int err_ = -1;
  bool ended_ = false;
};

CliRun RunCli(const std::vector<std::string>& arguments, const std::string& input = "",
              const std::string& program = QBR20G_CLI_PATH) {
  CliProcess cli(arguments, program);
  cli.Write(input);
  return cli.Finish();
}

std::string Describe(const CliRun& run) {
  return "exit " + std::to_string(run.status) + "\nstdout: " + run.out + "\nstderr: " + run.err;
}

// Frames that the emulators saw from the command line's adapter.
int FramesFromUs(const std::vector<FrameLogEntry>& log) {
  int count = 0;
  for (const FrameLogEntry& entry : log)
    count += entry.direction == "rx" && entry.src == WIZARD_TEXT;
  return count;
}

class CliOverVeth : public netns::NetnsTest {
protected:
  void SetUp() override {
    NetnsTest::SetUp();
    if (IsSkipped())
      return;
    wizard_ns = net->add_namespace("wiz");
    bridge_ns = net->add_namespace("br");
    net->add_veth(wizard_ns, "eth0", WIZARD_MAC, bridge_ns, "br0", "-");
  }
  netns::Emulator& StartBridge(const std::string& mac = BRIDGE_MAC,
                               const std::vector<std::string>& faults = {}) {
    return net->start_emulator(bridge_ns, "br0", Scenario(mac.c_str()), faults);
  }
  // The command line runs in the wizard's namespace, a child of this process.
  void Enter() { net->enter(wizard_ns); }

  std::string wizard_ns, bridge_ns;
};

struct ConfigureCase {
  const char* name;
  std::vector<std::string> arguments;
  std::string secrets;
  const std::string* expected;
};

class CliConfigures : public CliOverVeth, public ::testing::WithParamInterface<ConfigureCase> {};

} // namespace

// Each way of configuring, with the bridge named on its adapter (no discovery): the settings
// text the bridge stores is the one the wizard's flow for the same choices stores.
TEST_P(CliConfigures, StoresWhatTheWizardStoresForTheSameChoices) {
  auto& bridge = StartBridge();
  Enter();
  std::vector<std::string> arguments = {"configure", "--adapter",      "eth0", "--bridge",
                                        BRIDGE_MAC,  "--secrets-file", "-"};
  arguments.insert(arguments.end(), GetParam().arguments.begin(), GetParam().arguments.end());
  const CliRun run = RunCli(arguments, GetParam().secrets);
  EXPECT_EQ(run.status, 0) << Describe(run);
  EXPECT_EQ(run.out, "") << "quiet on success";
  EXPECT_EQ(bridge.settings(), *GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Flows, CliConfigures,
    ::testing::Values(
        ConfigureCase{"OpenFromTheSurvey", {"--ssid", "OpenCafe"}, "", &OPEN_FROM_LIST},
        ConfigureCase{"Wep64AsciiFromTheSurvey",
                      {"--ssid", "OldPrinter", "--wep-format", "ascii"},
                      "key1=abcde\n",
                      &WEP64_ASCII},
        ConfigureCase{"Wep128HexOnKeyTwo",
                      {"--ssid", "OldPrinter", "--key-index", "2"},
                      "# key 2 only\nkey2=00112233445566778899AABBCC\n",
                      &WEP128_HEX_KEY2},
        ConfigureCase{"WpaPskFromTheSurvey",
                      {"--ssid", "Office"},
                      "passphrase=office passphrase\n",
                      &WPA_FROM_LIST},
        ConfigureCase{"Wpa2Typed",
                      {"--ssid", "Typed Net", "--security", "wpa2-psk"},
                      "passphrase=twelve chars\r\n",
                      &WPA2_TYPED},
        ConfigureCase{"HiddenWpa2",
                      {"--ssid", "Backroom", "--hidden", "--security", "WPA2-PSK"},
                      "passphrase=hidden but safe\n",
                      &HIDDEN_WPA2}),
    [](const ::testing::TestParamInfo<ConfigureCase>& flow) { return flow.param.name; });

TEST_F(CliOverVeth, ABatchReportsEachBridgeAndFailsWhenOneDoes) {
  auto& first = StartBridge("02-00-00-00-0b-01");
  auto& failing = StartBridge("02-00-00-00-0b-02", {"drop write-9002 2"});
  auto& third = StartBridge("02-00-00-00-0b-03");
  Enter();
  const CliRun run = RunCli({"--json", "configure", "--all", "--ssid", "Typed Net", "--security",
                             "wpa2-psk", "--secrets-file", "-"},
                            "passphrase=twelve chars\n");
  EXPECT_EQ(run.status, 1) << Describe(run);
  const Json outcomes = Json::parse(run.out);
  ASSERT_EQ(outcomes.size(), 3u) << run.out;
  std::map<std::string, std::string> results;
  for (const Json& outcome : outcomes) {
    EXPECT_EQ(outcome.at("adapter"), "eth0");
    results[outcome.at("bridge")] = outcome.at("result");
  }
  EXPECT_EQ(results["02-00-00-00-0b-01"], "saved");
  EXPECT_EQ(results["02-00-00-00-0b-02"], "failed");
  EXPECT_EQ(results["02-00-00-00-0b-03"], "saved");
  EXPECT_EQ(first.settings(), WPA2_TYPED);
  EXPECT_EQ(third.settings(), WPA2_TYPED);
  // One discovery: one broadcast probe request (64 bytes; the start-up probe has 100),
  // whatever the number of bridges.
  int discoveries = 0;
  for (const FrameLogEntry& entry : first.log())
    discoveries += entry.direction == "rx" && entry.dst == "ff-ff-ff-ff-ff-ff" && entry.size == 64;
  EXPECT_EQ(discoveries, 1);
  (void)failing;

  const CliRun table = RunCli({"configure", "--bridge", "02:00:00:00:0b:01", "--bridge",
                               "02:00:00:00:0b:03", "--ssid", "OpenCafe", "--security", "open"});
  EXPECT_EQ(table.status, 0) << Describe(table);
  EXPECT_NE(table.out.find("02-00-00-00-0b-03  eth0     saved   Save config successfully !"),
            std::string::npos)
      << table.out;
}

// Each check that the pages make, with the pages' message, before anything reaches the wire.
TEST_F(CliOverVeth, EveryCheckIsRefusedWithThePagesMessageAndNothingIsSent) {
  auto& bridge = StartBridge();
  Enter();
  struct Refusal {
    std::vector<std::string> arguments;
    std::string secrets;
    std::string message;
  };
  const std::string typed_wpa = "--security=wpa2-psk";
  const Refusal refusals[] = {
      {{"--ssid", ""}, "", "You must input the ssid!"},
      {{"--ssid", std::string(33, 's'), "--security", "open"},
       "",
       "The SSID must be at most 32 bytes!"},
      {{"--ssid", "tab\there", "--security", "open"},
       "",
       "The SSID must not contain control characters!"},
      {{"--ssid", "Net", typed_wpa}, "passphrase=short\n", "Passphrase at least 8 characters !"},
      {{"--ssid", "Net", typed_wpa},
       "passphrase=" + std::string(64, 'p') + "\n",
       "Passphrase at most 63 characters !"},
      {{"--ssid", "Net", typed_wpa},
       "passphrase=line\x1b"
       "break\n",
       "Passphrase must not contain control characters !"},
      {{"--ssid", "Net", "--security", "wep"}, "", "4 keys are all null !"},
      {{"--ssid", "Net", "--security", "wep", "--key-index", "3"},
       "key1=0011223344\n",
       "The key of Key Index 3 is null !"},
      {{"--ssid", "Net", "--security", "wep"},
       "key1=0011223344\nkey2=00112233445566778899AABBCC\n",
       "Key length must be 10 or 26 characters!"},
      {{"--ssid", "Net", "--security", "wep", "--wep-format", "ascii"},
       "key1=abcdef\n",
       "Key length must be 5 or 13 characters!"},
      {{"--ssid", "Net", "--security", "wep"},
       "key1=001122334G\n",
       "Key 1 must be hexadecimal digits (0-9, A-F) !"},
      {{"--ssid", "Net", "--security", "wep", "--wep-format", "ascii"},
       "key1=ab\x7f"
       "de\n",
       "Key 1 must not contain control characters !"},
      {{"--ssid", "Net", typed_wpa}, "passphrase=fine passphrase\nkey5=x\n", "unknown name 'key5'"},
      {{"--ssid", "Net", "--all"}, "", "needs --security"},
      {{"--ssid", "Net", "--hidden"}, "", "a hidden network needs --security"},
      {{"--ssid", "Net", "--security", "open", "--key-index", "2"}, "", "for --security wep"},
      {{"--ssid", "Net", "--bridge", "02:00:00:0b:01"}, "", "not a MAC address"},
      {{"--ssid", "Net", "--passphrase", "secret"}, "", "--passphrase"},
  };
  for (const Refusal& refusal : refusals) {
    std::vector<std::string> arguments = {"configure", "--secrets-file", "-"};
    arguments.insert(arguments.end(), refusal.arguments.begin(), refusal.arguments.end());
    const CliRun run = RunCli(arguments, refusal.secrets);
    EXPECT_EQ(run.status, 2) << refusal.message << "\n" << Describe(run);
    EXPECT_NE(run.err.find(refusal.message), std::string::npos) << Describe(run);
    EXPECT_EQ(run.out, "");
  }
  std::this_thread::sleep_for(std::chrono::milliseconds{300});
  EXPECT_EQ(FramesFromUs(bridge.log()), 0) << "a refused configuration reached the wire";
  EXPECT_EQ(bridge.settings(), "");
}

TEST_F(CliOverVeth, SecretsComeFromAFileOrStandardInputAndNeverFromTheCommandLine) {
  auto& bridge = StartBridge();
  Enter();
  const std::string file = net->files() + "/office.secrets";
  std::ofstream(file) << "passphrase=twelve chars\n";
  chmod(file.c_str(), 0600);
  const CliRun from_file =
      RunCli({"configure", "--adapter", "eth0", "--bridge", BRIDGE_MAC, "--ssid", "Typed Net",
              "--security", "wpa2-psk", "--secrets-file", file});
  EXPECT_EQ(from_file.status, 0) << Describe(from_file);
  EXPECT_EQ(from_file.err, "") << "no note about a private file";
  EXPECT_EQ(bridge.settings(), WPA2_TYPED);

  // While it waits for its secrets on standard input, nothing secret is on its command line.
  CliProcess waiting({"configure", "--adapter", "eth0", "--bridge", BRIDGE_MAC, "--ssid",
                      "Backroom", "--hidden", "--security", "wpa2-psk", "--secrets-file", "-"});
  std::this_thread::sleep_for(std::chrono::milliseconds{200});
  std::ifstream cmdline("/proc/" + std::to_string(waiting.pid()) + "/cmdline");
  const std::string arguments{std::istreambuf_iterator<char>(cmdline), {}};
  EXPECT_NE(arguments.find("Backroom"), std::string::npos) << "read the right process";
  EXPECT_EQ(arguments.find("hidden but safe"), std::string::npos);
  waiting.Write("passphrase=hidden but safe\n");
  const CliRun from_input = waiting.Finish();
  EXPECT_EQ(from_input.status, 0) << Describe(from_input);
  EXPECT_EQ(bridge.settings(), HIDDEN_WPA2);

  // A secrets file that never ends, or is no file, is refused with its reason, not read
  // into memory until the machine runs out.
  const int sent = FramesFromUs(bridge.log());
  for (const auto& [path, reason] :
       {std::pair{"/dev/zero", "the secrets file is too long"},
        std::pair{"/", "cannot read the secrets file /: Is a directory"}}) {
    const CliRun refused =
        RunCli({"configure", "--adapter", "eth0", "--bridge", BRIDGE_MAC, "--ssid", "Typed Net",
                "--security", "wpa2-psk", "--secrets-file", path});
    EXPECT_EQ(refused.status, 2) << Describe(refused);
    EXPECT_NE(refused.err.find(reason), std::string::npos) << Describe(refused);
  }
  EXPECT_EQ(FramesFromUs(bridge.log()), sent) << "a refused secrets file reached the wire";

  // Without a terminal to ask on and without a file, it says how to give them.
  const CliRun nowhere = RunCli({"configure", "--adapter", "eth0", "--bridge", BRIDGE_MAC, "--ssid",
                                 "Backroom", "--security", "wpa-psk"});
  EXPECT_EQ(nowhere.status, 2) << Describe(nowhere);
  EXPECT_NE(nowhere.err.find("--secrets-file"), std::string::npos) << nowhere.err;
}

// Each command's JSON, as a script reads it; no progress line on a pipe. An SSID is bytes: the
// JSON carries them whole in hex beside a display text, and the text output never hands a
// control character to the terminal.
TEST_F(CliOverVeth, EachCommandWritesItsJsonAndNoProgressOnAPipe) {
  net->start_emulator(bridge_ns, "br0",
                      Scenario(BRIDGE_MAC) +
                          "network = \"Caf\\xe9 \\x1b[2J|a4:2b:b0:00:00:09|6|G|0|50\"\n");
  Enter();
  const CliRun adapters = RunCli({"--json", "adapters"});
  ASSERT_EQ(adapters.status, 0) << Describe(adapters);
  EXPECT_EQ(Json::parse(adapters.out),
            Json::parse(R"([{"name": "eth0", "mac": "02-00-00-00-0a-01"}])"));

  const CliRun list = RunCli({"list", "--json"});
  ASSERT_EQ(list.status, 0) << Describe(list);
  EXPECT_EQ(Json::parse(list.out),
            Json::parse(R"([{"bridge": "02-00-00-00-0b-01", "adapter": "eth0",
                             "adapter_mac": "02-00-00-00-0a-01"}])"));
  EXPECT_EQ(list.err, "") << "no progress line when standard error is a pipe";

  const CliRun survey = RunCli({"--json", "survey", "--adapter", "eth0", "--bridge", BRIDGE_MAC});
  ASSERT_EQ(survey.status, 0) << Describe(survey);
  EXPECT_EQ(survey.err, "");
  const Json networks = Json::parse(survey.out);
  ASSERT_EQ(networks.size(), 6u);
  EXPECT_EQ(networks[0], Json::parse(R"({"ssid": "OpenCafe", "ssid_hex": "4f70656e43616665",
      "hidden": false, "bssid": "a4:2b:b0:00:00:01", "channel": 1, "signal": 80,
      "security": "Disable", "speed": "11Mbps"})"));
  EXPECT_EQ(networks[3].at("hidden"), true);
  EXPECT_EQ(networks[3].at("ssid"), "");
  EXPECT_EQ(networks[3].at("security"), "WPA2-PSK");
  EXPECT_EQ(networks[5].at("ssid_hex"), "436166e9201b5b324a");
  EXPECT_EQ(networks[5].at("ssid"), "Caf\xc3\xa9 \x1b[2J") << "Latin-1 read as the pages read it";

  const CliRun text = RunCli({"survey", "--adapter", "eth0", "--bridge", BRIDGE_MAC});
  ASSERT_EQ(text.status, 0) << Describe(text);
  EXPECT_EQ(text.out.find('\x1b'), std::string::npos) << "an escape reached the terminal";
  EXPECT_NE(text.out.find("Caf\xc3\xa9 \\x1b[2J"), std::string::npos) << text.out;

  const CliRun show = RunCli({"show", "--json"});
  ASSERT_EQ(show.status, 0) << Describe(show);
  EXPECT_EQ(Json::parse(show.out),
            Json::parse(R"([{"bridge": "02-00-00-00-0b-01", "adapter": "eth0",
                             "ssid": "Previous", "ssid_hex": "50726576696f7573",
                             "security": "WPA-PSK"}])"));
}

TEST_F(CliOverVeth, CtrlCDuringTheSurveysPauseEndsAtOnceWithNothingMoreSent) {
  auto& bridge = StartBridge();
  Enter();
  CliProcess survey({"survey", "--adapter", "eth0", "--bridge", BRIDGE_MAC});
  ASSERT_TRUE(bridge.wait_for([](const std::vector<FrameLogEntry>& log) {
    for (const FrameLogEntry& entry : log)
      if (entry.direction == "tx" && entry.code == 0x00010102) // the scan's execute ack
        return true;
    return false;
  }));
  const int sent_before = FramesFromUs(bridge.log());
  const auto interrupted = Clock::now();
  kill(survey.pid(), SIGINT);
  const CliRun run = survey.Finish();
  EXPECT_LT(Clock::now() - interrupted, std::chrono::seconds{1}) << "it did not stop at once";
  EXPECT_EQ(run.status, 130) << Describe(run);
  EXPECT_EQ(run.out, "");
  std::this_thread::sleep_for(std::chrono::milliseconds{500});
  EXPECT_EQ(FramesFromUs(bridge.log()), sent_before) << "a frame went out after Ctrl-C";
}

TEST_F(CliOverVeth, ExitStatusesTellNoAdapterFromNoBridge) {
  Enter();
  const CliRun silent = RunCli({"list"});
  EXPECT_EQ(silent.status, 4) << Describe(silent);
  EXPECT_NE(silent.err.find("no bridge answered: check its cable and power"), std::string::npos)
      << silent.err;

  const CliRun no_such = RunCli({"survey", "--adapter", "nosuch0"});
  EXPECT_EQ(no_such.status, 3) << Describe(no_such);
  EXPECT_NE(no_such.err.find("nosuch0 is not a wired Ethernet adapter"), std::string::npos);

  const CliRun loopback = RunCli({"list", "--adapter", "lo"});
  EXPECT_EQ(loopback.status, 3) << Describe(loopback);

  // Without its link helper it gives the wizard's start-up words, cause and fix.
  const std::string lonely = net->files() + "/bin";
  std::filesystem::create_directories(lonely);
  std::filesystem::copy_file(QBR20G_CLI_PATH, lonely + "/qbr20g-cli");
  const CliRun missing = RunCli({"adapters"}, "", lonely + "/qbr20g-cli");
  EXPECT_EQ(missing.status, 3) << Describe(missing);
  const std::string helper = net->files() + "/libexec/qbr20g-setup/qbr20g-link";
  EXPECT_NE(missing.err.find("Error: NIC not found!"), std::string::npos) << missing.err;
  EXPECT_NE(missing.err.find(helper + ", which could not be started"), std::string::npos)
      << missing.err;
  EXPECT_NE(missing.err.find("cap_net_raw=ep " + helper), std::string::npos) << missing.err;
  EXPECT_NE(missing.err.find("Reinstall the package qbr20g-link"), std::string::npos)
      << "the helper's own package: " << missing.err;
  EXPECT_NE(missing.err.find("start qbr20g-cli again"), std::string::npos) << missing.err;
  EXPECT_EQ(missing.err.find("wizard"), std::string::npos) << "the command line speaks as itself";
}
