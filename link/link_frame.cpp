#include "link/link_frame.h"

#include <cstring>

namespace {

void put_le16(std::uint8_t* at, std::uint16_t value) {
  at[0] = static_cast<std::uint8_t>(value);
  at[1] = static_cast<std::uint8_t>(value >> 8);
}

void put_le32(std::uint8_t* at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i)
    at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t get_le32(const std::uint8_t* at) {
  return std::uint32_t{at[0]} | std::uint32_t{at[1]} << 8 | std::uint32_t{at[2]} << 16 |
         std::uint32_t{at[3]} << 24;
}

int build_request(std::uint8_t* frame, const std::uint8_t* own, const std::uint8_t* bridge,
                  std::uint32_t code, const char* text, std::uint16_t text_length) {
  build_frame(frame, own, bridge, code, 0, text_length);
  std::memset(frame + LINK_HEADER_SIZE, 0, REQUEST_FRAME_SIZE - LINK_HEADER_SIZE);
  if (text_length > 0)
    std::memcpy(frame + LINK_HEADER_SIZE, text, text_length);
  return REQUEST_FRAME_SIZE;
}

} // namespace

std::uint32_t frame_code(const std::uint8_t* frame) { return get_le32(frame + 14); }

std::uint32_t frame_param(const std::uint8_t* frame) { return get_le32(frame + 18); }

std::int16_t frame_length_field(const std::uint8_t* frame) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(frame[22] | frame[23] << 8));
}

bool frame_has_ethertype(const std::uint8_t* frame, std::uint16_t ether_type) {
  return frame[12] == (ether_type >> 8) && frame[13] == (ether_type & 0xff);
}

void build_frame(std::uint8_t* frame, const std::uint8_t* src_mac, const std::uint8_t* dst_mac,
                 std::uint32_t code, std::uint32_t param, std::uint16_t length) {
  std::memcpy(frame, dst_mac, MAC_SIZE);
  std::memcpy(frame + 6, src_mac, MAC_SIZE);
  frame[12] = LINK_ETHERTYPE >> 8;
  frame[13] = LINK_ETHERTYPE & 0xff;
  put_le32(frame + 14, code);
  put_le32(frame + 18, param);
  put_le16(frame + 22, length);
}

int build_probe_request(std::uint8_t* frame, const std::uint8_t* own, const std::uint8_t* bridge) {
  return build_request(frame, own, bridge, CMD_PROBE, nullptr, 0);
}

int build_begin_request(std::uint8_t* frame, const std::uint8_t* own, const std::uint8_t* bridge) {
  return build_request(frame, own, bridge, CMD_BEGIN, nullptr, 0);
}

int build_9107_request(std::uint8_t* frame, const std::uint8_t* own, const std::uint8_t* bridge) {
  return build_request(frame, own, bridge, CMD_WRITE, "9107:\r\n", 7);
}

int build_9100_request(std::uint8_t* frame, const std::uint8_t* own, const std::uint8_t* bridge) {
  return build_request(frame, own, bridge, CMD_WRITE, "9100:\r\n", 7);
}

int build_9002_request(std::uint8_t* frame, const std::uint8_t* own, const std::uint8_t* bridge) {
  return build_request(frame, own, bridge, CMD_WRITE, "9002:\r\n", 7);
}

int build_execute_request(std::uint8_t* frame, const std::uint8_t* own,
                          const std::uint8_t* bridge) {
  return build_request(frame, own, bridge, CMD_EXECUTE, nullptr, 0);
}

int build_done_request(std::uint8_t* frame, const std::uint8_t* own, const std::uint8_t* bridge) {
  return build_request(frame, own, bridge, CMD_DONE, nullptr, 0);
}

int build_adapter_probe(std::uint8_t* frame, const std::uint8_t* own) {
  std::memset(frame, 0, ADAPTER_PROBE_SIZE);
  build_frame(frame, own, BROADCAST_MAC, 0, 0, 0);
  return ADAPTER_PROBE_SIZE;
}
