#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "link/link_frame.h"

namespace {

const std::uint8_t OWN[6] = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55};
const std::uint8_t BRIDGE[6] = {0x66, 0x77, 0x88, 0x99, 0xaa, 0xbb};

std::vector<std::uint8_t> built(int (*builder)(std::uint8_t*, const std::uint8_t*,
                                               const std::uint8_t*)) {
  std::vector<std::uint8_t> frame(MAX_FRAME_SIZE, 0xee); // stale bytes must not leak
  const int size = builder(frame.data(), OWN, BRIDGE);
  EXPECT_EQ(size, REQUEST_FRAME_SIZE);
  frame.resize(static_cast<std::size_t>(size));
  return frame;
}

std::vector<std::uint8_t> header(std::uint32_t code, std::uint8_t length) {
  std::vector<std::uint8_t> bytes = {0x66, 0x77, 0x88, 0x99, 0xaa, 0xbb, 0x00,
                                     0x11, 0x22, 0x33, 0x44, 0x55, 0x88, 0x88};
  for (int i = 0; i < 4; ++i)
    bytes.push_back(static_cast<std::uint8_t>(code >> (8 * i)));
  bytes.insert(bytes.end(), {0, 0, 0, 0, length, 0});
  return bytes;
}

std::vector<std::uint8_t> request(std::uint32_t code, const std::string& text) {
  auto bytes = header(code, static_cast<std::uint8_t>(text.size()));
  bytes.insert(bytes.end(), text.begin(), text.end());
  bytes.resize(REQUEST_FRAME_SIZE, 0);
  return bytes;
}

} // namespace

TEST(LinkFrames, BeginRequestIsByteExact) {
  const std::vector<std::uint8_t> expected = {
      0x66, 0x77, 0x88, 0x99, 0xaa, 0xbb, 0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x88,
      0x88, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0,    0,
      0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,
      0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,
      0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0};
  EXPECT_EQ(built(build_begin_request), expected);
}

TEST(LinkFrames, EveryRequestKindHasItsCodeTextAndZeroPadding) {
  EXPECT_EQ(built(build_probe_request), request(CMD_PROBE, ""));
  EXPECT_EQ(built(build_execute_request), request(CMD_EXECUTE, ""));
  EXPECT_EQ(built(build_done_request), request(CMD_DONE, ""));
  EXPECT_EQ(built(build_9107_request), request(CMD_WRITE, "9107:\r\n"));
  EXPECT_EQ(built(build_9100_request), request(CMD_WRITE, "9100:\r\n"));
  EXPECT_EQ(built(build_9002_request), request(CMD_WRITE, "9002:\r\n"));

  const auto write = built(build_9107_request);
  EXPECT_EQ(std::vector<std::uint8_t>(write.begin() + 14, write.begin() + 18),
            (std::vector<std::uint8_t>{0x01, 0x01, 0x01, 0x00}));
  EXPECT_EQ(write[22], 7);
  EXPECT_EQ(write[23], 0);
}

TEST(LinkFrames, CodesOnTheWire) {
  std::uint8_t frame[LINK_HEADER_SIZE];
  const std::pair<std::uint32_t, std::vector<std::uint8_t>> cases[] = {
      {CMD_BEGIN, {0x00, 0x01, 0x00, 0x00}},        {RSP_WRITE, {0x01, 0x01, 0x00, 0x00}},
      {CMD_EXECUTE, {0x02, 0x01, 0x02, 0x00}},      {RSP_EXECUTE_ACK, {0x02, 0x01, 0x01, 0x00}},
      {RSP_EXECUTE_DATA, {0x02, 0x01, 0x02, 0x00}}, {CMD_DONE, {0x02, 0x01, 0x03, 0x00}}};
  for (const auto& [code, bytes] : cases) {
    build_frame(frame, OWN, BRIDGE, code, 0, 0);
    EXPECT_EQ(std::vector<std::uint8_t>(frame + 14, frame + 18), bytes) << std::hex << code;
    EXPECT_EQ(frame_code(frame), code);
  }
}

TEST(LinkFrames, BuildFrameWritesOnlyTheHeaderLittleEndian) {
  std::uint8_t frame[40];
  std::memset(frame, 0xcc, sizeof frame);
  build_frame(frame, OWN, BRIDGE, 0x04030201, 0x08070605, 0x0a09);
  EXPECT_EQ(frame[14], 0x01);
  EXPECT_EQ(frame[17], 0x04);
  EXPECT_EQ(frame[18], 0x05);
  EXPECT_EQ(frame[21], 0x08);
  EXPECT_EQ(frame[22], 0x09);
  EXPECT_EQ(frame[23], 0x0a);
  EXPECT_EQ(frame_param(frame), 0x08070605u);
  for (int i = LINK_HEADER_SIZE; i < 40; ++i)
    EXPECT_EQ(frame[i], 0xcc) << i;
}

TEST(LinkFrames, LengthFieldReadsSigned) {
  std::uint8_t frame[LINK_HEADER_SIZE];
  build_frame(frame, OWN, BRIDGE, RSP_WRITE, 0, 0xfffe);
  EXPECT_EQ(frame_length_field(frame), -2);
  build_frame(frame, OWN, BRIDGE, RSP_WRITE, 0, 1490);
  EXPECT_EQ(frame_length_field(frame), 1490);
}

TEST(LinkFrames, AdapterProbeIsHundredBytesOfBroadcastAndZeros) {
  std::vector<std::uint8_t> frame(MAX_FRAME_SIZE, 0xee);
  ASSERT_EQ(build_adapter_probe(frame.data(), OWN), ADAPTER_PROBE_SIZE);
  std::vector<std::uint8_t> expected = {0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0x00,
                                        0x11, 0x22, 0x33, 0x44, 0x55, 0x88, 0x88};
  expected.resize(ADAPTER_PROBE_SIZE, 0);
  frame.resize(ADAPTER_PROBE_SIZE);
  EXPECT_EQ(frame, expected);
}
