// find_usable_adapters with three wired veths, product timings: at start-up, and again before
// each search until a bridge has answered. Needs root: it makes its own
// namespaces.
#include <cstdio>
#include <exception>
#include <vector>

#include "bench/bench_figures.h"
#include "bench/bench_network.h"
#include "link/adapter_selection.h"
#include "link/capture_handle.h"
#include "link/frame_exchange.h"
#include "link/link_timing.h"
#include "link/mac_text.h"
#include "tests/netns/testnet.h"

int main() {
  if (skipped_without_namespaces("adapter_search_bench"))
    return 0;
  try {
    netns::TestNet net;
    const auto wizard = net.add_namespace("wiz");
    const auto bridge = net.add_namespace("br");
    for (int i = 0; i < 3; ++i)
      net.add_veth(wizard, "eth" + std::to_string(i), "02:00:00:00:01:0" + std::to_string(i + 1),
                   bridge, "br" + std::to_string(i), "-");
    net.enter(wizard);

    std::vector<double> samples;
    int listed = 0;
    for (int run = 0; run < 10; ++run) {
      char list[HOST_ADAPTER_LIST_SIZE] = {};
      const auto start = std::chrono::steady_clock::now();
      const int result = find_usable_adapters(list);
      samples.push_back(milliseconds_since(start));
      listed = result == 0 ? mac_list_count(list) : 0;
    }
    capture_handle.reset();
    const Figures figures = figures_of(samples);
    std::printf("find_usable_adapters, 3 wired veths (+ lo and pseudo-devices), %zu runs:\n",
                samples.size());
    std::printf("  median %.2f ms  p90 %.2f ms  max %.2f ms  adapters listed %d\n", figures.median,
                figures.p90, figures.max, listed);
    std::printf("  probe wait bound per adapter %lld ms\n",
                static_cast<long long>(link_timing().adapter_probe_wait.count()));
    const double bound_ms = 3.0 * static_cast<double>(link_timing().adapter_probe_wait.count());
    print_row("find_usable_adapters, 3 wired veths, slowest of 10", format("%.1f ms", figures.max),
              "< 500 ms", format("%.3fx three probe waits", figures.max / bound_ms),
              figures.max < 500 && listed == 3);
    // Until a bridge has answered, every search of the device list chooses the adapters again.
    const double window_ms =
        static_cast<double>((link_timing().tick_period * (DISCOVERY_TICK_LIMIT + 1)).count());
    print_row("choosing the adapters again before a search, 3 wired veths, median",
              format("%.1f ms", figures.median), "< 50 ms added to a search",
              format("%.4fx the search's quiet window", figures.median / window_ms),
              figures.median < 50 && listed == 3);
  } catch (const std::exception& failure) {
    std::printf("adapter_search_bench failed: %s\n", failure.what());
    return 1;
  }
  return 0;
}
