// Feeds arbitrary frames through a scripted capture to the receive filter (`receive_frame`) and
// to `await_reply`, and checks them against a plain model of the rules: which frame is taken,
// the count returned, what lands in the buffer, how many frames are read. Every frame sits in a
// heap block of exactly its captured size and the receive buffer is exactly `maximum` bytes,
// so a read past a frame or a write past the buffer is caught.
//
// Input: one control byte, one byte for the buffer size, then frames, each as a four-byte
// header (captured size and wire length, little-endian 16-bit; wire length 0xffff means "as
// captured") and its bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "link/capture_handle.h"
#include "link/frame_exchange.h"
#include "link/link_frame.h"
#include "link/link_timing.h"
#include "tests/support/scripted_capture.h"

namespace {

const std::uint8_t OWN[MAC_SIZE] = {0x02, 0x00, 0x00, 0x00, 0x01, 0x01};
const std::uint8_t BRIDGE[MAC_SIZE] = {0x02, 0x00, 0x00, 0x00, 0x00, 0xb1};
const std::uint32_t EXPECTED_CODES[] = {RSP_BEGIN, RSP_WRITE, RSP_EXECUTE_ACK, RSP_EXECUTE_DATA};

struct Frame {
  Bytes bytes;
  int wire_length;
};

void check(bool holds) {
  if (!holds)
    std::abort();
}

int read_u16(const std::uint8_t* at) { return at[0] | at[1] << 8; }

struct Outcome {
  int result = 0;
  int taken = -1;   // index of the frame last copied into the buffer
  int read = 0;     // frames the capture handed out
  bool dry = false; // a wait ran past the last frame, into the closing ticks
};

// The filter's rules, written out plainly: a frame is taken when it is longer than 14 bytes,
// holds an EtherType and carries the link type, and comes from the peer (or, waiting on the
// broadcast address, from anyone but us). A frame of wire length 0 ends the wait.
enum class Seen { Taken, Skipped, GiveUp };

Seen classify(const Frame& frame, const std::uint8_t* peer) {
  const Bytes& b = frame.bytes;
  if (frame.wire_length > 14 && b.size() >= 14 && b[12] == 0x88 && b[13] == 0x88) {
    const bool broadcast = std::memcmp(peer, BROADCAST_MAC, MAC_SIZE) == 0;
    const bool from_peer = broadcast ? std::memcmp(b.data() + 6, OWN, MAC_SIZE) != 0
                                     : std::memcmp(b.data() + 6, peer, MAC_SIZE) == 0;
    return from_peer ? Seen::Taken : Seen::Skipped;
  }
  return frame.wire_length == 0 ? Seen::GiveUp : Seen::Skipped;
}

// One receive from the next unread frame on: the count (the frame taken is recorded), or 0
// when the wait ended.
int model_receive(const std::vector<Frame>& frames, const std::uint8_t* peer, int maximum,
                  Outcome* outcome) {
  while (outcome->read < static_cast<int>(frames.size())) {
    const int index = outcome->read++;
    switch (classify(frames[static_cast<std::size_t>(index)], peer)) {
    case Seen::Taken:
      outcome->taken = index;
      return std::min(frames[static_cast<std::size_t>(index)].wire_length, maximum);
    case Seen::GiveUp:
      return 0;
    case Seen::Skipped:
      break;
    }
  }
  outcome->dry = true; // the script's closing ticks end the wait
  return 0;
}

Outcome model_await(const std::vector<Frame>& frames, const std::uint8_t* peer, int maximum,
                    std::uint32_t expected) {
  Outcome outcome;
  for (int attempt = 0; attempt < MAX_FOREIGN_REPLIES; ++attempt) {
    const int count = model_receive(frames, peer, maximum, &outcome);
    if (count == 0) {
      outcome.result = -1;
      return outcome;
    }
    const Bytes& b = frames[static_cast<std::size_t>(outcome.taken)].bytes;
    // The code and length as the wizard reads them: from the buffer, where bytes past the
    // captured ones are zero.
    std::uint8_t header[LINK_HEADER_SIZE] = {};
    std::memcpy(header, b.data(), std::min<std::size_t>(b.size(), sizeof header));
    if (count < LINK_HEADER_SIZE || frame_code(header) != expected)
      continue;
    const int length = frame_length_field(header);
    outcome.result = length == 2 || count == length + LINK_HEADER_SIZE ? count : -1;
    return outcome;
  }
  outcome.result = -1;
  return outcome;
}

// The buffer holds the taken frame's first `count` bytes, zeros past what was captured.
void check_copy(const std::uint8_t* buffer, int count, const Frame& frame) {
  const int captured = static_cast<int>(frame.bytes.size());
  for (int i = 0; i < count; ++i)
    check(buffer[i] == (i < captured ? frame.bytes[static_cast<std::size_t>(i)] : 0));
}

ScriptedCapture* install_capture() {
  static const bool timed = [] {
    // Only the script's ticks may end a wait; the clock never does within one input.
    LinkTiming& timing = link_timing();
    timing.tick_period = std::chrono::hours{1};
    timing.read_slice = std::chrono::milliseconds{1};
    return true;
  }();
  (void)timed;
  auto capture = std::make_unique<ScriptedCapture>();
  ScriptedCapture* raw = capture.get();
  capture_handle = std::move(capture);
  return raw;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2)
    return 0;
  const std::uint8_t control = data[0];
  const bool broadcast_wait = (control & 1) != 0;
  const bool single_receive = (control & 2) != 0;
  const std::uint32_t expected = EXPECTED_CODES[(control >> 2) & 3];
  const int tick_limit = (control >> 4) & 3;
  // Callers pass 1514; smaller buffers check that the cut is honoured.
  const int maximum = data[1] == 0 ? MAX_FRAME_SIZE : data[1] * 6;
  const std::uint8_t* peer = broadcast_wait ? BROADCAST_MAC : BRIDGE;

  std::vector<Frame> frames;
  std::size_t at = 2;
  while (at + 4 <= size && frames.size() < 64) {
    const std::size_t captured = std::min<std::size_t>(read_u16(data + at), size - at - 4);
    const int wire = read_u16(data + at + 2);
    at += 4;
    frames.push_back({Bytes(data + at, data + at + captured),
                      wire == 0xffff ? static_cast<int>(captured) : wire});
    at += captured;
  }

  ScriptedCapture* capture = install_capture();
  for (const Frame& frame : frames)
    capture->queue_frame(frame.bytes, frame.wire_length);
  // The wait then ends as a page timer ends it: ticks past the limit, seen at the next read.
  capture->queue_ticks(tick_limit + 1);
  capture->queue_timeout();
  const int script = capture->pending();

  const auto buffer = std::make_unique<std::uint8_t[]>(static_cast<std::size_t>(maximum));
  Outcome expected_outcome;
  int result = 0;
  if (single_receive) {
    result = receive_frame(OWN, peer, LINK_ETHERTYPE, buffer.get(), maximum, tick_limit);
    expected_outcome.result = model_receive(frames, peer, maximum, &expected_outcome);
    check(result >= 0 && result <= maximum);
  } else {
    result = await_reply(OWN, peer, LINK_ETHERTYPE, buffer.get(), maximum, expected, tick_limit);
    expected_outcome = model_await(frames, peer, maximum, expected);
    check(result == -1 || (result > 0 && result <= maximum));
  }
  check(result == expected_outcome.result);

  // Events read: the model's frames, and the closing ticks and time-out when it ran dry.
  check(script - capture->pending() == expected_outcome.read + (expected_outcome.dry ? 2 : 0));

  if (result > 0) {
    const Frame& taken = frames[static_cast<std::size_t>(expected_outcome.taken)];
    check_copy(buffer.get(), result, taken);
    if (!single_receive) {
      check(frame_code(buffer.get()) == expected);
      check(frame_length_field(buffer.get()) == 2 ||
            result == frame_length_field(buffer.get()) + LINK_HEADER_SIZE);
    }
  }
  capture_handle.reset();
  return 0;
}
