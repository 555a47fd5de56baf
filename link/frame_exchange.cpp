#include "link/frame_exchange.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "link/capture_handle.h"
#include "link/link_channel.h"
#include "link/link_frame.h"
#include "link/link_timing.h"

std::atomic<int>& rx_tick_count = process_link_channel().tick_count;
int& rx_tick_limit = process_link_channel().tick_limit;

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

milliseconds until(Clock::time_point when) {
  const auto left = std::chrono::duration_cast<milliseconds>(when - Clock::now());
  return std::max(left, milliseconds{0});
}

// Keeps what the capture says of a failed send or read, if anything.
void note_failure(LinkChannel& channel) {
  std::string why = channel.capture->failure();
  if (!why.empty())
    channel.failure = std::move(why);
}

bool stopped(const LinkChannel& channel) { return link_stop_requested() || channel.stopped; }

bool wait_is_over(const LinkChannel& channel) {
  return channel.tick_count.load() > channel.tick_limit || Clock::now() >= channel.deadline ||
         stopped(channel);
}

} // namespace

int send_frame(const std::uint8_t* frame, int count) {
  // Once a stop is requested (the page went away, the user pressed Ctrl-C), nothing more goes
  // out: a step that gave up on its wait would otherwise send its request a second time.
  LinkChannel& channel = link_channel();
  if (channel.capture && !stopped(channel) && channel.capture->send(frame, count) != 0)
    note_failure(channel);
  return 0;
}

std::string link_failure() { return link_channel().failure; }

void clear_link_failure() { link_channel().failure.clear(); }

void note_link_step(const char* step) { link_channel().step = step; }

const char* link_step() { return link_channel().step; }

void tick_rx_timeout() { ++process_link_channel().tick_count; }

int next_link_frame(const std::uint8_t* own, const std::uint8_t* peer, std::uint16_t ether_type,
                    const std::uint8_t** frame, int* captured) {
  LinkChannel& channel = link_channel();
  const bool broadcast_wait = std::memcmp(peer, BROADCAST_MAC, MAC_SIZE) == 0;
  for (;;) {
    const milliseconds slice = std::min(link_timing().read_slice, until(channel.deadline));
    const std::uint8_t* data = nullptr;
    int wire_length = 0;
    int data_length = 0;
    int result = -1;
    if (channel.capture)
      result = channel.capture->next(slice, &data, &wire_length, &data_length);
    // Looked at before the read's result, so a frame that arrives after the limit is dropped.
    if (wait_is_over(channel))
      return 0;
    if (result < 0) {
      if (channel.capture)
        note_failure(channel);
      // A failing or missing capture returns at once; pause so the wait does not spin.
      link_pause(slice, false);
      continue;
    }
    if (result == 0)
      continue;
    if (wire_length > 14 && data_length >= 14 && frame_has_ethertype(data, ether_type)) {
      const bool from_peer = broadcast_wait ? std::memcmp(data + 6, own, MAC_SIZE) != 0
                                            : std::memcmp(data + 6, peer, MAC_SIZE) == 0;
      if (!from_peer)
        continue;
      *frame = data;
      if (captured)
        *captured = data_length;
      return wire_length;
    }
    if (wire_length == 0)
      return 0;
  }
}

int receive_frame(const std::uint8_t* own, const std::uint8_t* peer, std::uint16_t ether_type,
                  std::uint8_t* buffer, int maximum, int tick_limit) {
  LinkChannel& channel = link_channel();
  channel.tick_count = 0;
  channel.tick_limit = tick_limit;
  const auto& timing = link_timing();
  channel.deadline = Clock::now() + timing.tick_period * (tick_limit + 1) + timing.clock_slack;

  const std::uint8_t* frame = nullptr;
  int captured = 0;
  const int length = next_link_frame(own, peer, ether_type, &frame, &captured);
  if (length <= 0 || maximum <= 0)
    return 0;
  const int count = std::min(length, maximum);
  const int copied = std::min(count, captured);
  std::memcpy(buffer, frame, static_cast<std::size_t>(copied));
  std::memset(buffer + copied, 0, static_cast<std::size_t>(count - copied));
  return count;
}

int await_reply(const std::uint8_t* own, const std::uint8_t* peer, std::uint16_t ether_type,
                std::uint8_t* buffer, int maximum, std::uint32_t expected_code, int tick_limit) {
  for (int read = 0; read < MAX_FOREIGN_REPLIES; ++read) {
    const int count = receive_frame(own, peer, ether_type, buffer, maximum, tick_limit);
    if (count == 0)
      return -1;
    // A frame too short to hold a code counts as one with another code.
    if (count < LINK_HEADER_SIZE || frame_code(buffer) != expected_code)
      continue;
    const int length = frame_length_field(buffer);
    return length == 2 || count == length + LINK_HEADER_SIZE ? count : -1;
  }
  return -1;
}

int send_and_await(RequestBuilder build, std::uint8_t* send_buffer, std::uint8_t* receive_buffer,
                   const std::uint8_t* own, const std::uint8_t* bridge, std::uint32_t expected_code,
                   int tick_limit) {
  if (link_wind_down_requested())
    return -1;
  for (int tries = 0; tries < 2; ++tries) {
    send_frame(send_buffer, build(send_buffer, own, bridge));
    const int count = await_reply(own, bridge, LINK_ETHERTYPE, receive_buffer, MAX_FRAME_SIZE,
                                  expected_code, tick_limit);
    if (count > 0)
      return count;
  }
  return -1;
}
