// The bridge emulator over veth, driven by the link's own exchange steps (root).
#include <algorithm>
#include <cstring>
#include <string>

#include "link/adapter_selection.h"
#include "link/frame_exchange.h"
#include "link/link_frame.h"
#include "link/mac_text.h"
#include "tests/netns/testnet.h"

namespace {

const std::uint8_t BRIDGE[6] = {0x02, 0, 0, 0, 0, 0xb1};
const char* const SETTINGS = "7000 :Caf\xc3\xa9 bar\n7001 :16\n7002 :0\n7003 :2\n7004 :32\n";

int build_settings(std::uint8_t* frame, const std::uint8_t* own, const std::uint8_t* bridge) {
  const auto length = static_cast<std::uint16_t>(std::strlen(SETTINGS));
  std::memset(frame, 0, SETTINGS_FRAME_ROOM);
  std::memcpy(frame + LINK_HEADER_SIZE, SETTINGS, length);
  build_frame(frame, own, bridge, CMD_WRITE, 0, length);
  return LINK_HEADER_SIZE + length;
}

class EmulatorOverVeth : public netns::NetnsTest {
protected:
  std::uint8_t own[6] = {};
  std::uint8_t send[MAX_FRAME_SIZE] = {};
  std::uint8_t reply[MAX_FRAME_SIZE] = {};

  netns::Emulator& start(const std::string& scenario, const std::vector<std::string>& faults = {}) {
    const auto wizard = net->add_namespace("wiz");
    const auto bridge = net->add_namespace("br");
    net->add_veth(wizard, "eth0", "02:00:00:00:01:01", bridge, "br0", "-");
    auto& emu = net->start_emulator(bridge, "br0", scenario, faults);
    net->enter(wizard);
    mac_text_to_bytes("02-00-00-00-01-01", own);
    EXPECT_EQ(reopen_adapter("02-00-00-00-01-01"), 0);
    return emu;
  }
  int step(RequestBuilder build, std::uint32_t code) {
    return send_and_await(build, send, reply, own, BRIDGE, code, STEP_TICK_LIMIT);
  }
  // The report's text after its two leading bytes, or "" when no report came.
  std::string survey() {
    if (step(build_begin_request, RSP_BEGIN) < 0 || step(build_9100_request, RSP_WRITE) < 0)
      return "";
    const int size = step(build_execute_request, RSP_EXECUTE_DATA);
    if (size < 0)
      return "";
    EXPECT_EQ(frame_length_field(reply) + LINK_HEADER_SIZE, size) << "length matches the size";
    return std::string(reinterpret_cast<const char*>(reply) + LINK_HEADER_SIZE + 2,
                       static_cast<std::size_t>(size - LINK_HEADER_SIZE - 2));
  }
};

int count(const std::vector<FrameLogEntry>& log, const char* direction, std::uint32_t code) {
  return static_cast<int>(std::count_if(log.begin(), log.end(), [&](const FrameLogEntry& entry) {
    return entry.direction == direction && entry.code == code;
  }));
}

} // namespace

TEST_F(EmulatorOverVeth, PlaysTheSurveyAndTheWriteAndKeepsTheSettingsText) {
  auto& emu = start("mac = 02:00:00:00:00:b1\nssid = Office\nsecmode = 3\n"
                    "network = Home|00:11:22:33:44:55|6|BG|2|78\n"
                    "network = |00:11:22:33:44:66|11|G|3|40\n");
  netns::QuickLinkTiming timing;

  ASSERT_GT(step(build_begin_request, RSP_BEGIN), 0);
  ASSERT_GT(step(build_9107_request, RSP_WRITE), 0);
  ASSERT_GT(step(build_execute_request, RSP_EXECUTE_ACK), 0);
  EXPECT_EQ(survey(), "SSID:Office\n7001 :16\nSECMODE:3\nSURVEY:\f"
                      "Home\f00:11:22:33:44:55,6,BG,2,78\v\f00:11:22:33:44:66,11,G,3,40\v");
  send_frame(send, build_done_request(send, own, BRIDGE));

  ASSERT_GT(step(build_begin_request, RSP_BEGIN), 0);
  ASSERT_GT(step(build_settings, RSP_WRITE), 0);
  ASSERT_GT(step(build_execute_request, RSP_EXECUTE_ACK), 0);
  EXPECT_EQ(emu.settings(), SETTINGS) << "stored byte for byte";
  ASSERT_GT(step(build_begin_request, RSP_BEGIN), 0);
  ASSERT_GT(step(build_9002_request, RSP_WRITE), 0);
  ASSERT_GT(step(build_execute_request, RSP_EXECUTE_ACK), 0);
  EXPECT_EQ(survey().rfind("SSID:Caf\xc3\xa9 bar\n7001 :16\nSECMODE:2\nSURVEY:", 0), 0u)
      << "the settings applied on 9002";

  ASSERT_TRUE(emu.stop()) << "a clean exit on SIGTERM: " << emu.errors();
  const auto log = emu.log();
  EXPECT_EQ(count(log, "rx", CMD_DONE), 1);
  EXPECT_EQ(count(log, "rx", CMD_BEGIN), 5);
  EXPECT_EQ(count(log, "tx", RSP_BEGIN), 5) << "one reply each, CMD_DONE unanswered";
}

TEST_F(EmulatorOverVeth, FaultsShowOnTheWire) {
  auto& emu = start("mac = 02:00:00:00:00:b1\n",
                    {"drop begin 1", "bad-length write 2", "wrong-code ack 45"});
  netns::QuickLinkTiming timing;

  EXPECT_GT(step(build_begin_request, RSP_BEGIN), 0) << "the second send is answered";
  EXPECT_EQ(step(build_9107_request, RSP_WRITE), -1) << "both replies carry a bad length";
  EXPECT_GT(step(build_9107_request, RSP_WRITE), 0);
  // Each wait gives up after twenty frames of another code; 45 before each ack keep the real
  // ack of the first send out of reach of the second wait too.
  EXPECT_EQ(step(build_execute_request, RSP_EXECUTE_ACK), -1);

  // The wizard gave up before the bridge had sent its second burst.
  EXPECT_TRUE(emu.wait_for([](const std::vector<FrameLogEntry>& seen) {
    return count(seen, "tx", RSP_EXECUTE_ACK) == 2;
  }));
  ASSERT_TRUE(emu.stop()) << emu.errors();
  const auto log = emu.log();
  EXPECT_EQ(count(log, "rx", CMD_BEGIN), 2);
  EXPECT_EQ(count(log, "tx", RSP_BEGIN), 1);
  EXPECT_EQ(count(log, "tx", RSP_EXECUTE_DATA), 90);
}
