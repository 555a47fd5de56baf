// A capture that plays a script instead of a wire: tests queue frames, read errors and timer
// ticks, and read back every frame the code under test sent.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

#include "link/capture_handle.h"

using Bytes = std::vector<std::uint8_t>;

class ScriptedCapture : public CaptureHandle {
public:
  // Called for every sent frame, outside the capture's lock; may queue replies.
  std::function<void(const Bytes&)> on_send;

  void queue_frame(Bytes frame, int wire_length = -1);
  void queue_timeout();        // one read that returns 0 at once
  void queue_error();          // one read that returns -1
  void queue_ticks(int count); // page-timer ticks before the next read returns
  std::vector<Bytes> sent() const;
  int pending() const;

  int send(const std::uint8_t* frame, int length) override;
  // With the script empty, waits out the timeout and returns 0, as a silent wire does.
  int next(std::chrono::milliseconds timeout, const std::uint8_t** frame, int* wire_length,
           int* captured) override;

private:
  struct Event {
    enum Kind { Frame, Timeout, Error, Ticks } kind;
    Bytes bytes;
    int wire_length = 0;
  };
  mutable std::mutex mutex_;
  std::deque<Event> script_;
  std::vector<Bytes> sent_;
  Bytes current_;
};

// Builds a reply frame from `src` to `dst` with the given code and payload; `length_field`
// defaults to the payload's size. The frame is padded with zeros to `min_size` bytes.
Bytes make_reply(const std::uint8_t* src, const std::uint8_t* dst, std::uint32_t code,
                 const Bytes& payload = {}, int length_field = -1, int min_size = 60);

// Link timings for tests on a scripted capture or on faked adapters: ticks of 10 ms and short
// pauses, with no stop requested; restore_link_timing puts the product's back.
void use_short_link_timing();
void restore_link_timing();

// Installs a ScriptedCapture as capture_handle and short link timings; undoes both on exit.
class ScriptedLink {
public:
  ScriptedLink();
  ~ScriptedLink();
  ScriptedCapture& capture() { return *capture_; }

private:
  ScriptedCapture* capture_;
};
