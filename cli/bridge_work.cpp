#include "cli/bridge_work.h"

#include <pcap/pcap.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <iterator>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>

#include "device/config_write.h"
#include "device/site_survey.h"
#include "link/frame_exchange.h"
#include "link/helper_adapter_access.h"
#include "link/link_channel.h"
#include "link/link_frame.h"
#include "link/link_ticks.h"
#include "link/link_timing.h"
#include "link/translation.h"

namespace {

// A worker's link, bound to its thread while the worker lives.
struct WorkerLink {
  std::unique_ptr<LinkChannel> channel = std::make_unique<LinkChannel>();
  std::string adapter; // the adapter its capture is open on, by MAC text
};

thread_local WorkerLink* worker_link = nullptr;

bool interrupted() { return link_wind_down_requested() || link_stop_requested(); }

// The position of `step` in `steps`, from 1; 0 when it is not one of them.
template <std::size_t N> int step_number(const char* step, const char* const (&steps)[N]) {
  for (std::size_t i = 0; i < N; ++i)
    if (step && std::string_view(step) == steps[i])
      return static_cast<int>(i + 1);
  return 0;
}

// The steps' names as messages show them. The link records a step by the name it is defined with
// (device/config_write.h, device/site_survey.h); these are the same names, for the catalogue.
[[maybe_unused]] const char* const STEP_NAMES[] = {
    // TRANSLATORS: steps of the exchange with a bridge, shown in "no answer to the %1"; the
    // numbers in parentheses are the bridge's commands, to be kept as they are.
    N_("begin"),
    N_("settings write"),
    N_("settings execute"),
    N_("begin of the apply"),
    N_("apply command (9002:)"),
    N_("apply execute"),
    N_("scan command (9107:)"),
    N_("scan execute"),
    N_("scan of the air"),
    N_("begin of the report"),
    N_("report command (9100:)"),
    N_("report"),
    N_("first step"),
    N_("start")};

// A step's name in both languages; `instead` when there is none.
RowMessage step_name(const char* step, const char* instead) {
  return row_message(step ? step : instead);
}

// "no answer to the settings write (step 2 of 6)", with the link's own reason when it has one.
RowMessage no_answer(const char* step, int number, int of) {
  const RowMessage name = step_name(step, N_("first step"));
  const std::string failure = link_failure();
  if (number > 0) {
    const RowMessage n = std::to_string(number);
    const RowMessage count = std::to_string(of);
    return failure.empty() ? row_message(N_("no answer to the %1 (step %2 of %3) after two tries"),
                                         {name, n, count})
                           : row_message(N_("no answer to the %1 (step %2 of %3): %4"),
                                         {name, n, count, failure});
  }
  return failure.empty() ? row_message(N_("no answer to the %1 after two tries"), {name})
                         : row_message(N_("no answer to the %1: %2"), {name, failure});
}

const char* const SAVE_STEPS[] = {SAVE_STEP_BEGIN,   SAVE_STEP_SETTINGS,
                                  SAVE_STEP_EXECUTE, SAVE_STEP_APPLY_BEGIN,
                                  SAVE_STEP_APPLY,   SAVE_STEP_APPLY_EXECUTE};
const char* const SURVEY_STEPS[] = {
    SURVEY_STEP_BEGIN,        SURVEY_STEP_SCAN,   SURVEY_STEP_SCAN_EXECUTE, SURVEY_STEP_PAUSE,
    SURVEY_STEP_REPORT_BEGIN, SURVEY_STEP_REPORT, SURVEY_STEP_REPORT_POLL};

// What a failed save leaves in the bridge, and what to try, by the step that got no answer.
RowMessage save_advice(int step) {
  if (step <= 1)
    return row_message(
        N_("nothing was written; check the bridge's power and cable, then try again"));
  if (step == 2)
    return row_message(N_("the bridge may hold the new settings, not applied; try again"));
  if (step < 6)
    return row_message(N_("the bridge holds the new settings but has not applied them; try again"));
  return row_message(N_("the bridge may have applied them without saying so; see 'qbr20g-cli "
                        "show', or try again"));
}

BridgeWork capture_failed(const CliAdapter& adapter, const std::string& why) {
  BridgeWork work;
  work.end = WorkEnd::Failed;
  work.message = why.empty() ? row_message(N_("cannot capture on %1"), {adapter.name})
                             : row_message(N_("cannot capture on %1: %2"), {adapter.name, why});
  return work;
}

} // namespace

std::unique_ptr<LinkChannel> new_worker_channel() {
  auto channel = std::make_unique<LinkChannel>();
  channel->access = make_own_helper_adapter_access();
  return channel;
}

void retire_channel(std::unique_ptr<LinkChannel> channel) {
  static std::mutex mutex;
  static auto* retired = new std::vector<std::unique_ptr<LinkChannel>>;
  std::lock_guard lock(mutex);
  retired->push_back(std::move(channel));
}

void run_on_bridges(std::size_t count, int parallel, const std::function<void(std::size_t)>& work) {
  std::atomic<std::size_t> next{0};
  const auto worker = [&] {
    WorkerLink link;
    link.channel = new_worker_channel();
    worker_link = &link;
    for (;;) {
      if (interrupted())
        break;
      const std::size_t index = next++;
      if (index >= count)
        break;
      // A link that failed on the last bridge (its helper lost, a frame refused, a capture that
      // would not open) is replaced by a new one before this bridge.
      if (!link.channel->capture || !link.channel->failure.empty()) {
        retire_channel(std::move(link.channel));
        link.channel = new_worker_channel();
        link.adapter.clear();
      }
      BoundLinkChannel bound(*link.channel);
      LinkTicks ticks;
      work(index);
    }
    worker_link = nullptr;
    retire_channel(std::move(link.channel));
  };
  const std::size_t threads =
      std::min<std::size_t>(count, static_cast<std::size_t>(std::max(parallel, 1)));
  std::vector<std::thread> workers;
  for (std::size_t i = 1; i < threads; ++i)
    workers.emplace_back(worker);
  if (threads > 0)
    worker(); // the calling thread works too
  for (std::thread& thread : workers)
    thread.join();
}

bool use_worker_adapter(const CliAdapter& adapter, std::string* why) {
  WorkerLink& link = *worker_link;
  LinkChannel& channel = *link.channel;
  if (channel.capture && link.adapter == adapter.mac)
    return true;
  link.adapter.clear();
  CaptureOpening opening = channel.access->open_capture(adapter.name.c_str());
  channel.capture = std::move(opening.capture);
  if (!channel.capture || opening.link_type != DLT_EN10MB) {
    *why = opening.error;
    channel.capture.reset();
    return false;
  }
  link.adapter = adapter.mac;
  return true;
}

BridgeWork survey_on_worker(const CliBridge& bridge) {
  std::string why;
  if (!use_worker_adapter(bridge.adapter, &why))
    return capture_failed(bridge.adapter, why);
  WirelessRecords records{};
  BoundWirelessRecords bound(records);
  std::uint8_t frame[MAX_FRAME_SIZE];
  int count = 0;
  int result = -1;
  for (int attempt = 0; attempt < 2 && result != 0 && !interrupted(); ++attempt)
    result = run_site_survey(frame, frame, bridge.adapter.mac.c_str(), bridge.mac.c_str(), &count);
  BridgeWork work;
  if (result == 0) {
    work.end = WorkEnd::Done;
    work.current = records.current_network;
    work.networks.assign(records.network_table,
                         records.network_table + std::clamp(count, 0, NETWORK_TABLE_ENTRIES));
    return work;
  }
  const char* step = link_step();
  const RowMessage answer =
      no_answer(step, step_number(step, SURVEY_STEPS), static_cast<int>(std::size(SURVEY_STEPS)));
  work.end = interrupted() ? WorkEnd::Interrupted : WorkEnd::Failed;
  work.message = work.end == WorkEnd::Interrupted
                     ? row_message(N_("interrupted at the %1"), {step_name(step, N_("start"))})
                     // TRANSLATORS: %1 is "no answer to the ..." with its reason, %2 an adapter.
                     : row_message(N_("did not answer the survey: %1, twice; check that it is on "
                                      "and on %2's wire, then try again"),
                                   {answer, bridge.adapter.name});
  return work;
}

BridgeWork save_on_worker(const CliBridge& bridge, const WirelessRecords& choices) {
  std::string why;
  if (!use_worker_adapter(bridge.adapter, &why))
    return capture_failed(bridge.adapter, why);
  WirelessRecords records = choices;
  BoundWirelessRecords bound(records);
  std::uint8_t frame[MAX_FRAME_SIZE];
  const int result =
      write_configuration(frame, frame, bridge.adapter.mac.c_str(), bridge.mac.c_str());
  BridgeWork work;
  if (result == 0) {
    work.end = WorkEnd::Done;
    work.message = row_message(N_("Save config successfully !"));
    return work;
  }
  const char* step = link_step();
  const int number = step_number(step, SAVE_STEPS);
  work.end = interrupted() && link_failure().empty() ? WorkEnd::Interrupted : WorkEnd::Failed;
  if (work.end == WorkEnd::Interrupted)
    work.message = number <= 1 ? row_message(N_("interrupted before anything was written"))
                               : row_message(N_("interrupted after the %1; %2"),
                                             {step_name(step, N_("start")), save_advice(number)});
  else
    // TRANSLATORS: %1 is "no answer to the ..." with its reason, %2 what is left and what to do.
    work.message = row_message(
        N_("Save config failed ! %1; %2"),
        {no_answer(step, number, static_cast<int>(std::size(SAVE_STEPS))), save_advice(number)});
  return work;
}
