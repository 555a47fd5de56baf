#include "link/frame_exchange.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <mutex>

#include "link/capture_handle.h"
#include "link/link_frame.h"
#include "link/link_timing.h"

std::atomic<int> rx_tick_count{0};
int rx_tick_limit = 0;

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// End of the current wait on the monotonic clock; worker only, like rx_tick_limit.
Clock::time_point rx_deadline;

milliseconds until(Clock::time_point when) {
  const auto left = std::chrono::duration_cast<milliseconds>(when - Clock::now());
  return std::max(left, milliseconds{0});
}

std::mutex failure_mutex;
std::string failure_text;

// Keeps what the capture says of a failed send or read, if anything.
void note_failure(const CaptureHandle& capture) {
  std::string why = capture.failure();
  if (why.empty())
    return;
  std::lock_guard lock(failure_mutex);
  failure_text = std::move(why);
}

bool wait_is_over() {
  return rx_tick_count.load() > rx_tick_limit || Clock::now() >= rx_deadline ||
         link_stop_requested();
}

} // namespace

int send_frame(const std::uint8_t* frame, int count) {
  // Once a stop is requested (the page went away, the user pressed Ctrl-C), nothing more goes
  // out: a step that gave up on its wait would otherwise send its request a second time.
  if (capture_handle && !link_stop_requested() && capture_handle->send(frame, count) != 0)
    note_failure(*capture_handle);
  return 0;
}

std::string link_failure() {
  std::lock_guard lock(failure_mutex);
  return failure_text;
}

void clear_link_failure() {
  std::lock_guard lock(failure_mutex);
  failure_text.clear();
}

void tick_rx_timeout() { ++rx_tick_count; }

int next_link_frame(const std::uint8_t* own, const std::uint8_t* peer, std::uint16_t ether_type,
                    const std::uint8_t** frame, int* captured) {
  const bool broadcast_wait = std::memcmp(peer, BROADCAST_MAC, MAC_SIZE) == 0;
  for (;;) {
    const milliseconds slice = std::min(link_timing().read_slice, until(rx_deadline));
    const std::uint8_t* data = nullptr;
    int wire_length = 0;
    int data_length = 0;
    int result = -1;
    if (capture_handle)
      result = capture_handle->next(slice, &data, &wire_length, &data_length);
    // Looked at before the read's result, so a frame that arrives after the limit is dropped.
    if (wait_is_over())
      return 0;
    if (result < 0) {
      if (capture_handle)
        note_failure(*capture_handle);
      // A failing or missing capture returns at once; pause so the wait does not spin.
      link_pause(slice);
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
  rx_tick_count = 0;
  rx_tick_limit = tick_limit;
  const auto& timing = link_timing();
  rx_deadline = Clock::now() + timing.tick_period * (tick_limit + 1) + timing.clock_slack;

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
  for (int tries = 0; tries < 2; ++tries) {
    send_frame(send_buffer, build(send_buffer, own, bridge));
    const int count = await_reply(own, bridge, LINK_ETHERTYPE, receive_buffer, MAX_FRAME_SIZE,
                                  expected_code, tick_limit);
    if (count > 0)
      return count;
  }
  return -1;
}
