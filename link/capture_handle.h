// The one open capture of the process. Everything that sends or reads frames goes through
// `capture_handle`; the libpcap implementation owns its pcap_t, and tests put a scripted
// capture in its place.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

class CaptureHandle {
public:
  virtual ~CaptureHandle() = default;

  // Hands the frame to the wire. Returns 0 when the frame was accepted, -1 otherwise.
  virtual int send(const std::uint8_t* frame, int length) = 0;

  // Waits at most `timeout` for the next frame. Returns 1 with *frame pointing at the
  // captured bytes (valid until the next call), their wire length and the number of bytes
  // captured; 0 when nothing came in time; -1 on a read error.
  virtual int next(std::chrono::milliseconds timeout, const std::uint8_t** frame, int* wire_length,
                   int* captured) = 0;

  // Why the last send or read failed, when there is more to say than a lost frame (a frame the
  // link helper refused, a helper that went away); empty otherwise.
  virtual std::string failure() const { return {}; }
};

// The process's capture (see link_channel.h): replaced by every adapter open; empty when no
// adapter is open.
extern std::unique_ptr<CaptureHandle>& capture_handle;
