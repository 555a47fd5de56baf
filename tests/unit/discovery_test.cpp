#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>

#include "device/discovery.h"
#include "link/adapter_selection.h"
#include "link/frame_exchange.h"
#include "link/link_frame.h"
#include "tests/unit/fake_host.h"

namespace {

const std::uint8_t BRIDGE_B[6] = {0x02, 0, 0, 0, 0, 0xb1};
const std::uint8_t BRIDGE_C[6] = {0x02, 0, 0, 0, 0, 0xc1};
const char* const TEXT_B = "02-00-00-00-00-b1";
const char* const TEXT_C = "02-00-00-00-00-c1";

bool is_broadcast_probe(const Bytes& frame) {
  return frame.size() == REQUEST_FRAME_SIZE && frame_code(frame.data()) == CMD_PROBE &&
         std::memcmp(frame.data(), BROADCAST_MAC, 6) == 0;
}

// Bridges that answer a broadcast probe with `copies` frames each, in the order given.
auto bridges_answering(std::vector<const std::uint8_t*> bridges, int copies = 1) {
  return [bridges, copies](const Bytes& sent) {
    std::vector<Bytes> replies;
    if (!is_broadcast_probe(sent))
      return replies;
    for (int copy = 0; copy < copies; ++copy)
      for (const std::uint8_t* bridge : bridges)
        replies.push_back(make_reply(bridge, sent.data() + 6, CMD_PROBE));
    return replies;
  };
}

class Discovery : public ::testing::Test {
protected:
  FakeHost host;
  char host_macs[HOST_ADAPTER_LIST_SIZE] = {};
  char devices[DEVICE_LIST_SIZE] = {};
  std::uint8_t buffer[MAX_FRAME_SIZE] = {};

  void hosts(std::initializer_list<const char*> texts) {
    for (const char* text : texts)
      std::strcat(host_macs, text);
  }
  int discover() { return discover_devices(buffer, buffer, host_macs, devices); }
};

std::string host_text(std::uint8_t last_byte) {
  char text[18];
  std::snprintf(text, sizeof text, "02-00-00-00-00-%02x", last_byte);
  return text;
}

} // namespace

TEST_F(Discovery, ListsEachBridgeOnceInOrderOfFirstFrames) {
  host.add("eth0", 0x10).wire->responder = bridges_answering({BRIDGE_C, BRIDGE_B}, 3);
  hosts({host_text(0x10).c_str()});
  ASSERT_EQ(discover(), 0);
  EXPECT_EQ(std::string(devices), std::string(TEXT_C) + TEXT_B);

  const auto sent = host.adapters[0].wire->sent_frames();
  ASSERT_EQ(sent.size(), 3u) << "the broadcast probe, then one unicast probe per bridge";
  EXPECT_TRUE(is_broadcast_probe(sent[0]));
  for (std::size_t i = 1; i < 3; ++i) {
    EXPECT_EQ(sent[i].size(), std::size_t{REQUEST_FRAME_SIZE});
    EXPECT_EQ(frame_code(sent[i].data()), CMD_PROBE);
  }
  EXPECT_EQ(0, std::memcmp(sent[1].data(), BRIDGE_C, 6));
  EXPECT_EQ(0, std::memcmp(sent[2].data(), BRIDGE_B, 6));
}

TEST_F(Discovery, MovesOnFromASilentAdapterAndCutsTheHostListToTheOneThatAnswered) {
  host.add("eth0", 0x10);
  host.add("eth1", 0x11).wire->responder = bridges_answering({BRIDGE_B});
  host.add("eth2", 0x12).wire->responder = bridges_answering({BRIDGE_C});
  hosts({host_text(0x10).c_str(), host_text(0x11).c_str(), host_text(0x12).c_str()});
  ASSERT_EQ(discover(), 0);
  EXPECT_STREQ(devices, TEXT_B);
  EXPECT_EQ(std::string(host_macs), host_text(0x11));
  EXPECT_EQ(host.adapters[0].wire->sent_frames().size(), 1u) << "the silent adapter was probed";
  EXPECT_EQ(host.adapters[2].wire->opens, 0) << "adapters after the one that answered are left";

  const auto sent = host.adapters[1].wire->sent_frames();
  ASSERT_EQ(sent.size(), 2u);
  const std::uint8_t own[6] = {0x02, 0, 0, 0, 0, 0x11};
  EXPECT_EQ(0, std::memcmp(sent[1].data() + 6, own, 6)) << "unicast probe from the answering one";
  ASSERT_TRUE(capture_handle);
}

TEST_F(Discovery, SkipsAnAdapterThatCannotBeReopened) {
  host.add("eth0", 0x10).open_status = PCAP_ERROR;
  host.add("eth1", 0x11).wire->responder = bridges_answering({BRIDGE_B});
  hosts({host_text(0x10).c_str(), host_text(0x11).c_str()});
  ASSERT_EQ(discover(), 0);
  EXPECT_STREQ(devices, TEXT_B);
}

TEST_F(Discovery, NoAnswerLeavesTheHostListAndFails) {
  host.add("eth0", 0x10);
  host.add("eth1", 0x11);
  hosts({host_text(0x10).c_str(), host_text(0x11).c_str()});
  const std::string before = host_macs;
  EXPECT_EQ(discover(), -1);
  EXPECT_EQ(std::string(host_macs), before);
  EXPECT_EQ(devices[0], '\0');
  EXPECT_EQ(host.adapters[1].wire->sent_frames().size(), 1u) << "only the broadcast probe";
}

// Nothing that would reach more than one bridge, or this host itself, is ever offered as one:
// the adapter's own frames, another adapter of this host (a second copy of the wizard probing
// on it), broadcast, multicast and the zero address; and no frame of another EtherType.
TEST_F(Discovery, OnlySingleForeignStationsOfTheLinkAreBridges) {
  host.add("eth0", 0x10).wire->responder = [](const Bytes& sent) {
    std::vector<Bytes> replies;
    if (!is_broadcast_probe(sent))
      return replies;
    const std::uint8_t other_adapter[6] = {0x02, 0, 0, 0, 0, 0x11};
    const std::uint8_t multicast[6] = {0x01, 0x80, 0xc2, 0, 0, 0x0e};
    const std::uint8_t zero[6] = {};
    for (const std::uint8_t* source :
         {sent.data() + 6, other_adapter, BROADCAST_MAC, multicast, zero})
      replies.push_back(make_reply(source, sent.data() + 6, CMD_PROBE));
    Bytes ip = make_reply(BRIDGE_C, sent.data() + 6, CMD_PROBE);
    ip[12] = 0x08;
    ip[13] = 0x00;
    replies.push_back(ip);
    replies.push_back(make_reply(BRIDGE_B, sent.data() + 6, 0x12345678)); // any code counts
    return replies;
  };
  host.add("eth1", 0x11); // not in the list to search, but listed by the system
  hosts({host_text(0x10).c_str()});
  ASSERT_EQ(discover(), 0);
  EXPECT_STREQ(devices, TEXT_B);
  EXPECT_EQ(host.adapters[0].wire->sent_frames().size(), 2u) << "one unicast probe, to B alone";
}

TEST_F(Discovery, StationThatNeverPausesDoesNotKeepTheSearchRunning) {
  host.add("eth0", 0x10).wire->flood = make_reply(BRIDGE_C, BROADCAST_MAC, CMD_PROBE);
  hosts({host_text(0x10).c_str()});
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(discover(), 0);
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_LT(took, link_timing().tick_period * (DISCOVERY_REPLY_WINDOW_TICKS * 10));
  EXPECT_STREQ(devices, TEXT_C);
}

TEST_F(Discovery, DeviceListStaysWithinItsRoom) {
  host.add("eth0", 0x10).wire->responder = [](const Bytes& sent) {
    std::vector<Bytes> replies;
    if (!is_broadcast_probe(sent))
      return replies;
    for (int i = 0; i < 120; ++i) {
      const std::uint8_t station[6] = {
          0x02, 0, 0, 0, static_cast<std::uint8_t>(i >> 8), static_cast<std::uint8_t>(i)};
      replies.push_back(make_reply(station, sent.data() + 6, CMD_PROBE));
    }
    return replies;
  };
  hosts({host_text(0x10).c_str()});
  char room[DEVICE_LIST_SIZE + 16];
  std::memset(room, '#', sizeof room);
  std::memset(room, 0, DEVICE_LIST_SIZE);
  ASSERT_EQ(discover_devices(buffer, buffer, host_macs, room), 0);
  EXPECT_EQ(std::strlen(room), std::size_t{MAX_DEVICES * 17});
  EXPECT_EQ(room[DEVICE_LIST_SIZE], '#') << "nothing written past the list's room";
  EXPECT_EQ(host.adapters[0].wire->sent_frames().size(), std::size_t{1 + MAX_DEVICES});
}

TEST_F(Discovery, StopRequestEndsTheUnicastProbes) {
  host.add("eth0", 0x10).wire->responder = bridges_answering({BRIDGE_B, BRIDGE_C});
  hosts({host_text(0x10).c_str()});
  link_timing().unicast_probe_pause = std::chrono::milliseconds{60000};
  auto& wire = *host.adapters[0].wire;
  std::thread stopper([&wire] {
    while (wire.sent_frames().size() < 2)
      std::this_thread::sleep_for(std::chrono::milliseconds{1});
    request_link_stop();
  });
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(discover(), 0);
  stopper.join();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds{10});
  EXPECT_EQ(wire.sent_frames().size(), 2u) << "no further probe after the stop";
}
