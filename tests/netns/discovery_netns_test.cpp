// Discovery on real libpcap over veth against emulated bridges (root).
#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "device/discovery.h"
#include "link/adapter_selection.h"
#include "link/link_frame.h"
#include "link/link_timing.h"
#include "link/mac_text.h"
#include "tests/netns/testnet.h"

namespace {

using DiscoveryOverVeth = netns::NetnsTest;
using Log = std::vector<FrameLogEntry>;

const char* const WIZARD_MAC = "02:00:00:00:01:01";
const char* const WIZARD_TEXT = "02-00-00-00-01-01";

std::vector<std::uint8_t> probe_frame(const char* from, const char* to) {
  std::uint8_t own[6];
  std::uint8_t peer[6];
  mac_text_to_bytes(from, own);
  mac_text_to_bytes(to, peer);
  std::vector<std::uint8_t> frame(MAX_FRAME_SIZE);
  frame.resize(static_cast<std::size_t>(build_probe_request(frame.data(), own, peer)));
  return frame;
}

// Whether the bridge saw exactly this frame.
auto saw(const std::vector<std::uint8_t>& frame) {
  return [frame](const Log& log) {
    return std::any_of(log.begin(), log.end(), [&](const FrameLogEntry& entry) {
      return entry.direction == "rx" && entry.frame() == frame;
    });
  };
}

struct Search {
  char host_macs[HOST_ADAPTER_LIST_SIZE] = {};
  char devices[DEVICE_LIST_SIZE] = {};
  std::uint8_t buffer[MAX_FRAME_SIZE] = {};
  int run() { return discover_devices(buffer, buffer, host_macs, devices); }
};

} // namespace

TEST_F(DiscoveryOverVeth, TwoBridgesOnOneWireAreListedOnceEachInOrderOfFirstFrames) {
  const auto wizard = net->add_namespace("wiz");
  const auto bridge = net->add_namespace("br");
  net->add_veth(wizard, "eth0", WIZARD_MAC, bridge, "br0", "-");
  // The second bridge answers first, and each sends several frames.
  auto& late = net->start_emulator(bridge, "br0", "mac = 02:00:00:00:00:b1\n",
                                   {"delay probe 300", "wrong-code probe 2"});
  auto& early =
      net->start_emulator(bridge, "br0", "mac = 02:00:00:00:00:b2\n", {"wrong-code probe 3"});
  net->enter(wizard);
  netns::QuickLinkTiming timing;

  Search search;
  std::strcpy(search.host_macs, WIZARD_TEXT);
  ASSERT_EQ(search.run(), 0);
  EXPECT_EQ(std::string(search.devices), "02-00-00-00-00-b2"
                                         "02-00-00-00-00-b1");
  EXPECT_EQ(std::string(search.host_macs), WIZARD_TEXT);

  const auto broadcast = probe_frame(WIZARD_TEXT, "ff-ff-ff-ff-ff-ff");
  EXPECT_TRUE(early.wait_for(saw(broadcast))) << "the 64-byte broadcast CMD_PROBE, exactly";
  EXPECT_TRUE(early.wait_for(saw(probe_frame(WIZARD_TEXT, "02-00-00-00-00-b2"))))
      << "the unicast probe to each bridge";
  EXPECT_TRUE(late.wait_for(saw(probe_frame(WIZARD_TEXT, "02-00-00-00-00-b1"))));
}

TEST_F(DiscoveryOverVeth, SilentFirstAdapterThenTheSecondIsUsedAndTheHostListCutToIt) {
  const auto wizard = net->add_namespace("wiz");
  const auto quiet = net->add_namespace("quiet");
  const auto bridge = net->add_namespace("br");
  net->add_veth(wizard, "eth0", WIZARD_MAC, quiet, "br0", "-");
  net->add_veth(wizard, "eth1", "02:00:00:00:01:02", bridge, "br1", "-");
  auto& silent = net->start_emulator(quiet, "br0", "mac = 02:00:00:00:00:c1\n", {"silent"});
  auto& emu = net->start_emulator(bridge, "br1", "mac = 02:00:00:00:00:b1\n");
  net->enter(wizard);
  netns::QuickLinkTiming timing;

  Search search;
  std::strcpy(search.host_macs, WIZARD_TEXT);
  std::strcat(search.host_macs, "02-00-00-00-01-02");
  ASSERT_EQ(search.run(), 0);
  EXPECT_STREQ(search.devices, "02-00-00-00-00-b1");
  EXPECT_STREQ(search.host_macs, "02-00-00-00-01-02");
  EXPECT_TRUE(silent.wait_for(saw(probe_frame(WIZARD_TEXT, "ff-ff-ff-ff-ff-ff"))))
      << "the first adapter was probed";
  EXPECT_TRUE(emu.wait_for(saw(probe_frame("02-00-00-00-01-02", "02-00-00-00-00-b1"))))
      << "the bridge got its unicast probe from the second adapter";
}

TEST_F(DiscoveryOverVeth, StationSendingWithoutPauseDoesNotKeepDiscoveryRunning) {
  const auto wizard = net->add_namespace("wiz");
  const auto bridge = net->add_namespace("br");
  net->add_veth(wizard, "eth0", WIZARD_MAC, bridge, "br0", "-");
  auto& emu = net->start_emulator(bridge, "br0", "mac = 02:00:00:00:00:b1\n",
                                  {"chatter 02:00:00:00:00:cc 0"});
  net->enter(wizard);
  netns::QuickLinkTiming timing;

  Search search;
  std::strcpy(search.host_macs, WIZARD_TEXT);
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(search.run(), 0);
  // Unbounded, the search would never end here, where the flood never stops; the margin is for
  // slow (sanitized) builds.
  EXPECT_LT(std::chrono::steady_clock::now() - start,
            link_timing().tick_period * (DISCOVERY_REPLY_WINDOW_TICKS * 10));
  const std::string devices = search.devices;
  EXPECT_NE(devices.find("02-00-00-00-00-cc"), std::string::npos) << devices;
  EXPECT_TRUE(emu.stop()) << emu.errors();
  const Log log = emu.log();
  EXPECT_TRUE(std::any_of(log.begin(), log.end(), [](const FrameLogEntry& entry) {
    return entry.direction == "flood";
  })) << "the flood was on";
}
