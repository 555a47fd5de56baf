// The configuration write (six steps), the site survey and discovery against the emulator over
// veth, with the product's timings: their times against the protocol's own minimum (one
// request/reply round trip per step, the scan pause, the tick rule), and the CPU they use while
// they wait. Needs root: it makes its own namespaces.
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <exception>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "bench/bench_figures.h"
#include "bench/bench_network.h"
#include "device/config_write.h"
#include "device/discovery.h"
#include "device/site_survey.h"
#include "device/wireless_records.h"
#include "link/adapter_selection.h"
#include "link/capture_handle.h"
#include "link/frame_exchange.h"
#include "link/link_frame.h"
#include "link/link_ticks.h"
#include "link/link_timing.h"
#include "link/mac_text.h"
#include "tests/netns/testnet.h"

namespace {

const char* const WIZARD_TEXT = "02-00-00-00-01-01";
const char* const BRIDGE_TEXT = "02-00-00-00-00-b1";
constexpr int WRITE_RUNS = 200;
constexpr int SURVEY_RUNS = 3;    // each holds the 9 s scan pause
constexpr int DISCOVERY_RUNS = 3; // each waits out the tick rule, about 5 s
constexpr double TARGET_MS = 20.0;
constexpr double DISCOVERY_SLACK_MS = 500.0;
constexpr double CPU_SHARE_TARGET = 0.02;

// A bridge that hears twenty networks, as a busy neighbourhood gives.
std::string scenario() {
  std::string text = "mac = 02:00:00:00:00:b1\nssid = Office\nsecmode = 3\n";
  for (int i = 0; i < 20; ++i)
    text += "network = Neighbour-" + std::to_string(i) +
            "|00:11:22:33:44:" + std::to_string(10 + i) + "|" + std::to_string(1 + i % 13) +
            "|BG|" + std::to_string(i % 4) + "|" + std::to_string(30 + i) + "\n";
  return text;
}

void print(const char* what, const std::vector<double>& samples) {
  const Figures figures = figures_of(samples);
  std::printf("%-44s median %9.3f ms  p90 %9.3f ms  max %9.3f ms  (%zu runs)\n", what,
              figures.median, figures.p90, figures.max, samples.size());
}

// Times of `count` calls of `run` in ms; false as soon as one fails.
template <typename Run> bool time_runs(int count, std::vector<double>* samples, Run run) {
  for (int i = 0; i < count; ++i) {
    const auto start = std::chrono::steady_clock::now();
    if (run() != 0)
      return false;
    samples->push_back(milliseconds_since(start));
  }
  return true;
}

} // namespace

// Every figure of the device operations, in `net`.
int measure(netns::TestNet& net) {
  enter_beside_bridge(net, "02:00:00:00:01:01", scenario());
  std::uint8_t own[MAC_SIZE];
  std::uint8_t peer[MAC_SIZE];
  mac_text_to_bytes(WIZARD_TEXT, own);
  mac_text_to_bytes(BRIDGE_TEXT, peer);
  std::uint8_t buffer[MAX_FRAME_SIZE];

  std::vector<double> round_trips;
  const auto round_trip = [&] {
    return send_and_await(build_begin_request, buffer, buffer, own, peer, RSP_BEGIN,
                          STEP_TICK_LIMIT) > 0
               ? 0
               : -1;
  };
  time_runs(20, &round_trips, round_trip); // warm-up
  round_trips.clear();
  if (!time_runs(WRITE_RUNS, &round_trips, round_trip)) {
    std::printf("a begin step went unanswered\n");
    return 1;
  }

  store_ssid(WirelessSettings, "Neighbour-7");
  store_text(WirelessSettings.security, "WPA2-PSK");
  store_text(WirelessKeys.passphrase, "correct horse battery staple");
  const auto write = [&] { return write_configuration(buffer, buffer, WIZARD_TEXT, BRIDGE_TEXT); };
  std::vector<double> writes;
  time_runs(5, &writes, write); // warm-up
  writes.clear();
  if (!time_runs(WRITE_RUNS, &writes, write)) {
    std::printf("write_configuration failed\n");
    return 1;
  }

  const double pause_ms =
      std::chrono::duration<double, std::milli>(link_timing().survey_scan_pause).count();
  std::vector<double> surveys;
  int count = 0;
  const auto survey = [&] {
    return run_site_survey(buffer, buffer, WIZARD_TEXT, BRIDGE_TEXT, &count);
  };
  std::printf("running %d site surveys with the %.0f ms scan pause ...\n", SURVEY_RUNS, pause_ms);
  std::fflush(stdout);
  const double cpu_before_surveys = cpu_milliseconds();
  if (!time_runs(SURVEY_RUNS, &surveys, survey) || count != 20) {
    std::printf("run_site_survey failed (%d networks)\n", count);
    return 1;
  }
  const double cpu_after_surveys = cpu_milliseconds();
  std::vector<double> beyond_pause;
  for (const double total : surveys)
    beyond_pause.push_back(total - pause_ms);
  double survey_wall = 0;
  for (const double total : surveys)
    survey_wall += total;
  const double survey_cpu = cpu_after_surveys - cpu_before_surveys;

  // Discovery: one bridge on one adapter, the page timer started just before it, as the
  // search worker starts it. The reply loop ends with a wait whose count passes the limit at
  // its (limit + 1)-th tick, so the shortest discovery is that many ticks and the pause
  // after the unicast probe.
  const double tick_ms =
      std::chrono::duration<double, std::milli>(link_timing().tick_period).count();
  const double probe_pause_ms =
      std::chrono::duration<double, std::milli>(link_timing().unicast_probe_pause).count();
  const double discovery_minimum = (DISCOVERY_TICK_LIMIT + 1) * tick_ms + probe_pause_ms;
  std::vector<double> discoveries;
  double discovery_cpu = 0;
  std::printf("running %d discoveries with the %.0f ms tick ...\n", DISCOVERY_RUNS, tick_ms);
  std::fflush(stdout);
  for (int run = 0; run < DISCOVERY_RUNS; ++run) {
    char host_macs[HOST_ADAPTER_LIST_SIZE] = {};
    char devices[DEVICE_LIST_SIZE] = {};
    std::strcpy(host_macs, WIZARD_TEXT);
    const double cpu_before = cpu_milliseconds();
    const auto start = std::chrono::steady_clock::now();
    int found = 0;
    {
      LinkTicks ticks;
      found = discover_devices(buffer, buffer, host_macs, devices);
    }
    discoveries.push_back(milliseconds_since(start));
    discovery_cpu += cpu_milliseconds() - cpu_before;
    if (found != 0 || std::strcmp(devices, BRIDGE_TEXT) != 0) {
      std::printf("discovery did not find the bridge alone: '%s'\n", devices);
      return 1;
    }
  }
  double discovery_wall = 0;
  for (const double total : discoveries)
    discovery_wall += total;

  print("one step (CMD_BEGIN round trip):", round_trips);
  print("write_configuration, six steps:", writes);
  print("run_site_survey, whole:", surveys);
  print("run_site_survey, beyond the scan pause:", beyond_pause);
  print("discover_devices, one bridge:", discoveries);
  const double step = figures_of(round_trips).median;
  const double write_median = figures_of(writes).median;
  const double survey_rest = figures_of(beyond_pause).median;
  const double discovery_median = figures_of(discoveries).median;
  print_row("write_configuration (six steps), median", format("%.2f ms", write_median), "< 20 ms",
            format("%.2fx six round trips", write_median / (6 * step)), write_median < TARGET_MS);
  print_row(
      "run_site_survey beyond its 9000 ms pause, median", format("%.2f ms", survey_rest), "< 20 ms",
      format("%.4fx pause + six round trips", (pause_ms + survey_rest) / (pause_ms + 6 * step)),
      survey_rest < TARGET_MS);
  print_row("discover_devices, one bridge on one adapter, median",
            format("%.0f ms", discovery_median),
            format("< %.0f ms", discovery_minimum + DISCOVERY_SLACK_MS),
            format("%.3fx four ticks + 1000 ms pause", discovery_median / discovery_minimum),
            discovery_median < discovery_minimum + DISCOVERY_SLACK_MS);
  print_row("CPU during site surveys (9 s pause each)",
            format("%.2f%% of a core", 100 * survey_cpu / survey_wall), "< 2%",
            format("%.0f ms CPU", survey_cpu) + format(" in %.0f ms", survey_wall),
            survey_cpu < CPU_SHARE_TARGET * survey_wall);
  print_row("CPU during discoveries (tick waits)",
            format("%.2f%% of a core", 100 * discovery_cpu / discovery_wall), "< 2%",
            format("%.0f ms CPU", discovery_cpu) + format(" in %.0f ms", discovery_wall),
            discovery_cpu < CPU_SHARE_TARGET * discovery_wall);
  return 0;
}

int main() {
  if (skipped_without_namespaces("device_ops_bench"))
    return 0;
  try {
    netns::TestNet net;
    return measure(net);
  } catch (const std::exception& failure) {
    std::printf("device_ops_bench failed: %s\n", failure.what());
    return 1;
  }
}
