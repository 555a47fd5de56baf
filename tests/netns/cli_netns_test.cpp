// qbr20g-cli as its users run it, over veth against emulated bridges (root): the settings text
// each way of configuring stores (the same as the wizard's flows store), every check refused
// with its message before anything reaches the wire, secrets kept off the command line, the
// JSON of each command, Ctrl-C, the exit statuses, and the user's language (but JSON's is
// always English). Then a fleet on two adapters: never the wrong bridge, one discovery for all,
// plan then apply, and every row kept when a helper is lost or the batch is interrupted.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
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
using Log = std::vector<FrameLogEntry>;

const char* const WIZARD_MAC = "02:00:00:00:0a:01";
const char* const WIZARD_TEXT = "02-00-00-00-0a-01";
const char* const SECOND_MAC = "02:00:00:00:0a:02";
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

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// Frames that an emulator saw from the command line's adapter `source`.
int FramesFrom(const Log& log, const std::string& source = WIZARD_TEXT) {
  int count = 0;
  for (const FrameLogEntry& entry : log)
    count += entry.direction == "rx" && entry.src == source;
  return count;
}

// The requests that reached `bridge` itself (not those it overheard for others), as
// netns::request_summary spells them.
std::string RequestsTo(const Log& log, const std::string& bridge) {
  Log to_bridge;
  for (const FrameLogEntry& entry : log)
    if (entry.dst == bridge)
      to_bridge.push_back(entry);
  return netns::request_summary(to_bridge);
}

// Broadcast probes of a discovery (64 bytes; the start-up probe has 100) from `source`.
int Discoveries(const Log& log, const std::string& source) {
  int count = 0;
  for (const FrameLogEntry& entry : log)
    count += entry.direction == "rx" && entry.src == source && entry.dst == "ff-ff-ff-ff-ff-ff" &&
             entry.size == 64;
  return count;
}

std::map<std::string, Json> RowsByBridge(const std::string& json) {
  std::map<std::string, Json> rows;
  for (const Json& row : Json::parse(json))
    rows[row.at("bridge")] = row;
  return rows;
}

// The qbr20g-link processes that `cli` started.
std::vector<pid_t> HelpersOf(pid_t cli) {
  std::vector<pid_t> helpers;
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    std::ifstream stat(entry.path() / "stat");
    std::string pid;
    std::string name;
    std::string state;
    pid_t parent = 0;
    if (stat >> pid >> name >> state >> parent && parent == cli && name == "(qbr20g-link)")
      helpers.push_back(std::stoi(pid));
  }
  return helpers;
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
  std::string PrivateFile(const std::string& name, const std::string& text) {
    const std::string path = net->files() + "/" + name;
    std::ofstream(path) << text;
    chmod(path.c_str(), 0600);
    return path;
  }

  std::string wizard_ns, bridge_ns;
};

struct ConfigureCase {
  std::vector<std::string> arguments;
  std::string secrets;
  const std::string* expected;
};

} // namespace

// Each way of configuring, each into a bridge of its own named on its adapter (no discovery),
// all at once: the settings text each bridge stores is the one the wizard's flow for the same
// choices stores, and the row names the bridge.
TEST_F(CliOverVeth, EachWayOfConfiguringStoresWhatTheWizardStoresForTheSameChoices) {
  const ConfigureCase cases[] = {
      {{"--ssid", "OpenCafe"}, "", &OPEN_FROM_LIST},
      {{"--ssid", "OldPrinter", "--wep-format", "ascii"}, "key1=abcde\n", &WEP64_ASCII},
      {{"--ssid", "OldPrinter", "--key-index", "2"},
       "# key 2 only\nkey2=00112233445566778899AABBCC\n",
       &WEP128_HEX_KEY2},
      {{"--ssid", "Office"}, "passphrase=office passphrase\n", &WPA_FROM_LIST},
      {{"--ssid", "Typed Net", "--security", "wpa2-psk"},
       "passphrase=twelve chars\r\n",
       &WPA2_TYPED},
      {{"--ssid", "Backroom", "--hidden", "--security", "WPA2-PSK"},
       "passphrase=hidden but safe\n",
       &HIDDEN_WPA2},
  };
  std::vector<netns::Emulator*> bridges;
  std::vector<std::string> macs;
  for (int i = 0; i < 6; ++i) {
    macs.push_back("02-00-00-00-0b-1" + std::to_string(i));
    bridges.push_back(&StartBridge(macs.back()));
  }
  Enter();
  std::vector<std::unique_ptr<CliProcess>> runs;
  for (int i = 0; i < 6; ++i) {
    std::vector<std::string> arguments = {"configure", "--adapter",      "eth0", "--bridge",
                                          macs[i],     "--secrets-file", "-"};
    arguments.insert(arguments.end(), cases[i].arguments.begin(), cases[i].arguments.end());
    runs.push_back(std::make_unique<CliProcess>(arguments));
    runs.back()->Write(cases[i].secrets);
  }
  for (int i = 0; i < 6; ++i) {
    const CliRun run = runs[i]->Finish();
    EXPECT_EQ(run.status, 0) << Describe(run);
    EXPECT_TRUE(Contains(run.out, macs[i] + "  eth0     saved")) << run.out;
    EXPECT_EQ(bridges[i]->settings(), *cases[i].expected) << cases[i].arguments[1];
  }
}

// Each check that the pages make, with the pages' message (and what form is wanted), before
// anything reaches the wire.
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
      {{"--ssid", "[HiddenSSID]"}, "", "type the network's real name"},
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
       "The key of Key Index 3 is null ! (give key3= in the secrets)"},
      {{"--ssid", "Net", "--security", "wep"},
       "key1=0011223344\nkey2=00112233445566778899AABBCC\n",
       "Key length must be 10 or 26 characters! (key 1 has 10, key 2 has 26 characters: every "
       "key must be of one width"},
      {{"--ssid", "Net", "--security", "wep"},
       "key1=abcde\n",
       "Key length must be 10 or 26 characters! (key 1 has 5 characters: a key of 5 or 13 "
       "characters is ASCII; add --wep-format ascii)"},
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
      {{"--ssid", "Net", "--bridge", "02:00-00:00:0b:01"}, "", "not a MAC address"},
      {{"--ssid", "Net", "--passphrase", "secret"}, "", "--passphrase"},
      {{"--from", "/dev/null", "--ssid", "Net"}, "", "--from gives each bridge its own"},
  };
  for (const Refusal& refusal : refusals) {
    std::vector<std::string> arguments = {"configure", "--secrets-file", "-"};
    arguments.insert(arguments.end(), refusal.arguments.begin(), refusal.arguments.end());
    const CliRun run = RunCli(arguments, refusal.secrets);
    EXPECT_EQ(run.status, 2) << refusal.message << "\n" << Describe(run);
    EXPECT_TRUE(Contains(run.err, refusal.message)) << Describe(run);
    EXPECT_EQ(run.out, "");
  }
  std::this_thread::sleep_for(std::chrono::milliseconds{300});
  EXPECT_EQ(FramesFrom(bridge.log()), 0) << "a refused configuration reached the wire";
  EXPECT_EQ(bridge.settings(), "");
}

TEST_F(CliOverVeth, SecretsComeFromAPrivateFileOrStandardInputAndNeverFromTheCommandLine) {
  auto& bridge = StartBridge();
  Enter();
  const std::string file = PrivateFile("office.secrets", "passphrase=twelve chars\n");
  const std::vector<std::string> typed = {"configure", "--adapter",     "eth0",      "--bridge",
                                          BRIDGE_MAC,  "--ssid",        "Typed Net", "--security",
                                          "wpa2-psk",  "--secrets-file"};
  std::vector<std::string> arguments = typed;
  arguments.push_back(file);
  const CliRun from_file = RunCli(arguments);
  EXPECT_EQ(from_file.status, 0) << Describe(from_file);
  EXPECT_EQ(from_file.err, "");
  EXPECT_EQ(bridge.settings(), WPA2_TYPED);

  // While it waits for its secrets on standard input, nothing secret is on its command line.
  CliProcess waiting({"configure", "--adapter", "eth0", "--bridge", BRIDGE_MAC, "--ssid",
                      "Backroom", "--hidden", "--security", "wpa2-psk", "--secrets-file", "-"});
  std::this_thread::sleep_for(std::chrono::milliseconds{200});
  std::ifstream cmdline("/proc/" + std::to_string(waiting.pid()) + "/cmdline");
  const std::string words{std::istreambuf_iterator<char>(cmdline), {}};
  EXPECT_TRUE(Contains(words, "Backroom")) << "read the right process";
  EXPECT_FALSE(Contains(words, "hidden but safe"));
  waiting.Write("passphrase=hidden but safe\n");
  const CliRun from_input = waiting.Finish();
  EXPECT_EQ(from_input.status, 0) << Describe(from_input);
  EXPECT_EQ(bridge.settings(), HIDDEN_WPA2);

  // Typed at a terminal, the secrets on standard input are not shown.
  int terminal = -1;
  const pid_t typing = forkpty(&terminal, nullptr, nullptr, nullptr);
  if (typing == 0)
    netns::exec_argv({QBR20G_CLI_PATH, "configure", "--adapter", "eth0", "--bridge", BRIDGE_MAC,
                      "--ssid", "Typed Net", "--security", "wpa2-psk", "--secrets-file", "-"});
  std::string screen;
  const auto read_screen = [&] {
    pollfd ready{terminal, POLLIN, 0};
    char chunk[512];
    ssize_t got = 0;
    if (poll(&ready, 1, 10000) > 0 && (got = read(terminal, chunk, sizeof chunk)) > 0)
      screen.append(chunk, static_cast<std::size_t>(got));
    return got > 0;
  };
  while (!Contains(screen, "then Ctrl-D") && read_screen()) {
  }
  const std::string typed_in = "passphrase=twelve chars\n\x04";
  ASSERT_EQ(write(terminal, typed_in.data(), typed_in.size()),
            static_cast<ssize_t>(typed_in.size()));
  while (read_screen()) {
  }
  close(terminal);
  int typing_status = 0;
  waitpid(typing, &typing_status, 0);
  EXPECT_TRUE(WIFEXITED(typing_status) && WEXITSTATUS(typing_status) == 0) << screen;
  EXPECT_TRUE(Contains(screen, "saved")) << screen;
  EXPECT_FALSE(Contains(screen, "twelve chars")) << "the passphrase was shown: " << screen;
  EXPECT_EQ(bridge.settings(), WPA2_TYPED);

  // A secrets file that others may read, that never ends, or that is no file is refused with
  // its reason, not read into memory until the machine runs out.
  chmod(file.c_str(), 0644);
  const int sent = FramesFrom(bridge.log());
  for (const auto& [path, reason] :
       {std::pair{file, "other users may read the secrets file " + file +
                            "; make it private (chmod 600 " + file + ")"},
        std::pair{std::string("/dev/zero"), std::string("the secrets file is too long")},
        std::pair{std::string("/"),
                  std::string("cannot read the secrets file /: Is a directory")}}) {
    arguments = typed;
    arguments.push_back(path);
    const CliRun refused = RunCli(arguments);
    EXPECT_EQ(refused.status, 2) << Describe(refused);
    EXPECT_TRUE(Contains(refused.err, reason)) << Describe(refused);
  }
  EXPECT_EQ(FramesFrom(bridge.log()), sent) << "a refused secrets file reached the wire";

  // Without a terminal to ask on and without a file, it says how to give them.
  const CliRun nowhere = RunCli({"configure", "--adapter", "eth0", "--bridge", BRIDGE_MAC, "--ssid",
                                 "Backroom", "--security", "wpa-psk"});
  EXPECT_EQ(nowhere.status, 2) << Describe(nowhere);
  EXPECT_TRUE(Contains(nowhere.err, "--secrets-file")) << nowhere.err;
}

// Each command's JSON, as a script reads it; no progress line on a pipe. An SSID is bytes: the
// JSON carries them whole in hex beside a display text, and the text output never hands a
// control character to the terminal. Security is in the words --security takes.
TEST_F(CliOverVeth, EachCommandWritesItsJsonAndNoProgressOnAPipe) {
  const std::string odd = "network = \"Caf\\xe9 \\x1b[2J|a4:2b:b0:00:00:09|6|G|0|50\"\n";
  net->start_emulator(bridge_ns, "br0", Scenario(BRIDGE_MAC) + odd);
  net->start_emulator(bridge_ns, "br0", Scenario("02-00-00-00-0b-02") + odd);
  Enter();
  const CliRun adapters = RunCli({"--json", "adapters"});
  ASSERT_EQ(adapters.status, 0) << Describe(adapters);
  EXPECT_EQ(Json::parse(adapters.out),
            Json::parse(R"([{"adapter": "eth0", "mac": "02-00-00-00-0a-01"}])"));

  const CliRun list = RunCli({"list", "--json"});
  ASSERT_EQ(list.status, 0) << Describe(list);
  EXPECT_EQ(Json::parse(list.out), Json::parse(R"([
      {"bridge": "02-00-00-00-0b-01", "adapter": "eth0", "adapter_mac": "02-00-00-00-0a-01"},
      {"bridge": "02-00-00-00-0b-02", "adapter": "eth0", "adapter_mac": "02-00-00-00-0a-01"}])"));
  EXPECT_EQ(list.err, "") << "no progress line when standard error is a pipe";

  // The two surveys at once, one bridge each.
  CliProcess json({"--json", "survey", "--adapter", "eth0", "--bridge", BRIDGE_MAC});
  CliProcess text({"survey", "--adapter", "eth0", "--bridge", "02:00:00:00:0b:02"});
  const CliRun survey = json.Finish();
  ASSERT_EQ(survey.status, 0) << Describe(survey);
  EXPECT_EQ(survey.err, "");
  const Json networks = Json::parse(survey.out);
  ASSERT_EQ(networks.size(), 6u);
  EXPECT_EQ(networks[0], Json::parse(R"({"bridge": "02-00-00-00-0b-01", "adapter": "eth0",
      "ssid": "OpenCafe", "ssid_hex": "4f70656e43616665", "hidden": false,
      "bssid": "a4:2b:b0:00:00:01", "channel": 1, "signal": 80, "security": "open",
      "security_text": "Disable", "speed": "11Mbps"})"));
  EXPECT_EQ(networks[3].at("hidden"), true);
  EXPECT_EQ(networks[3].at("ssid"), "");
  EXPECT_EQ(networks[3].at("security"), "wpa2-psk");
  EXPECT_EQ(networks[5].at("ssid_hex"), "436166e9201b5b324a");
  EXPECT_EQ(networks[5].at("ssid"), "Caf\xc3\xa9 \x1b[2J") << "Latin-1 read as the pages read it";

  const CliRun table = text.Finish();
  ASSERT_EQ(table.status, 0) << Describe(table);
  EXPECT_FALSE(Contains(table.out, "\x1b")) << "an escape reached the terminal";
  EXPECT_TRUE(Contains(table.out, "Caf\xc3\xa9 \\x1b[2J")) << table.out;
  EXPECT_TRUE(Contains(table.out, "02-00-00-00-0b-02  eth0     Office")) << table.out;
}

TEST_F(CliOverVeth, CtrlCDuringTheSurveysPauseEndsAtOnceWithNothingMoreSent) {
  auto& bridge = StartBridge();
  Enter();
  CliProcess survey({"survey", "--adapter", "eth0", "--bridge", BRIDGE_MAC});
  ASSERT_TRUE(bridge.wait_for([](const Log& log) {
    for (const FrameLogEntry& entry : log)
      if (entry.direction == "tx" && entry.code == 0x00010102) // the scan's execute ack
        return true;
    return false;
  }));
  const int sent_before = FramesFrom(bridge.log());
  const auto interrupted = Clock::now();
  kill(survey.pid(), SIGINT);
  const CliRun run = survey.Finish();
  EXPECT_LT(Clock::now() - interrupted, std::chrono::seconds{1}) << "it did not stop at once";
  EXPECT_EQ(run.status, 130) << Describe(run);
  EXPECT_EQ(run.out, "");
  std::this_thread::sleep_for(std::chrono::milliseconds{500});
  EXPECT_EQ(FramesFrom(bridge.log()), sent_before) << "a frame went out after Ctrl-C";
}

// A batch goes on when a bridge's helper is lost: the bridge in flight fails with the step, the
// others are saved through a new helper. A Ctrl-C in a batch lets the step under way end,
// starts no other, and prints every row in one valid JSON document.
TEST_F(CliOverVeth, ALostHelperOrACtrlCInABatchKeepsEveryRow) {
  auto& slow = StartBridge("02-00-00-00-0b-01", {"delay write-settings 3000"});
  auto& second = StartBridge("02-00-00-00-0b-02", {"delay begin 300"});
  auto& third = StartBridge("02-00-00-00-0b-03", {"delay begin 300"});
  Enter();
  const std::string secrets = PrivateFile("fleet.secrets", "passphrase=twelve chars\n");
  const std::vector<std::string> batch = {"--json",         "configure",
                                          "--adapter",      "eth0",
                                          "--bridge",       "020000000b01",
                                          "--bridge",       "02:00:00:00:0b:02",
                                          "--bridge",       "02-00-00-00-0b-03",
                                          "--ssid",         "Typed Net",
                                          "--security",     "wpa2-psk",
                                          "--secrets-file", secrets,
                                          "--parallel",     "1"};
  {
    CliProcess cli(batch);
    ASSERT_TRUE(slow.wait_for([](const Log& log) {
      return RequestsTo(log, "02-00-00-00-0b-01").find('S') != std::string::npos;
    })) << "the settings never reached the first bridge";
    for (pid_t helper : HelpersOf(cli.pid()))
      kill(helper, SIGKILL);
    const CliRun run = cli.Finish();
    ASSERT_EQ(run.status, 1) << Describe(run);
    auto rows = RowsByBridge(run.out);
    ASSERT_EQ(rows.size(), 3u) << run.out;
    EXPECT_EQ(rows["02-00-00-00-0b-01"].at("result"), "failed");
    const std::string why = rows["02-00-00-00-0b-01"].at("message");
    EXPECT_TRUE(Contains(why, "Save config failed ! no answer to the settings write (step 2 of "
                              "6): the link helper was lost"))
        << why;
    EXPECT_EQ(rows["02-00-00-00-0b-02"].at("result"), "saved");
    EXPECT_EQ(rows["02-00-00-00-0b-03"].at("result"), "saved");
    EXPECT_EQ(third.settings(), WPA2_TYPED);
  }

  // Ctrl-C while the second bridge is worked on: it ends its step, the third never starts.
  const std::size_t seen = RequestsTo(second.log(), "02-00-00-00-0b-02").size();
  CliProcess cli(batch);
  ASSERT_TRUE(second.wait_for(
      [seen](const Log& log) { return RequestsTo(log, "02-00-00-00-0b-02").size() > seen; },
      std::chrono::seconds{15}));
  // Frames to the third bridge itself: it overhears the second's, whose step under way still
  // ends after the Ctrl-C.
  const std::string third_before = RequestsTo(third.log(), "02-00-00-00-0b-03");
  kill(cli.pid(), SIGINT);
  const CliRun run = cli.Finish();
  ASSERT_EQ(run.status, 130) << Describe(run);
  auto rows = RowsByBridge(run.out); // throws unless the output is one valid JSON document
  ASSERT_EQ(rows.size(), 3u) << run.out;
  EXPECT_EQ(rows["02-00-00-00-0b-02"].at("result"), "interrupted") << run.out;
  EXPECT_EQ(rows["02-00-00-00-0b-03"].at("result"), "not-started") << run.out;
  EXPECT_TRUE(Contains(run.err, "interrupted")) << run.err;
  std::this_thread::sleep_for(std::chrono::milliseconds{300});
  EXPECT_EQ(RequestsTo(third.log(), "02-00-00-00-0b-03"), third_before)
      << "a bridge was started after Ctrl-C";
}

TEST_F(CliOverVeth, ExitStatusesTellNoAdapterFromNoBridge) {
  Enter();
  const CliRun silent = RunCli({"list"});
  EXPECT_EQ(silent.status, 4) << Describe(silent);
  EXPECT_TRUE(Contains(silent.err, "no bridge answered: check its cable and power")) << silent.err;

  const CliRun no_such = RunCli({"survey", "--adapter", "nosuch0"});
  EXPECT_EQ(no_such.status, 3) << Describe(no_such);
  EXPECT_TRUE(Contains(no_such.err, "nosuch0 is not a wired Ethernet adapter"));

  const CliRun loopback = RunCli({"list", "--adapter", "lo"});
  EXPECT_EQ(loopback.status, 3) << Describe(loopback);

  // Without its link helper it gives the wizard's start-up words, cause and fix.
  const std::string lonely = net->files() + "/bin";
  std::filesystem::create_directories(lonely);
  std::filesystem::copy_file(QBR20G_CLI_PATH, lonely + "/qbr20g-cli");
  const CliRun missing = RunCli({"adapters"}, "", lonely + "/qbr20g-cli");
  EXPECT_EQ(missing.status, 3) << Describe(missing);
  const std::string helper = net->files() + "/libexec/qbr20g-setup/qbr20g-link";
  EXPECT_TRUE(Contains(missing.err, "Error: NIC not found!")) << missing.err;
  EXPECT_TRUE(Contains(missing.err, helper + ", which could not be started")) << missing.err;
  EXPECT_TRUE(Contains(missing.err, "cap_net_raw=ep " + helper)) << missing.err;
  EXPECT_TRUE(Contains(missing.err, "Reinstall the package qbr20g-link"))
      << "the helper's own package: " << missing.err;
  EXPECT_TRUE(Contains(missing.err, "start qbr20g-cli again")) << missing.err;
  EXPECT_FALSE(Contains(missing.err, "wizard")) << "the command line speaks as itself";
}

// The user's language, from a catalogue beside the programs as installed: the command line's
// refusals, the reasons the link helper gives (it is started in the same language, though its
// environment is otherwise empty) and the table's words come from it, and texts it does not
// hold stay English; JSON is the same whatever the language.
TEST_F(CliOverVeth, SpeaksTheUsersLanguageButWritesJsonInEnglish) {
  const std::string tree = net->files() + "/i18n";
  const std::string po = tree + "/test.po";
  const std::string cli = tree + "/bin/qbr20g-cli";
  const std::filesystem::path helper =
      (std::filesystem::path(tree) / "bin" / QBR20G_HELPER_FROM_BIN).lexically_normal();
  const std::filesystem::path catalogue =
      (std::filesystem::path(tree) / "bin" / QBR20G_LOCALE_FROM_BIN / "de/LC_MESSAGES/qbr20g.mo")
          .lexically_normal();
  std::filesystem::create_directories(tree + "/bin");
  std::filesystem::create_directories(helper.parent_path());
  std::filesystem::create_directories(catalogue.parent_path());
  std::filesystem::copy_file(QBR20G_CLI_PATH, cli);
  std::filesystem::copy_file(QBR20G_LINK_HELPER_PATH, helper);
  std::ofstream(po) << R"po(msgid ""
msgstr ""
"Content-Type: text/plain; charset=UTF-8\n"
"Plural-Forms: nplurals=2; plural=(n != 1);\n"

msgid "%1 %2 is a group address (broadcast or multicast): it would reach every bridge at once; name one bridge by its own MAC ('qbr20g-cli list' lists them)"
msgstr "%2 (bei %1) ist eine Gruppenadresse"

msgid "a limit of %1 open files is below the %2 it needs (ulimit -n)"
msgstr "Grenze von %1 offenen Dateien unter den nötigen %2"

msgid "the link helper did not start: %1"
msgstr "der Link-Helfer startete nicht: %1"

msgid "did not answer"
msgstr "antwortete nicht"

msgid "no bridge answered: check its cable and power, then try again"
msgstr "keine Brücke antwortete"

msgid "MESSAGE"
msgstr "MELDUNG"
)po";
  std::string said;
  if (netns::run_to_end({"msgfmt", "--check", "-o", catalogue.string(), po}, &said) != 0)
    GTEST_SKIP() << "msgfmt (Debian package gettext) cannot compile a catalogue: " << said;
  Enter();
  const auto command = [&](const char* language, std::vector<std::string> arguments) {
    std::vector<std::string> words = {"LC_ALL=C.UTF-8"};
    if (language)
      words.push_back(std::string("LANGUAGE=") + language);
    words.insert(words.end(), arguments.begin(), arguments.end());
    return words;
  };
  const auto run = [&](const char* language, std::vector<std::string> arguments) {
    return RunCli(command(language, std::move(arguments)), "", "env");
  };

  const std::vector<std::string> group = {cli,      "configure", "--bridge",   "ff:ff:ff:ff:ff:ff",
                                          "--ssid", "x",         "--security", "open"};
  const CliRun refused = run("de", group);
  EXPECT_EQ(refused.status, 2) << Describe(refused);
  EXPECT_EQ(refused.err, "qbr20g-cli: ff-ff-ff-ff-ff-ff (bei --bridge) ist eine Gruppenadresse\n");
  const CliRun english = run(nullptr, group);
  EXPECT_TRUE(Contains(english.err, "--bridge ff-ff-ff-ff-ff-ff is a group address"))
      << english.err;
  const CliRun fallback = run("fr:de", group);
  EXPECT_EQ(fallback.err, refused.err) << "a language without a catalogue gives way to the next";

  // The helper's own reason, and the command line's words around it.
  const CliRun low = run("de", {"sh", "-c", "ulimit -n 12 && exec \"$0\" adapters", cli});
  EXPECT_EQ(low.status, 3) << Describe(low);
  EXPECT_TRUE(Contains(low.err, "(der Link-Helfer startete nicht: Grenze von 12 offenen Dateien "
                                "unter den nötigen 16; it ended with exit status 2)"))
      << low.err;
  EXPECT_TRUE(Contains(low.err, "Error: NIC not found!")) << "not in the catalogue: English";
  // With --json the link's reasons stay English, the helper's too: rows quote them.
  const CliRun low_json =
      run("de", {"sh", "-c", "ulimit -n 12 && exec \"$0\" --json adapters", cli});
  EXPECT_EQ(low_json.status, 3) << Describe(low_json);
  EXPECT_TRUE(Contains(low_json.err, "(the link helper did not start: a limit of 12 open files is "
                                     "below the 16 it needs (ulimit -n); it ended with exit "
                                     "status 2)"))
      << low_json.err;

  // A bridge that does not answer: its row's message, and the exit status's words.
  const std::vector<std::string> show = {cli, "show", "--bridge", "02:00:00:00:0b:09"};
  std::vector<std::string> show_json = show;
  show_json.insert(show_json.begin() + 1, "--json");
  // Three discoveries at once: no bridge answers any of them.
  CliProcess german_json(command("de", show_json), "env");
  CliProcess plain_json(command(nullptr, show_json), "env");
  CliProcess german_table(command("de", show), "env");
  const CliRun german = german_json.Finish();
  const CliRun plain = plain_json.Finish();
  const CliRun table = german_table.Finish();
  EXPECT_EQ(german.status, 4) << Describe(german);
  EXPECT_EQ(german.out, plain.out);
  EXPECT_EQ(Json::parse(german.out).at(0).at("message"), "did not answer") << german.out;
  EXPECT_EQ(german.err, "qbr20g-cli: keine Brücke antwortete\n");
  EXPECT_TRUE(Contains(table.out, "MELDUNG")) << table.out;
  EXPECT_TRUE(Contains(table.out, "antwortete nicht")) << table.out;
  EXPECT_TRUE(Contains(table.out, "silent")) << "result words are the same in every language";
}

namespace {

// A fleet on two adapters: three bridges on eth0's wire, one on eth1's.
class FleetOverVeth : public CliOverVeth {
protected:
  void SetUp() override {
    CliOverVeth::SetUp();
    if (IsSkipped())
      return;
    net->add_veth(wizard_ns, "eth1", SECOND_MAC, bridge_ns, "br1", "-");
  }
  void StartFleet(const std::vector<std::string>& faults_of_second = {}) {
    for (const char* mac : {"02-00-00-00-0b-01", "02-00-00-00-0b-02", "02-00-00-00-0b-03"})
      fleet.push_back(
          &StartBridge(mac, mac[16] == '2' ? faults_of_second : std::vector<std::string>{}));
    fleet.push_back(&net->start_emulator(bridge_ns, "br1", Scenario("02-00-00-00-0c-01")));
  }
  int FramesFromUs() const {
    int count = 0;
    for (const netns::Emulator* bridge : fleet)
      count += FramesFrom(bridge->log()) + FramesFrom(bridge->log(), "02-00-00-00-0a-02");
    return count;
  }
  std::string RequestsOf(std::size_t i) const {
    return RequestsTo(fleet[i]->log(),
                      i < 3 ? "02-00-00-00-0b-0" + std::to_string(i + 1) : "02-00-00-00-0c-01");
  }

  std::vector<netns::Emulator*> fleet;
};

} // namespace

// A broadcast, multicast, zero or own MAC is refused before any frame; so is a fleet file with
// a bad entry. Without --bridge, a command acts only when exactly one bridge answers on all
// adapters; four answer here, so it lists them and sends nothing but the discovery's probes.
TEST_F(FleetOverVeth, NeverTheWrongBridge) {
  StartFleet();
  Enter();
  for (const auto& [mac, why] : {std::pair{"ff:ff:ff:ff:ff:ff", "is a group address"},
                                 std::pair{"01-00-5e-00-00-fb", "is a group address"},
                                 std::pair{"000000000000", "is the zero address"},
                                 std::pair{SECOND_MAC, "is an adapter of this computer"}}) {
    const CliRun run = RunCli(
        {"configure", "--adapter", "eth0", "--bridge", mac, "--ssid", "X", "--security", "open"});
    EXPECT_EQ(run.status, 2) << Describe(run);
    EXPECT_TRUE(Contains(run.err, why)) << Describe(run);
  }
  const std::string fleet_file = PrivateFile("fleet.json", R"([
        {"bridge": "02:00:00:00:0b:01", "ssid": "A", "security": "open"},
        {"bridge": "02-00-00-00-0b-02", "ssid": "B", "security": "wpa2-psk", "passphrase": "p1p2p3p4"},
        {"bridge": "020000000b03", "ssid": "C", "security": "wpa2-psk", "passphrase": "short"}])");
  const CliRun bad_entry = RunCli({"configure", "--from", fleet_file});
  EXPECT_EQ(bad_entry.status, 2) << Describe(bad_entry);
  EXPECT_TRUE(Contains(bad_entry.err,
                       fleet_file + ": entry 3 (bridge 02-00-00-00-0b-03): Passphrase at least 8 "
                                    "characters !"))
      << bad_entry.err;
  std::this_thread::sleep_for(std::chrono::milliseconds{200});
  EXPECT_EQ(FramesFromUs(), 0) << "a refused command reached the wire";

  const CliRun implicit = RunCli({"configure", "--ssid", "X", "--security", "open"});
  EXPECT_EQ(implicit.status, 2) << Describe(implicit);
  EXPECT_TRUE(Contains(implicit.err,
                       "4 bridges answered; name the one to work on with --bridge (or "
                       "every one with --all):\n"
                       "  02-00-00-00-0b-01 on eth0\n"
                       "  02-00-00-00-0b-02 on eth0\n"
                       "  02-00-00-00-0b-03 on eth0\n"
                       "  02-00-00-00-0c-01 on eth1"))
      << implicit.err;
  for (std::size_t i = 0; i < fleet.size(); ++i)
    EXPECT_EQ(RequestsOf(i).find('B'), std::string::npos) << RequestsOf(i);
}

// One discovery over both adapters at once, then every bridge saved at once; the rows come
// sorted by adapter and MAC, and the one that failed names its step.
TEST_F(FleetOverVeth, ABatchOnTwoAdaptersSavesEveryBridgeAfterOneDiscovery) {
  StartFleet({"drop write-9002 2"});
  Enter();
  const CliRun run = RunCli({"--json", "configure", "--all", "--ssid", "Typed Net", "--security",
                             "wpa2-psk", "--secrets-file", "-"},
                            "passphrase=twelve chars\n");
  EXPECT_EQ(run.status, 1) << Describe(run);
  const Json rows = Json::parse(run.out);
  ASSERT_EQ(rows.size(), 4u) << run.out;
  const char* const order[][3] = {{"02-00-00-00-0b-01", "eth0", "saved"},
                                  {"02-00-00-00-0b-02", "eth0", "failed"},
                                  {"02-00-00-00-0b-03", "eth0", "saved"},
                                  {"02-00-00-00-0c-01", "eth1", "saved"}};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(rows[i].at("bridge"), order[i][0]);
    EXPECT_EQ(rows[i].at("adapter"), order[i][1]);
    EXPECT_EQ(rows[i].at("result"), order[i][2]);
    EXPECT_EQ(rows[i].at("security"), "wpa2-psk");
    EXPECT_EQ(rows[i].at("changed"), "unknown") << "nothing was read from the bridges";
  }
  EXPECT_TRUE(Contains(rows[1].at("message"), "apply command (9002:) (step 5 of 6)"))
      << rows[1].at("message");
  EXPECT_EQ(fleet[0]->settings(), WPA2_TYPED);
  EXPECT_EQ(fleet[3]->settings(), WPA2_TYPED);
  EXPECT_EQ(Discoveries(fleet[0]->log(), WIZARD_TEXT), 1);
  EXPECT_EQ(Discoveries(fleet[3]->log(), "02-00-00-00-0a-02"), 1);
}

// Plan, then apply: show's rows are a fleet file; a dry run reads each bridge's present settings
// and plans without a settings frame; --unless-same then writes only the bridge whose settings
// differ.
TEST_F(FleetOverVeth, ShowsRowsArePlannedThenAppliedUnlessTheSame) {
  StartFleet();
  Enter();
  const CliRun show = RunCli({"--json", "show", "--all"});
  ASSERT_EQ(show.status, 0) << Describe(show);
  Json entries = Json::parse(show.out);
  ASSERT_EQ(entries.size(), 4u) << show.out;
  EXPECT_EQ(entries[0], Json::parse(R"({"bridge": "02-00-00-00-0b-01", "adapter": "eth0",
      "result": "shown", "ssid": "Previous", "ssid_hex": "50726576696f7573",
      "security": "wpa-psk", "security_text": "WPA-PSK", "message": null})"));
  // The first bridge is to join another network; the others keep theirs.
  entries[0]["ssid"] = "Elsewhere";
  entries[0].erase("ssid_hex");
  const std::string plan = PrivateFile("plan.json", entries.dump());
  const std::string secrets = PrivateFile("fleet.secrets", "passphrase=twelve chars\n");

  const CliRun dry =
      RunCli({"--json", "configure", "--from", plan, "--secrets-file", secrets, "--dry-run"});
  ASSERT_EQ(dry.status, 0) << Describe(dry);
  auto rows = RowsByBridge(dry.out);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows["02-00-00-00-0b-01"].at("result"), "planned");
  EXPECT_EQ(rows["02-00-00-00-0b-01"].at("present_ssid"), "Previous");
  EXPECT_EQ(rows["02-00-00-00-0b-01"].at("ssid"), "Elsewhere");
  EXPECT_EQ(rows["02-00-00-00-0b-01"].at("changed"), "yes");
  EXPECT_EQ(rows["02-00-00-00-0b-02"].at("changed"), "unknown") << "its passphrase cannot be read";
  for (std::size_t i = 0; i < fleet.size(); ++i)
    EXPECT_EQ(RequestsOf(i).find('S'), std::string::npos) << "the dry run wrote settings";

  const CliRun apply =
      RunCli({"--json", "configure", "--from", plan, "--secrets-file", secrets, "--unless-same"});
  ASSERT_EQ(apply.status, 0) << Describe(apply);
  rows = RowsByBridge(apply.out);
  EXPECT_EQ(rows["02-00-00-00-0b-01"].at("result"), "saved");
  for (const char* same : {"02-00-00-00-0b-02", "02-00-00-00-0b-03", "02-00-00-00-0c-01"})
    EXPECT_EQ(rows[same].at("result"), "unchanged") << apply.out;
  EXPECT_EQ(fleet[0]->settings(),
            Settings("Elsewhere", "2", "32", "0", NO_KEYS, "0", "twelve chars"));
  for (std::size_t i = 1; i < fleet.size(); ++i) {
    EXPECT_EQ(fleet[i]->settings(), "");
    EXPECT_EQ(RequestsOf(i).find('S'), std::string::npos) << "an equal bridge was written";
  }
}
