#include "link/two_capture_probe.h"

#include <algorithm>

#include "link/link_frame.h"

int probe_through_second_capture(AdapterAccess& access, const char* name, const std::uint8_t* mac,
                                 CaptureHandle& capture, std::chrono::milliseconds wait,
                                 std::string* error) {
  using Clock = std::chrono::steady_clock;
  using std::chrono::milliseconds;
  CaptureOpening sender = access.open_capture(name);
  if (!sender.capture) {
    *error = sender.error;
    return -1;
  }
  std::uint8_t probe[ADAPTER_PROBE_SIZE];
  if (sender.capture->send(probe, build_adapter_probe(probe, mac)) != 0) {
    *error = sender.capture->failure();
    return 0;
  }
  const auto deadline = Clock::now() + wait;
  for (;;) {
    const auto left = std::max(std::chrono::duration_cast<milliseconds>(deadline - Clock::now()),
                               milliseconds{0});
    const std::uint8_t* frame = nullptr;
    int wire_length = 0;
    int captured = 0;
    const int result = capture.next(left, &frame, &wire_length, &captured);
    // Any frame counts: the probe as the capture sees it, or other traffic of a live wire.
    if (result > 0)
      return wire_length > 0 ? 1 : 0;
    if (result < 0 || Clock::now() >= deadline) {
      *error = result < 0 ? capture.failure() : "";
      return 0;
    }
  }
}
