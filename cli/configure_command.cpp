// configure: plan, then apply. The bridges are found, the settings for each are checked with the
// pages' own checks before any frame goes out, the present settings are read where they are
// wanted (--dry-run, --unless-same, or a network taken from the survey), and only then the new
// settings are written, into many bridges at once.
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "cli/bridge_targets.h"
#include "cli/bridge_work.h"
#include "cli/cli_options.h"
#include "cli/commands.h"
#include "cli/configure_plan.h"
#include "cli/fleet_file.h"
#include "cli/progress_line.h"
#include "cli/rows.h"
#include "device/security_modes.h"
#include "link/link_timing.h"
#include "link/translation.h"

namespace {

CommandResult usage(const std::string& message) {
  CommandResult result;
  // TRANSLATORS: below a refusal of a combination of options.
  result.fail(EXIT_USAGE, message + "\n" + _("Run with --help for more information."));
  return result;
}

std::optional<CommandResult> refused_combination(const CliOptions& options) {
  if (!options.from_file.empty()) {
    if (!options.ssid.empty() || options.security || options.all || !options.bridges.empty() ||
        options.hidden || options.key_options_given)
      return usage(_("--from gives each bridge its own settings: it takes no --ssid, "
                     "--security, --hidden, --wep-format, --key-index, --bridge or --all"));
    return std::nullopt;
  }
  const bool batch = options.all || options.bridges.size() > 1;
  if (batch && !options.security)
    return usage(_("setting up several bridges at once needs --security"));
  if (options.hidden && !options.security)
    return usage(_("a hidden network needs --security"));
  if (options.key_options_given && options.security && *options.security != SECURITY_WEP)
    return usage(_("--wep-format and --key-index are for --security wep"));
  if ((options.dry_run || options.unless_same) && !options.security && batch)
    return usage(_("--dry-run and --unless-same over several bridges need --security"));
  return std::nullopt;
}

// The settings a row will carry: SSID and security as planned.
void plan_into_row(const BridgePlan& plan, ConfigureRow* row) {
  row->ssid = plan.ssid;
  row->security = plan.security;
  row->stored_security = std::string(field_text(plan.choices.wireless_settings.security));
}

} // namespace

CommandResult run_configure(const CliOptions& options) {
  if (const auto refused = refused_combination(options))
    return *refused;
  CommandResult result;

  // Every setting is checked, and every secret read, before anything is sent.
  std::vector<BridgePlan> plans;
  if (!options.from_file.empty()) {
    if (!read_fleet_file(options.from_file, &plans, &result))
      return result;
    for (BridgePlan& plan : plans) {
      if (plan.adapter.empty())
        plan.adapter = options.adapter;
      if (!record_typed_plan(options, &plan, &result) ||
          // TRANSLATORS: %1 is where in the fleet file ("fleet.json: entry 2 (bridge ...)").
          !refuse_non_bridge(plan.bridge, translation::filled(_("%1: bridge"), {plan.where}),
                             &result))
        return result;
    }
  } else {
    BridgePlan plan;
    plan.ssid = options.ssid;
    plan.security = options.security.value_or(-1);
    plan.wep_hex = options.wep_hex;
    plan.key_index = options.key_index;
    plan.adapter = options.adapter;
    if (plan.ssid.empty())
      return result.fail(EXIT_USAGE, _("You must input the ssid!"));
    if (!refuse_hidden_placeholder(plan.ssid, "", &result))
      return result;
    if (options.security && !record_typed_plan(options, &plan, &result))
      return result;
    plans.push_back(std::move(plan));
  }
  for (const std::string& mac : options.bridges)
    if (!refuse_non_bridge(mac, "--bridge", &result))
      return result;

  mark_link_work_begun();
  TargetRequest request;
  request.adapter = options.adapter;
  request.all = options.all;
  if (!options.from_file.empty())
    for (const BridgePlan& plan : plans)
      request.named.push_back({plan.bridge, plan.adapter});
  else
    for (const std::string& mac : options.bridges)
      request.named.push_back({mac, ""});
  ProgressLine progress(options.quiet);
  Targets targets;
  if (!choose_targets(request, progress, &targets, &result))
    return result;

  // Each target with its plan: its own entry, or the command line's one plan.
  std::map<std::string, std::size_t> plan_of;
  for (std::size_t i = 0; i < plans.size(); ++i)
    plan_of[plans[i].bridge] = i;
  const auto plan_for = [&](const std::string& mac) -> BridgePlan& {
    const auto found = plan_of.find(mac);
    return plans[found != plan_of.end() ? found->second : 0];
  };
  std::vector<ConfigureRow> rows(targets.bridges.size());
  for (std::size_t i = 0; i < rows.size(); ++i)
    rows[i].bridge = targets.bridges[i];

  // The present settings, read from each bridge's survey where they are wanted.
  const bool typed = plans.front().security >= 0;
  std::vector<BridgeWork> surveys(rows.size());
  if (options.dry_run || options.unless_same || !typed) {
    // TRANSLATORS: a progress line on the terminal, followed by "  12 s left".
    progress.Show(_("Bridges scanning the air"),
                  link_timing().survey_scan_pause + link_timing().tick_period);
    run_on_bridges(rows.size(), options.parallel,
                   [&](std::size_t i) { surveys[i] = survey_on_worker(rows[i].bridge); });
    progress.Clear();
    for (std::size_t i = 0; i < rows.size(); ++i) {
      rows[i].present_known = surveys[i].end == WorkEnd::Done;
      rows[i].present = surveys[i].current;
      if (!rows[i].present_known) {
        rows[i].result = result_of(surveys[i].end, RowResult::Planned);
        rows[i].message = surveys[i].message;
      }
    }
  }
  if (!typed && rows.size() == 1 && rows[0].present_known) {
    // The network the survey page would list: the one named, as the bridge heard it.
    BridgePlan& plan = plans.front();
    const auto heard = std::find_if(
        surveys[0].networks.begin(), surveys[0].networks.end(),
        [&](const NetworkEntry& entry) { return field_text(entry.ssid) == plan.ssid; });
    if (heard == surveys[0].networks.end())
      return result.fail(
          EXIT_USAGE,
          translation::filled(_("bridge %1 does not hear a network named \"%2\" ('qbr20g-cli "
                                "survey' lists those it hears; a hidden network needs --hidden "
                                "and --security)"),
                              {rows[0].bridge.mac, terminal_text(plan.ssid)}));
    if (!record_listed_plan(options, *heard, &plan, &result))
      return result;
  }

  // The plan of each bridge that answered, and whether it changes anything.
  std::vector<std::size_t> to_save;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    ConfigureRow& row = rows[i];
    plan_into_row(plan_for(row.bridge.mac), &row);
    const bool read_failed =
        (options.dry_run || options.unless_same || !typed) && surveys[i].end != WorkEnd::Done;
    if (read_failed)
      continue;
    row.changed = change_of(row);
    const bool same =
        row.present_known && field_text(row.present.ssid) == row.ssid &&
        mode_of_survey_text(std::string(field_text(row.present.security))) == row.security;
    if (options.unless_same && same) {
      row.result = RowResult::Unchanged;
      row.message = row_message(N_("has this SSID and security already (a new key or "
                                   "passphrase alone is not seen); left alone"));
    } else if (options.dry_run) {
      row.result = RowResult::Planned;
    } else {
      to_save.push_back(i);
    }
  }
  if (!options.dry_run && !to_save.empty()) {
    progress.Show(
        translation::filled(P_("Saving into %1 bridge", "Saving into %1 bridges", to_save.size()),
                            {std::to_string(to_save.size())}),
        link_timing().tick_period);
    std::vector<BridgeWork> saves(to_save.size());
    run_on_bridges(to_save.size(), options.parallel, [&](std::size_t k) {
      const ConfigureRow& row = rows[to_save[k]];
      saves[k] = save_on_worker(row.bridge, plan_for(row.bridge.mac).choices);
    });
    progress.Clear();
    for (std::size_t k = 0; k < to_save.size(); ++k) {
      ConfigureRow& row = rows[to_save[k]];
      row.result = result_of(saves[k].end, RowResult::Saved);
      row.message = saves[k].message;
    }
  }

  for (const std::string& mac : targets.silent) {
    ConfigureRow row;
    row.bridge.mac = mac;
    row.result = RowResult::Silent;
    plan_into_row(plan_for(mac), &row);
    row.message =
        options.adapter.empty()
            ? row_message(N_("did not answer on any usable adapter: check its cable and power "
                             "('qbr20g-cli list' lists those that answer)"))
            : row_message(N_("did not answer on %1: check its cable and power ('qbr20g-cli "
                             "list' lists those that answer)"),
                          {options.adapter});
    rows.push_back(std::move(row));
  }
  std::sort(rows.begin(), rows.end(), [](const ConfigureRow& a, const ConfigureRow& b) {
    return bridge_order(a.bridge, b.bridge);
  });

  const bool none_answered = targets.bridges.empty();
  for (const ConfigureRow& row : rows)
    if (row.result != RowResult::Saved && row.result != RowResult::Planned &&
        row.result != RowResult::Unchanged)
      result.status = EXIT_NOT_CONFIRMED;
  if (none_answered)
    result.fail(EXIT_NO_BRIDGE, _(NO_BRIDGE_ANSWERED));
  if (link_wind_down_requested() || link_stop_requested())
    result.status = EXIT_INTERRUPTED;
  result.table = make_table(CONFIGURE_FIELDS, rows);
  return result;
}
