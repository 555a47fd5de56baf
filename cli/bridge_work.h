// Work on many bridges at once. Each worker thread has a link of its own: a link channel with a
// link helper of its own, its capture on the bridge's adapter and the page timer's ticks, and
// records of its own, so that no wait of one bridge holds up another. A bounded number of
// bridges are worked on at once; each bridge's own steps keep their order, waits and retries.
// A helper that goes away fails the bridge in flight, and the worker starts a new one before
// its next bridge.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cli/bridge_targets.h"
#include "cli/cli_output.h"
#include "device/wireless_records.h"
#include "link/link_channel.h"

constexpr int DEFAULT_PARALLEL = 16;
constexpr int MAX_PARALLEL = 64;

enum class WorkEnd { NotStarted, Done, Failed, Interrupted };

struct BridgeWork {
  WorkEnd end = WorkEnd::NotStarted;
  RowMessage message; // why it failed or was interrupted: the step, the reason, what to try
  // A survey's findings: the bridge's present setting and the networks it heard.
  NetworkEntry current{};
  std::vector<NetworkEntry> networks;
};

// Runs `work(i)` for i in [0, count), on at most `parallel` worker threads, each bound to a
// link of its own; `work` opens its bridge's adapter with use_worker_adapter. Once a wind-down
// or stop is requested no further i is started. Returns when every started one has ended.
void run_on_bridges(std::size_t count, int parallel, const std::function<void(std::size_t)>& work);

// A link channel of a worker's own, with a link helper of its own (started on first use).
std::unique_ptr<LinkChannel> new_worker_channel();
// Keeps a channel that is done with until the program ends: closing it would wait for its
// helper to take its captures down (tens of ms each); the helpers end with this process.
void retire_channel(std::unique_ptr<LinkChannel> channel);

// On a worker: the capture on `adapter`, opened unless it is open there already. False, with
// the reason in *why, when it cannot be.
bool use_worker_adapter(const CliAdapter& adapter, std::string* why);

// On a worker: a site survey of `bridge`, as the survey page runs it (the procedure, once more
// when it fails).
BridgeWork survey_on_worker(const CliBridge& bridge);

// On a worker: the configuration write of `choices` into `bridge`.
BridgeWork save_on_worker(const CliBridge& bridge, const WirelessRecords& choices);
