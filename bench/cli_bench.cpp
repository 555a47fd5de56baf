// qbr20g-cli as a process, against emulated bridges over veth, start to exit: `configure` of a
// named bridge on a named adapter (no discovery, no survey); a batch over ten bridges on one
// adapter and over fifty on two, against the discovery's floor (one quiet window and one pause
// for all); a bridge named without its adapter, which answers at once, against the one pause;
// and an inventory (`show --all`) of ten bridges against the scan pause and the discovery.
// Needs root: it makes its own namespaces.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "bench/bench_figures.h"
#include "bench/bench_network.h"
#include "device/discovery.h"
#include "link/frame_exchange.h"
#include "link/link_timing.h"
#include "tests/netns/testnet.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int CONFIGURE_RUNS = 30;
constexpr int SMALL_FLEET = 10;
constexpr int LARGE_FLEET = 50; // on two adapters
constexpr int NAMED_RUNS = 5;
constexpr double CONFIGURE_TARGET_MS = 50;
constexpr double SMALL_FLEET_TARGET_MS = 5500;
constexpr double LARGE_FLEET_TARGET_MS = 6000;
constexpr double NAMED_TARGET_MS = 1300;
constexpr double SHOW_SLACK_MS = 500;

// Runs qbr20g-cli with `arguments` and the secrets on its standard input; the time from fork
// to its end in ms, or -1 when it failed.
double run_cli(const std::vector<std::string>& arguments, const std::string& secrets = "") {
  int input[2];
  if (pipe(input) != 0)
    return -1;
  const auto start = Clock::now();
  const pid_t child = fork();
  if (child == 0) {
    dup2(input[0], STDIN_FILENO);
    close(input[0]);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, STDOUT_FILENO);
    close(input[1]);
    std::vector<std::string> argv = {QBR20G_CLI_PATH, "--quiet"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    netns::exec_argv(argv);
  }
  close(input[0]);
  if (write(input[1], secrets.data(), secrets.size()) < 0) {
  }
  close(input[1]);
  int status = 0;
  waitpid(child, &status, 0);
  const double elapsed = milliseconds_since(start);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? elapsed : -1;
}

std::string bridge_mac(int i) {
  char text[18];
  std::snprintf(text, sizeof text, "02:00:00:00:%02x:%02x", 0x0b + i / 200, i % 200 + 1);
  return text;
}

double ms(std::chrono::milliseconds duration) { return static_cast<double>(duration.count()); }

struct Fleet {
  netns::TestNet net;
  std::string wizard;
};

// `on_first` bridges on eth0's wire, `on_second` more on eth1's (when not zero).
void make_fleet(Fleet& fleet, int on_first, int on_second) {
  fleet.wizard = fleet.net.add_namespace("wiz");
  const auto bridges = fleet.net.add_namespace("br");
  fleet.net.add_veth(fleet.wizard, "eth0", "02:00:00:00:0a:01", bridges, "br0", "-");
  if (on_second > 0)
    fleet.net.add_veth(fleet.wizard, "eth1", "02:00:00:00:0a:02", bridges, "br1", "-");
  for (int i = 0; i < on_first + on_second; ++i)
    fleet.net.start_emulator(bridges, i < on_first ? "br0" : "br1",
                             "mac = " + bridge_mac(i) +
                                 "\nssid = Previous\nsecmode = 3\n"
                                 "network = Office|a4:2b:b0:00:00:03|11|BG|3|70\n");
  fleet.net.enter(fleet.wizard);
}

bool failed(const char* what, double ms_taken) {
  if (ms_taken >= 0)
    return false;
  std::printf("cli_bench: %s failed\n", what);
  return true;
}

} // namespace

int main() {
  if (skipped_without_namespaces("cli_bench"))
    return 0;
  try {
    const auto& timing = link_timing();
    // One quiet window (the tick rule: at most DISCOVERY_TICK_LIMIT + 1 periods after the last
    // reply) and one pause after the unicast probes, whatever the number of bridges.
    const double discovery_floor =
        ms(timing.tick_period * (DISCOVERY_TICK_LIMIT + 1) + timing.unicast_probe_pause);
    const std::string secrets = "passphrase=twelve chars\n";
    const std::vector<std::string> typed = {"--ssid",   "Office",         "--security",
                                            "wpa2-psk", "--secrets-file", "-"};
    const auto with = [&](std::vector<std::string> arguments) {
      arguments.insert(arguments.end(), typed.begin(), typed.end());
      return arguments;
    };

    double single_median = 0;
    double small_fleet = 0;
    double show_all = 0;
    double small_list = 0;
    {
      Fleet fleet;
      make_fleet(fleet, SMALL_FLEET, 0);
      std::vector<double> configure;
      for (int run = 0; run < CONFIGURE_RUNS + 3; ++run) {
        const double taken =
            run_cli(with({"configure", "--adapter", "eth0", "--bridge", bridge_mac(0)}), secrets);
        if (failed("a configure run", taken))
          return 1;
        if (run >= 3) // the first runs warm the page cache
          configure.push_back(taken);
      }
      const Figures single = figures_of(configure);
      single_median = single.median;
      std::printf("configure --adapter --bridge --security wpa2-psk, process start to exit, %d "
                  "runs: median %.1f ms, p90 %.1f ms, max %.1f ms\n",
                  CONFIGURE_RUNS, single.median, single.p90, single.max);
      small_fleet = run_cli(with({"configure", "--all"}), secrets);
      small_list = run_cli({"list"});
      show_all = run_cli({"show", "--all"});
      if (failed("the batch over ten bridges", small_fleet) || failed("list", small_list) ||
          failed("show --all", show_all))
        return 1;
      std::printf("configure --all over %d bridges: %.0f ms; list: %.0f ms; show --all: %.0f ms "
                  "(discovery's floor %.0f ms)\n",
                  SMALL_FLEET, small_fleet, small_list, show_all, discovery_floor);
    }

    double large_fleet = 0;
    std::vector<double> named;
    {
      Fleet fleet;
      make_fleet(fleet, LARGE_FLEET / 2, LARGE_FLEET / 2);
      large_fleet = run_cli(with({"configure", "--all"}), secrets);
      if (failed("the batch over fifty bridges", large_fleet))
        return 1;
      for (int run = 0; run < NAMED_RUNS; ++run) {
        const double taken =
            run_cli(with({"configure", "--bridge", bridge_mac(LARGE_FLEET - 1)}), secrets);
        if (failed("configure --bridge without --adapter", taken))
          return 1;
        named.push_back(taken);
      }
      std::printf("configure --all over %d bridges on two adapters: %.0f ms; --bridge without "
                  "--adapter, median of %d: %.0f ms\n",
                  LARGE_FLEET, large_fleet, NAMED_RUNS, figures_of(named).median);
    }
    const double named_median = figures_of(named).median;
    const double pause = ms(timing.unicast_probe_pause);
    const double show_target = ms(timing.survey_scan_pause) + small_list + SHOW_SLACK_MS;

    print_row("qbr20g-cli configure, named adapter and bridge, start to exit, median",
              format("%.1f ms", single_median), "< 50 ms",
              format("%.2fx the 50 ms target", single_median / CONFIGURE_TARGET_MS),
              single_median < CONFIGURE_TARGET_MS);
    print_row("qbr20g-cli configure --all, 10 bridges on one adapter, start to exit",
              format("%.0f ms", small_fleet), "<= 5500 ms",
              format("%.2fx the discovery's floor", small_fleet / discovery_floor),
              small_fleet <= SMALL_FLEET_TARGET_MS);
    print_row("qbr20g-cli configure --all, 50 bridges on two adapters, start to exit",
              format("%.0f ms", large_fleet), "<= 6000 ms",
              format("%.2fx the discovery's floor", large_fleet / discovery_floor),
              large_fleet <= LARGE_FLEET_TARGET_MS);
    print_row("qbr20g-cli configure --bridge, no --adapter, two adapters, median",
              format("%.0f ms", named_median), "<= 1300 ms",
              format("%.2fx the 1000 ms pause", named_median / pause),
              named_median <= NAMED_TARGET_MS);
    print_row("qbr20g-cli show --all, 10 bridges, start to exit", format("%.0f ms", show_all),
              format("<= scan pause + discovery + 500 = %.0f ms", show_target),
              format("%.2fx scan pause + discovery",
                     show_all / (ms(timing.survey_scan_pause) + small_list)),
              show_all <= show_target);
  } catch (const std::exception& failure) {
    std::printf("cli_bench failed: %s\n", failure.what());
    return 1;
  }
  return 0;
}
