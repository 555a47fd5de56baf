// One request/reply step (send_frame + await_reply) against the emulator over veth: through the
// link helper as the front ends run it, with the capture opened in this process as the link
// first did (the helper's cost is the difference), and with a plain blocking capture.
// Needs root: it makes its own namespaces.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <vector>

#include "bench/bench_figures.h"
#include "bench/bench_network.h"
#include "link/adapter_access.h"
#include "link/adapter_selection.h"
#include "link/capture_handle.h"
#include "link/frame_exchange.h"
#include "link/link_frame.h"
#include "link/mac_text.h"
#include "link/pcap_adapter_access.h"
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
    // enter_beside_bridge opened the capture through the link helper, as every front end
    // opens it.
    round_trips(own, 50); // warm-up
    const auto helper_samples = round_trips(own, 1000);
    print("through the link helper:", helper_samples);

    // In this process, as before the helper.
    auto helper_access = replace_adapter_access(make_pcap_adapter_access());
    if (reopen_adapter("02-00-00-00-01-01") != 0 || !capture_handle) {
      std::printf("cannot open the capture on eth0 in this process\n");
      return 1;
    }
    round_trips(own, 50);
    const auto local_samples = round_trips(own, 1000);
    print("capture in this process (immediate mode, poll):", local_samples);

    CaptureOpenError error;
    capture_handle = PcapCapture::open_blocking("eth0", &error);
    if (!capture_handle) {
      std::printf("pcap_open_live failed: %s\n", error.text.c_str());
      return 1;
    }
    const auto blocking_samples = round_trips(own, 8);
    print("blocking capture (pcap_open_live 65536/1/1000):", blocking_samples);
    capture_handle.reset();
    replace_adapter_access(std::move(helper_access));

    const Figures helper = figures_of(helper_samples);
    const double local_median = figures_of(local_samples).median;
    const double blocking_median = figures_of(blocking_samples).median;
    const bool all_answered =
        std::find(helper_samples.begin(), helper_samples.end(), -1.0) == helper_samples.end();
    print_row("one step through the link helper over veth, median",
              format("%.3f ms", helper.median), "< 0.2 ms",
              format("%.1fx in process", helper.median / local_median),
              helper.median < 0.2 && all_answered);
    print_row("one step through the link helper over veth, slowest of 1000",
              format("%.3f ms", helper.max), "< 2 ms",
              format("%.1fx in process", helper.max / figures_of(local_samples).max),
              helper.max < 2.0 && all_answered);
    print_peer_row("one step, capture in this process (before the helper), median",
                   format("%.3f ms", local_median),
                   format("1/%.0f of a blocking capture", blocking_median / local_median));
    print_peer_row("one step, blocking capture pcap_open_live(..., 1000), median",
                   format("%.1f ms", blocking_median),
                   format("%.0fx through the helper", blocking_median / helper.median));
  } catch (const std::exception& failure) {
    std::printf("link_round_trip_bench failed: %s\n", failure.what());
    return 1;
  }
  return 0;
}
