// One request/reply round trip (send_frame + await_reply) against the emulator over veth, with
// the capture as the link opens it on Linux and as the original pcap_open_live call would.
// Needs root: it makes its own namespaces.
#include <cstdio>
#include <exception>
#include <vector>

#include "bench/bench_figures.h"
#include "bench/bench_network.h"
#include "link/adapter_selection.h"
#include "link/capture_handle.h"
#include "link/frame_exchange.h"
#include "link/link_frame.h"
#include "link/mac_text.h"
#include "link/pcap_capture.h"
#include "tests/netns/testnet.h"

namespace {

const std::uint8_t BRIDGE[6] = {0x02, 0, 0, 0, 0, 0xb1};

// Round-trip times in ms; -1 marks a lost reply.
std::vector<double> round_trips(const std::uint8_t* own, int count) {
  std::vector<double> samples;
  std::uint8_t frame[MAX_FRAME_SIZE];
  for (int i = 0; i < count; ++i) {
    const auto start = std::chrono::steady_clock::now();
    send_frame(frame, build_begin_request(frame, own, BRIDGE));
    const int reply =
        await_reply(own, BRIDGE, LINK_ETHERTYPE, frame, MAX_FRAME_SIZE, RSP_BEGIN, STEP_TICK_LIMIT);
    samples.push_back(reply > 0 ? milliseconds_since(start) : -1);
  }
  return samples;
}

void print(const char* what, const std::vector<double>& samples) {
  std::vector<double> answered;
  for (double sample : samples)
    if (sample >= 0)
      answered.push_back(sample);
  const Figures figures = figures_of(answered);
  std::printf("%-52s median %9.3f ms  p90 %9.3f ms  max %9.3f ms  (%zu of %zu answered)\n", what,
              figures.median, figures.p90, figures.max, answered.size(), samples.size());
}

} // namespace

int main() {
  if (skipped_without_namespaces("link_round_trip_bench"))
    return 0;
  try {
    netns::TestNet net;
    enter_beside_bridge(net, "02:00:00:00:01:01", "mac = 02:00:00:00:00:b1\n");
    std::uint8_t own[6];
    mac_text_to_bytes("02-00-00-00-01-01", own);
    round_trips(own, 50); // warm-up
    const auto linux_samples = round_trips(own, 1000);
    print("Linux set-up (immediate mode, poll):", linux_samples);

    CaptureOpenError error;
    capture_handle = PcapCapture::open_as_original("eth0", &error);
    if (!capture_handle) {
      std::printf("pcap_open_live failed: %s\n", error.text.c_str());
      return 1;
    }
    const auto original_samples = round_trips(own, 8);
    print("as written (pcap_open_live 65536/1/1000, blocking):", original_samples);

    const double linux_median = figures_of(linux_samples).median;
    const double original_median = figures_of(original_samples).median;
    print_row("one step (send_frame + await_reply) over veth, median",
              format("%.3f ms", linux_median), "< 2 ms",
              format("1/%.0f of pcap_open_live", original_median / linux_median),
              linux_median < 2.0);
    print_peer_row("one step, capture as pcap_open_live(..., 1000), median",
                   format("%.1f ms", original_median),
                   format("%.0fx ours", original_median / linux_median));
  } catch (const std::exception& failure) {
    std::printf("link_round_trip_bench failed: %s\n", failure.what());
    return 1;
  }
  return 0;
}
