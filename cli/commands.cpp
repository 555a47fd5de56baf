#include "cli/commands.h"

#include <algorithm>
#include <atomic>

#include "cli/bridge_targets.h"
#include "cli/bridge_work.h"
#include "cli/progress_line.h"
#include "cli/rows.h"
#include "device/security_modes.h"
#include "link/link_timing.h"
#include "link/translation.h"

namespace {

std::atomic<bool> work_begun{false};

bool interrupted() { return link_wind_down_requested() || link_stop_requested(); }

std::vector<CliBridge> sorted(std::vector<CliBridge> bridges) {
  std::sort(bridges.begin(), bridges.end(), bridge_order);
  return bridges;
}

CommandResult run_adapters(const CliOptions&) {
  CommandResult result;
  std::vector<CliAdapter> adapters;
  if (!find_cli_adapters("", &adapters, &result))
    return result;
  std::vector<AdapterRow> rows;
  for (const CliAdapter& adapter : adapters)
    rows.push_back({adapter});
  result.table = make_table(ADAPTER_FIELDS, rows);
  return result;
}

CommandResult run_list(const CliOptions& options) {
  CommandResult result;
  mark_link_work_begun();
  std::vector<CliAdapter> adapters;
  if (!find_cli_adapters(options.adapter, &adapters, &result))
    return result;
  ProgressLine progress(options.quiet);
  const std::vector<CliBridge> bridges = discover_fleet(adapters, {}, progress);
  if (interrupted())
    return result.fail(EXIT_INTERRUPTED, _("interrupted while looking for bridges"));
  result.table = make_table(BRIDGE_FIELDS, sorted(bridges));
  if (bridges.empty())
    result.fail(EXIT_NO_BRIDGE, _(NO_BRIDGE_ANSWERED));
  return result;
}

// The bridges that survey and show work on, each surveyed at once with the others. Bridges that
// did not answer the discovery are in `targets.silent`.
struct Surveyed {
  bool ok = false;
  CommandResult result;
  Targets targets;
  std::vector<BridgeWork> surveys;
};

Surveyed survey_targets(const CliOptions& options) {
  Surveyed surveyed;
  for (const std::string& mac : options.bridges)
    if (!refuse_non_bridge(mac, "--bridge", &surveyed.result))
      return surveyed;
  mark_link_work_begun();
  TargetRequest request;
  request.adapter = options.adapter;
  request.all = options.all;
  for (const std::string& mac : options.bridges)
    request.named.push_back({mac, ""});
  ProgressLine progress(options.quiet);
  Targets& targets = surveyed.targets;
  if (!choose_targets(request, progress, &targets, &surveyed.result))
    return surveyed;
  surveyed.surveys.resize(targets.bridges.size());
  // TRANSLATORS: a progress line on the terminal, followed by "  12 s left".
  progress.Show(
      targets.bridges.size() == 1
          ? translation::filled(_("Bridge %1 is scanning the air"), {targets.bridges.front().mac})
          : translation::filled(P_("%1 bridge is scanning the air",
                                   "%1 bridges are scanning the air", targets.bridges.size()),
                                {std::to_string(targets.bridges.size())}),
      link_timing().survey_scan_pause + link_timing().tick_period);
  run_on_bridges(targets.bridges.size(), options.parallel, [&](std::size_t i) {
    surveyed.surveys[i] = survey_on_worker(targets.bridges[i]);
  });
  progress.Clear();
  surveyed.ok = true;
  return surveyed;
}

// The exit status of a batch of surveys: 130 after Ctrl-C, 4 when no bridge answered at all,
// 1 when one did not, else 0.
void survey_status(const Targets& targets, const std::vector<BridgeWork>& surveys,
                   CommandResult* result) {
  for (const BridgeWork& work : surveys)
    if (work.end != WorkEnd::Done)
      result->status = EXIT_NOT_CONFIRMED;
  if (!targets.silent.empty())
    result->status = EXIT_NOT_CONFIRMED;
  if (targets.bridges.empty())
    result->fail(EXIT_NO_BRIDGE, _(NO_BRIDGE_ANSWERED));
  if (interrupted())
    result->status = EXIT_INTERRUPTED;
}

CommandResult run_survey(const CliOptions& options) {
  Surveyed surveyed = survey_targets(options);
  CommandResult& result = surveyed.result;
  if (!surveyed.ok)
    return result;
  std::vector<NetworkRow> rows;
  for (std::size_t i = 0; i < surveyed.surveys.size(); ++i) {
    const CliBridge& bridge = surveyed.targets.bridges[i];
    const BridgeWork& work = surveyed.surveys[i];
    if (work.end != WorkEnd::Done)
      result.errors.push_back(translation::filled(
          _("qbr20g-cli: bridge %1: %2"),
          {bridge.mac, work.message.empty() ? _("not surveyed") : work.message.shown}));
    for (const NetworkEntry& network : work.networks)
      rows.push_back({bridge, network});
  }
  for (const std::string& mac : surveyed.targets.silent)
    result.errors.push_back(translation::filled(_("qbr20g-cli: bridge %1 did not answer"), {mac}));
  result.table = make_table(NETWORK_FIELDS, rows);
  survey_status(surveyed.targets, surveyed.surveys, &result);
  return result;
}

CommandResult run_show(const CliOptions& options) {
  Surveyed surveyed = survey_targets(options);
  CommandResult& result = surveyed.result;
  if (!surveyed.ok)
    return result;
  std::vector<ShowRow> rows;
  for (std::size_t i = 0; i < surveyed.surveys.size(); ++i) {
    const BridgeWork& work = surveyed.surveys[i];
    rows.push_back({surveyed.targets.bridges[i], result_of(work.end, RowResult::Shown),
                    work.current, work.message});
  }
  for (const std::string& mac : surveyed.targets.silent)
    rows.push_back({{mac, {}}, RowResult::Silent, {}, row_message(N_("did not answer"))});
  std::sort(rows.begin(), rows.end(),
            [](const ShowRow& a, const ShowRow& b) { return bridge_order(a.bridge, b.bridge); });
  result.table = make_table(SHOW_FIELDS, rows);
  survey_status(surveyed.targets, surveyed.surveys, &result);
  return result;
}

} // namespace

void mark_link_work_begun() { work_begun = true; }

bool link_work_begun() { return work_begun; }

const std::vector<Command>& command_table() {
  static const std::vector<Command> table = {
      // TRANSLATORS: what each command does, in the list of commands of qbr20g-cli --help.
      {"adapters", N_("the wired adapters that can reach a bridge"), [](CLI::App&, CliOptions&) {},
       run_adapters},
      {"list", N_("the bridges that answer, on every usable adapter at once"), add_list_options,
       run_list},
      {"survey", N_("the wireless networks that bridges hear"), add_bridge_options, run_survey},
      {"show", N_("bridges' present network and security"), add_bridge_options, run_show},
      {"configure", N_("write a network's settings into bridges, or plan it (--dry-run)"),
       add_configure_options, run_configure},
  };
  return table;
}
