#include "tests/support/scripted_capture.h"

#include <algorithm>
#include <cstring>
#include <thread>

#include "link/frame_exchange.h"
#include "link/link_frame.h"
#include "link/link_timing.h"

void ScriptedCapture::queue_frame(Bytes frame, int wire_length) {
  std::lock_guard lock(mutex_);
  const int length = wire_length < 0 ? static_cast<int>(frame.size()) : wire_length;
  script_.push_back({Event::Frame, std::move(frame), length});
}

void ScriptedCapture::queue_timeout() {
  std::lock_guard lock(mutex_);
  script_.push_back({Event::Timeout, {}, 0});
}

void ScriptedCapture::queue_error() {
  std::lock_guard lock(mutex_);
  script_.push_back({Event::Error, {}, 0});
}

void ScriptedCapture::queue_ticks(int count) {
  std::lock_guard lock(mutex_);
  script_.push_back({Event::Ticks, {}, count});
}

std::vector<Bytes> ScriptedCapture::sent() const {
  std::lock_guard lock(mutex_);
  return sent_;
}

int ScriptedCapture::pending() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(script_.size());
}

int ScriptedCapture::send(const std::uint8_t* frame, int length) {
  Bytes bytes(frame, frame + length);
  {
    std::lock_guard lock(mutex_);
    sent_.push_back(bytes);
  }
  if (on_send)
    on_send(bytes);
  return 0;
}

int ScriptedCapture::next(std::chrono::milliseconds timeout, const std::uint8_t** frame,
                          int* wire_length, int* captured) {
  std::unique_lock lock(mutex_);
  while (!script_.empty() && script_.front().kind == Event::Ticks) {
    for (int i = 0; i < script_.front().wire_length; ++i)
      tick_rx_timeout();
    script_.pop_front();
  }
  if (script_.empty()) {
    lock.unlock();
    std::this_thread::sleep_for(timeout);
    return 0;
  }
  Event event = std::move(script_.front());
  script_.pop_front();
  switch (event.kind) {
  case Event::Frame:
    current_ = std::move(event.bytes);
    *frame = current_.data();
    *wire_length = event.wire_length;
    *captured = static_cast<int>(current_.size());
    return 1;
  case Event::Timeout:
    return 0;
  default:
    return -1;
  }
}

Bytes make_reply(const std::uint8_t* src, const std::uint8_t* dst, std::uint32_t code,
                 const Bytes& payload, int length_field, int min_size) {
  const int length = length_field < 0 ? static_cast<int>(payload.size()) : length_field;
  Bytes frame(
      std::max<std::size_t>(LINK_HEADER_SIZE + payload.size(), static_cast<std::size_t>(min_size)),
      0);
  build_frame(frame.data(), src, dst, code, 0, static_cast<std::uint16_t>(length));
  std::copy(payload.begin(), payload.end(), frame.begin() + LINK_HEADER_SIZE);
  return frame;
}

void use_short_link_timing() {
  using std::chrono::milliseconds;
  link_timing() = LinkTiming{.tick_period = milliseconds{10},
                             .read_slice = milliseconds{2},
                             .clock_slack = milliseconds{5},
                             .survey_scan_pause = milliseconds{1},
                             .unicast_probe_pause = milliseconds{1}};
  clear_link_stop();
}

void restore_link_timing() {
  link_timing() = LinkTiming{};
  clear_link_stop();
}

ScriptedLink::ScriptedLink() {
  auto capture = std::make_unique<ScriptedCapture>();
  capture_ = capture.get();
  capture_handle = std::move(capture);
  use_short_link_timing();
}

ScriptedLink::~ScriptedLink() {
  capture_handle.reset();
  restore_link_timing();
}
