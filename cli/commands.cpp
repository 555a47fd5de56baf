#include "cli/commands.h"

#include <cstdio>
#include <string>

#include "cli/bridge_choice.h"
#include "cli/bridge_session.h"
#include "cli/bridge_survey.h"
#include "cli/cli_output.h"
#include "cli/exit_status.h"
#include "cli/progress_line.h"
#include "device/display_text.h"
#include "device/survey_report.h"
#include "device/wireless_records.h"
#include "link/link_timing.h"

namespace {

// The one bridge that survey and show work on, surveyed: `NetworkTable` and `CurrentNetwork`
// hold its report.
int survey_chosen_bridge(const CliOptions& options, CliBridge* bridge, int* count) {
  ProgressLine progress(options.quiet);
  const BridgeChoice choice = choose_bridges(options, false, progress);
  if (choice.status != EXIT_DONE)
    return choice.status;
  *bridge = choice.bridges.front();
  return survey_bridge(*bridge, progress, count);
}

} // namespace

int run_adapters(const CliOptions& options) {
  std::vector<CliAdapter> adapters;
  const int status = find_cli_adapters("", &adapters);
  if (status != EXIT_DONE)
    return status;
  if (options.json) {
    JsonDocument document = JsonDocument::array();
    for (const CliAdapter& adapter : adapters)
      document.push_back({{"name", adapter.name}, {"mac", adapter.mac}});
    print_json(document);
    return EXIT_DONE;
  }
  std::vector<std::vector<std::string>> rows;
  for (const CliAdapter& adapter : adapters)
    rows.push_back({terminal_text(adapter.name), adapter.mac});
  print_table({"ADAPTER", "MAC"}, rows);
  return EXIT_DONE;
}

int run_list(const CliOptions& options) {
  std::vector<CliAdapter> adapters;
  int status = find_cli_adapters(options.adapter, &adapters);
  if (status != EXIT_DONE)
    return status;
  ProgressLine progress(options.quiet);
  std::vector<CliBridge> bridges;
  discover_bridges(adapters, true, progress, &bridges);
  progress.Clear();
  if (link_stop_requested())
    return EXIT_INTERRUPTED;
  if (options.json) {
    JsonDocument document = JsonDocument::array();
    for (const CliBridge& bridge : bridges)
      document.push_back({{"bridge", bridge.mac},
                          {"adapter", bridge.adapter.name},
                          {"adapter_mac", bridge.adapter.mac}});
    print_json(document);
  } else if (!bridges.empty()) {
    std::vector<std::vector<std::string>> rows;
    for (const CliBridge& bridge : bridges)
      rows.push_back({bridge.mac, terminal_text(bridge.adapter.name), bridge.adapter.mac});
    print_table({"BRIDGE", "ADAPTER", "ADAPTER MAC"}, rows);
  }
  if (bridges.empty()) {
    if (!options.quiet)
      std::fprintf(stderr, "qbr20g-cli: %s\n", NO_BRIDGE_ANSWERED);
    status = EXIT_NO_BRIDGE;
  }
  return status;
}

int run_survey(const CliOptions& options) {
  CliBridge bridge;
  int count = 0;
  const int status = survey_chosen_bridge(options, &bridge, &count);
  if (status != EXIT_DONE)
    return status;

  if (options.json) {
    JsonDocument document = JsonDocument::array();
    for (int i = 0; i < count; ++i) {
      const NetworkEntry& entry = NetworkTable[i];
      const bool hidden = field_text(entry.ssid) == HIDDEN_SSID_TEXT;
      const std::string_view ssid = hidden ? std::string_view() : field_text(entry.ssid);
      document.push_back({{"ssid", display_text(ssid)},
                          {"ssid_hex", hex_text(ssid)},
                          {"hidden", hidden},
                          {"bssid", display_text(field_text(entry.mac_text))},
                          {"channel", parse_leading_int(entry.channel, sizeof entry.channel)},
                          {"signal", entry.signal},
                          {"security", display_text(field_text(entry.security))},
                          {"speed", display_text(field_text(entry.speed))}});
    }
    print_json(document);
    return EXIT_DONE;
  }
  std::vector<std::vector<std::string>> rows;
  for (int i = 0; i < count; ++i) {
    const NetworkEntry& entry = NetworkTable[i];
    rows.push_back(
        {terminal_text(field_text(entry.ssid)), terminal_text(field_text(entry.mac_text)),
         terminal_text(field_text(entry.channel)), terminal_text(field_text(entry.signal_text)),
         terminal_text(field_text(entry.security)), terminal_text(field_text(entry.speed))});
  }
  print_table({"SSID", "BSSID", "CHANNEL", "SIGNAL", "SECURITY", "SPEED"}, rows);
  return EXIT_DONE;
}

int run_show(const CliOptions& options) {
  CliBridge bridge;
  int count = 0;
  const int status = survey_chosen_bridge(options, &bridge, &count);
  if (status != EXIT_DONE)
    return status;
  const std::string_view ssid = field_text(CurrentNetwork.ssid);
  const std::string_view security = field_text(CurrentNetwork.security);
  if (options.json) {
    JsonDocument document = JsonDocument::array();
    document.push_back({{"bridge", bridge.mac},
                        {"adapter", bridge.adapter.name},
                        {"ssid", display_text(ssid)},
                        {"ssid_hex", hex_text(ssid)},
                        {"security", display_text(security)}});
    print_json(document);
    return EXIT_DONE;
  }
  print_table({"BRIDGE", "SSID", "SECURITY"},
              {{bridge.mac, terminal_text(ssid), terminal_text(security)}});
  return EXIT_DONE;
}
