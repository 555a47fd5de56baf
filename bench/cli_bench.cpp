// qbr20g-cli as a process, against emulated bridges over veth: `configure` of a named bridge on
// a named adapter (no discovery, no survey) from process start to exit, against the wire's own
// part of it (six round trips); and a batch over ten bridges against the discovery's own floor
// (its quiet window and a pause per bridge found). Needs root: it makes its own namespaces.
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
constexpr int BATCH_BRIDGES = 10;
constexpr double CONFIGURE_TARGET_MS = 50;
constexpr double BATCH_SLACK_MS = 100;

// Runs qbr20g-cli with `arguments` and the secrets on its standard input; the time from fork
// to its end in ms, or -1 when it failed.
double run_cli(const std::vector<std::string>& arguments, const std::string& secrets) {
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
  std::snprintf(text, sizeof text, "02:00:00:00:0b:%02x", i + 1);
  return text;
}

} // namespace

int main() {
  if (skipped_without_namespaces("cli_bench"))
    return 0;
  try {
    netns::TestNet net;
    const auto wizard = net.add_namespace("wiz");
    const auto bridges = net.add_namespace("br");
    net.add_veth(wizard, "eth0", "02:00:00:00:0a:01", bridges, "br0", "-");
    for (int i = 0; i < BATCH_BRIDGES; ++i)
      net.start_emulator(bridges, "br0", "mac = " + bridge_mac(i) + "\n");
    net.enter(wizard);

    const std::string secrets = "passphrase=twelve chars\n";
    std::vector<double> configure;
    for (int run = 0; run < CONFIGURE_RUNS + 3; ++run) {
      const double ms =
          run_cli({"configure", "--adapter", "eth0", "--bridge", bridge_mac(0), "--ssid", "Office",
                   "--security", "wpa2-psk", "--secrets-file", "-"},
                  secrets);
      if (ms < 0) {
        std::printf("cli_bench: a configure run failed\n");
        return 1;
      }
      if (run >= 3) // the first runs warm the page cache
        configure.push_back(ms);
    }
    const Figures single = figures_of(configure);
    std::printf("configure --adapter --bridge --security wpa2-psk, process start to exit, %d runs: "
                "median %.1f ms, p90 %.1f ms, max %.1f ms\n",
                CONFIGURE_RUNS, single.median, single.p90, single.max);

    const double batch = run_cli(
        {"configure", "--all", "--ssid", "Office", "--security", "wpa2-psk", "--secrets-file", "-"},
        secrets);
    if (batch < 0) {
      std::printf("cli_bench: the batch failed\n");
      return 1;
    }
    const auto& timing = link_timing();
    // The discovery waits out its quiet window after the last reply (the tick rule: at most
    // DISCOVERY_TICK_LIMIT + 1 periods) and pauses after each bridge's unicast probe.
    const double floor_ms =
        std::chrono::duration<double, std::milli>(timing.tick_period * (DISCOVERY_TICK_LIMIT + 1) +
                                                  timing.unicast_probe_pause * BATCH_BRIDGES)
            .count();
    std::printf("configure --all over %d bridges, process start to exit: %.0f ms (discovery's "
                "floor %.0f ms)\n",
                BATCH_BRIDGES, batch, floor_ms);

    print_row("qbr20g-cli configure, named adapter and bridge, start to exit, median",
              format("%.1f ms", single.median), "< 50 ms",
              format("%.1fx the 50 ms target", single.median / CONFIGURE_TARGET_MS),
              single.median < CONFIGURE_TARGET_MS);
    print_row("qbr20g-cli configure --all over 10 bridges, start to exit", format("%.0f ms", batch),
              "< discovery floor + 100 ms", format("floor + %.0f ms", batch - floor_ms),
              batch < floor_ms + BATCH_SLACK_MS);
  } catch (const std::exception& failure) {
    std::printf("cli_bench failed: %s\n", failure.what());
    return 1;
  }
  return 0;
}
