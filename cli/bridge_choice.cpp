#include "cli/bridge_choice.h"

#include <algorithm>
#include <cstdio>

#include "cli/exit_status.h"
#include "link/link_timing.h"

namespace {

BridgeChoice failed(int status, const char* message) {
  if (message)
    std::fprintf(stderr, "qbr20g-cli: %s\n", message);
  BridgeChoice choice;
  choice.status = status;
  return choice;
}

} // namespace

BridgeChoice choose_bridges(const CliOptions& options, bool several, ProgressLine& progress) {
  BridgeChoice choice;
  std::vector<CliAdapter> adapters;
  choice.status = find_cli_adapters(options.adapter, &adapters);
  if (choice.status != EXIT_DONE)
    return choice;

  // Named bridges on a named adapter: no discovery at all.
  if (!options.adapter.empty() && !options.bridges.empty()) {
    for (const std::string& mac : options.bridges)
      choice.bridges.push_back({mac, adapters.front()});
    return choice;
  }

  // Named bridges, or all of them, may sit on any adapter; one bridge is looked for as the
  // wizard looks, on the first adapter where any answers.
  std::vector<CliBridge> found;
  const bool every_adapter = options.all || !options.bridges.empty();
  discover_bridges(adapters, every_adapter, progress, &found);
  if (link_stop_requested())
    return failed(EXIT_INTERRUPTED, nullptr);
  if (found.empty())
    return failed(EXIT_NO_BRIDGE, NO_BRIDGE_ANSWERED);

  if (!options.bridges.empty()) {
    for (const std::string& mac : options.bridges) {
      const auto bridge = std::find_if(found.begin(), found.end(), [&](const CliBridge& candidate) {
        return candidate.mac == mac;
      });
      if (bridge != found.end())
        choice.bridges.push_back(*bridge);
      else
        choice.silent.push_back(mac);
    }
    if (choice.bridges.empty() && !several) {
      std::fprintf(stderr, "qbr20g-cli: bridge %s did not answer\n", options.bridges[0].c_str());
      choice.status = EXIT_NO_BRIDGE;
    } else if (choice.bridges.empty()) {
      return failed(EXIT_NO_BRIDGE, "none of the bridges named answered");
    }
    return choice;
  }
  if (options.all) {
    choice.bridges = found;
    return choice;
  }
  if (found.size() > 1) {
    std::fprintf(stderr, "qbr20g-cli: %zu bridges answered; choose one with --bridge:\n",
                 found.size());
    for (const CliBridge& bridge : found)
      std::fprintf(stderr, "  %s on %s\n", bridge.mac.c_str(), bridge.adapter.name.c_str());
    return failed(EXIT_USAGE, nullptr);
  }
  choice.bridges = found;
  return choice;
}
