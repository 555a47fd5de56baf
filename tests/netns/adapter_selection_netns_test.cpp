// Adapter selection on real libpcap over veth pairs (root; each case makes its own namespaces).
#include <grp.h>
#include <pcap/pcap.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "link/adapter_selection.h"
#include "link/capture_handle.h"
#include "link/frame_exchange.h"
#include "link/link_frame.h"
#include "link/mac_text.h"
#include "tests/netns/testnet.h"

namespace {

using AdapterSelectionOverVeth = netns::NetnsTest;

const std::uint8_t BRIDGE[6] = {0x02, 0, 0, 0, 0, 0xb1};

std::vector<std::string> enumerated_names() {
  char error[PCAP_ERRBUF_SIZE];
  pcap_if_t* list = nullptr;
  std::vector<std::string> names;
  if (pcap_findalldevs(&list, error) != 0)
    return names;
  for (pcap_if_t* device = list; device; device = device->next)
    names.push_back(device->name);
  pcap_freealldevs(list);
  return names;
}

std::string text_of(const char* colon_mac) {
  std::uint8_t bytes[6];
  mac_text_to_bytes(colon_mac, bytes);
  char text[18];
  mac_bytes_to_text(bytes, text);
  return text;
}

bool contains(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// Turns this process into an ordinary user's (nobody), as the wizard runs: the link helper it
// starts then has no CAP_NET_RAW either, as when its capability is missing.
bool become_ordinary_user() {
  constexpr uid_t NOBODY = 65534;
  return setgroups(0, nullptr) == 0 && setresgid(NOBODY, NOBODY, NOBODY) == 0 &&
         setresuid(NOBODY, NOBODY, NOBODY) == 0;
}

} // namespace

TEST_F(AdapterSelectionOverVeth, ListsTheWiredVethsLastEnumeratedFirstPastLoAndDeadAdapters) {
  const auto wizard = net->add_namespace("wiz");
  const auto bridge = net->add_namespace("br");
  const char* const macs[] = {"02:00:00:00:01:01", "02:00:00:00:01:02", "02:00:00:00:01:03"};
  for (int i = 0; i < 3; ++i)
    net->add_veth(wizard, "eth" + std::to_string(i), macs[i], bridge, "br" + std::to_string(i),
                  "-");
  net->add_veth(wizard, "eth8", "02:00:00:00:01:08", bridge, "br8", "-", true, false); // no carrier
  net->add_veth(wizard, "eth9", "02:00:00:00:01:09", bridge, "br9", "-", false, true); // down
  // Up, with carrier, and a queue that drops everything: its probe never leaves.
  net->add_veth(wizard, "eth7", "02:00:00:00:01:07", bridge, "br7", "-");
  ASSERT_EQ(
      std::system(
          ("ip netns exec " + wizard + " tc qdisc replace dev eth7 root pfifo limit 0").c_str()),
      0);
  auto& emu = net->start_emulator(bridge, "br0", "");
  net->enter(wizard);

  char list[HOST_ADAPTER_LIST_SIZE] = {};
  ASSERT_EQ(find_usable_adapters(list), 0) << last_adapter_open_error();
  EXPECT_EQ(last_adapter_search_failure(), AdapterSearchFailure::None);

  const auto names = enumerated_names();
  ASSERT_TRUE(contains(names, "lo") && contains(names, "eth7") && contains(names, "eth8") &&
              contains(names, "eth9"))
      << "the namespace's own interfaces are enumerated, not the machine's";
  std::string expected;
  for (auto name = names.rbegin(); name != names.rend(); ++name)
    for (int i = 0; i < 3; ++i)
      if (*name == "eth" + std::to_string(i))
        expected += text_of(macs[i]);
  EXPECT_EQ(std::string(list), expected);
  EXPECT_EQ(mac_list_count(list), 3);

  // The start-up probe as the bridge saw it, byte for byte.
  std::uint8_t own[6];
  mac_text_to_bytes(macs[0], own);
  std::vector<std::uint8_t> probe(ADAPTER_PROBE_SIZE);
  build_adapter_probe(probe.data(), own);
  ASSERT_TRUE(emu.wait_for([](const std::vector<FrameLogEntry>& log) {
    return std::any_of(log.begin(), log.end(),
                       [](const FrameLogEntry& entry) { return entry.direction == "rx"; });
  }));
  const auto log = emu.log();
  const auto seen = std::find_if(
      log.begin(), log.end(), [](const FrameLogEntry& entry) { return entry.direction == "rx"; });
  EXPECT_EQ(seen->frame(), probe);
}

TEST_F(AdapterSelectionOverVeth, WithoutCaptureRightsTheFailureSaysSo) {
  const auto wizard = net->add_namespace("wiz");
  const auto bridge = net->add_namespace("br");
  net->add_veth(wizard, "eth0", "02:00:00:00:01:01", bridge, "br0", "-");
  net->enter(wizard);

  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (!become_ordinary_user())
      _exit(90);
    char list[HOST_ADAPTER_LIST_SIZE] = {};
    if (find_usable_adapters(list) != -1)
      _exit(91);
    _exit(static_cast<int>(last_adapter_search_failure()));
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_NE(WEXITSTATUS(status), 90) << "could not become an ordinary user";
  ASSERT_NE(WEXITSTATUS(status), 91) << "an adapter was usable without the right to capture";
  EXPECT_EQ(WEXITSTATUS(status), static_cast<int>(AdapterSearchFailure::PermissionDenied));
}

TEST_F(AdapterSelectionOverVeth, ReopenedCaptureExchangesFramesAndReadsEndOnAQuietWire) {
  const auto wizard = net->add_namespace("wiz");
  const auto bridge = net->add_namespace("br");
  net->add_veth(wizard, "eth0", "02:00:00:00:01:01", bridge, "br0", "-");
  net->add_veth(wizard, "eth1", "02:00:00:00:01:02", bridge, "br1", "-");
  auto& emu = net->start_emulator(bridge, "br1", "mac = 02:00:00:00:00:b1\n");
  net->enter(wizard);
  netns::QuickLinkTiming timing;

  ASSERT_EQ(reopen_adapter("02-00-00-00-01-02"), 0);
  std::uint8_t own[6];
  mac_text_to_bytes("02-00-00-00-01-02", own);
  std::uint8_t frame[MAX_FRAME_SIZE];
  EXPECT_GT(
      send_and_await(build_begin_request, frame, frame, own, BRIDGE, RSP_BEGIN, STEP_TICK_LIMIT),
      0);
  EXPECT_EQ(receive_frame(own, BRIDGE, LINK_ETHERTYPE, frame, MAX_FRAME_SIZE, STEP_TICK_LIMIT), 0)
      << "nothing more comes, and the wait ends";

  EXPECT_EQ(reopen_adapter("02-00-00-00-09-09"), 0) << "no adapter has it";
  ASSERT_TRUE(capture_handle) << "and the open capture stays";
  EXPECT_EQ(reopen_adapter("02-00-00-00-01-01"), 0);
  EXPECT_EQ(
      send_and_await(build_begin_request, frame, frame, own, BRIDGE, RSP_BEGIN, STEP_TICK_LIMIT),
      -1)
      << "eth0 leads to no bridge";
  EXPECT_TRUE(emu.stop()) << emu.errors();
}
