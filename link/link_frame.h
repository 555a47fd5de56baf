// Wire format shared by the wizard and the bridge: an Ethernet header of EtherType 0x8888,
// a 10-byte command header (little-endian) and a short text payload.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr std::uint16_t LINK_ETHERTYPE = 0x8888;

constexpr std::uint32_t CMD_PROBE = 0x00000000;
constexpr std::uint32_t CMD_BEGIN = 0x00000100;
constexpr std::uint32_t RSP_BEGIN = 0x00000100;
constexpr std::uint32_t CMD_WRITE = 0x00010101;
constexpr std::uint32_t RSP_WRITE = 0x00000101;
constexpr std::uint32_t CMD_EXECUTE = 0x00020102;
constexpr std::uint32_t RSP_EXECUTE_ACK = 0x00010102;
constexpr std::uint32_t RSP_EXECUTE_DATA = 0x00020102;
constexpr std::uint32_t CMD_DONE = 0x00030102;

constexpr int MAC_SIZE = 6;
constexpr int LINK_HEADER_SIZE = 24;
constexpr int REQUEST_FRAME_SIZE = 64;    // every fixed request: header and 40 payload bytes
constexpr int MAX_FRAME_SIZE = 1514;      // an Ethernet frame without its check sequence
constexpr int SETTINGS_FRAME_ROOM = 1500; // zeroed room of the settings-text request
constexpr int ADAPTER_PROBE_SIZE = 100;   // start-up probe of each host adapter

struct LinkFrame {
  std::uint8_t dst_mac[MAC_SIZE];
  std::uint8_t src_mac[MAC_SIZE];
  std::uint8_t ether_type[2];
  std::uint8_t code[4];   // little-endian
  std::uint8_t param[4];  // little-endian, always 0 from the wizard
  std::uint8_t length[2]; // little-endian payload byte count
  std::uint8_t payload[MAX_FRAME_SIZE - LINK_HEADER_SIZE];
};
static_assert(sizeof(LinkFrame) == MAX_FRAME_SIZE);
static_assert(offsetof(LinkFrame, code) == 14);
static_assert(offsetof(LinkFrame, length) == 22);
static_assert(offsetof(LinkFrame, payload) == LINK_HEADER_SIZE);

constexpr std::uint8_t BROADCAST_MAC[MAC_SIZE] = {0xff, 0xff, 0xff, 0xff, 0xff, 0xff};

// Header fields of a frame that holds at least LINK_HEADER_SIZE bytes.
std::uint32_t frame_code(const std::uint8_t* frame);
std::uint32_t frame_param(const std::uint8_t* frame);
std::int16_t frame_length_field(const std::uint8_t* frame);
bool frame_has_ethertype(const std::uint8_t* frame, std::uint16_t ether_type);

// Writes bytes 0..23 and nothing else.
void build_frame(std::uint8_t* frame, const std::uint8_t* src_mac, const std::uint8_t* dst_mac,
                 std::uint32_t code, std::uint32_t param, std::uint16_t length);

// Request builders: a 64-byte request from own to bridge, payload zero but for its text.
// Each returns the number of bytes to send.
int build_probe_request(std::uint8_t* frame, const std::uint8_t* own, const std::uint8_t* bridge);
int build_begin_request(std::uint8_t* frame, const std::uint8_t* own, const std::uint8_t* bridge);
int build_9107_request(std::uint8_t* frame, const std::uint8_t* own, const std::uint8_t* bridge);
int build_9100_request(std::uint8_t* frame, const std::uint8_t* own, const std::uint8_t* bridge);
int build_9002_request(std::uint8_t* frame, const std::uint8_t* own, const std::uint8_t* bridge);
int build_execute_request(std::uint8_t* frame, const std::uint8_t* own, const std::uint8_t* bridge);
int build_done_request(std::uint8_t* frame, const std::uint8_t* own, const std::uint8_t* bridge);

// The 100-byte broadcast frame with code, param and length 0 that each host adapter sends at
// start-up to prove it can put a frame on the wire.
int build_adapter_probe(std::uint8_t* frame, const std::uint8_t* own);
