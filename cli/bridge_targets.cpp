#include "cli/bridge_targets.h"

#include <pcap/pcap.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "cli/bridge_work.h"
#include "cli/progress_line.h"
#include "device/discovery.h"
#include "link/adapter_access.h"
#include "link/adapter_failure_text.h"
#include "link/adapter_selection.h"
#include "link/capture_handle.h"
#include "link/frame_exchange.h"
#include "link/link_channel.h"
#include "link/link_frame.h"
#include "link/link_helper.h"
#include "link/link_ticks.h"
#include "link/link_timing.h"
#include "link/mac_text.h"
#include "link/translation.h"

namespace {

using std::chrono::milliseconds;

bool interrupted() { return link_wind_down_requested() || link_stop_requested(); }

void adapter_failure(AdapterSearchFailure failure, const std::string& error,
                     CommandResult* result) {
  const AdapterFailureText text =
      adapter_failure_text(failure, error, link_helper_path(), find_setcap(), "qbr20g-cli");
  result->status = EXIT_NO_ADAPTER;
  result->errors.push_back(text.primary + "\n\n" + text.secondary);
}

struct ListedAdapter {
  AdapterInfo info;
  std::string mac; // MAC text; empty when the adapter has no Ethernet MAC
};

// The adapters the helper lists, each with its MAC text (which also makes them known as this
// host's own). False, told in *result, when the helper cannot list them.
bool list_adapters_with_macs(std::vector<ListedAdapter>* adapters, CommandResult* result) {
  std::vector<AdapterInfo> listed;
  std::string error;
  if (list_host_adapters(&listed, &error) != 0) {
    if (result)
      adapter_failure(AdapterSearchFailure::ListingFailed, error, result);
    return false;
  }
  for (AdapterInfo& adapter : listed) {
    std::uint8_t mac[MAC_SIZE];
    char text[MAC_TEXT_SIZE];
    const bool has_mac = query_adapter_mac(adapter.name.c_str(), text, mac) == 0;
    adapters->push_back({std::move(adapter), has_mac ? text : ""});
  }
  return true;
}

bool find_named_adapter(const std::string& name, std::vector<CliAdapter>* adapters,
                        CommandResult* result) {
  std::vector<ListedAdapter> listed;
  if (!list_adapters_with_macs(&listed, result))
    return false;
  const auto found = std::find_if(listed.begin(), listed.end(), [&](const ListedAdapter& adapter) {
    return adapter.info.name == name;
  });
  const auto refuse = [&](const std::string& message) {
    result->fail(EXIT_NO_ADAPTER, message);
    return false;
  };
  if (found == listed.end() || found->mac.empty() || (found->info.flags & PCAP_IF_LOOPBACK))
    return refuse(translation::filled(_("%1 is not a wired Ethernet adapter of this computer "
                                        "('qbr20g-cli adapters' lists those that can be used)"),
                                      {name}));
  if (is_wireless_adapter(found->info))
    return refuse(translation::filled(
        _("%1 is a Wi-Fi adapter; the bridge is reached on a wired one"), {name}));
  if (!(found->info.flags & PCAP_IF_UP))
    return refuse(
        translation::filled(_("%1 is down; bring it up first (ip link set %1 up)"), {name}));
  if ((found->info.flags & PCAP_IF_CONNECTION_STATUS) == PCAP_IF_CONNECTION_STATUS_DISCONNECTED)
    return refuse(
        translation::filled(_("%1 has no link: plug the bridge's cable into it"), {name}));

  // A capture opened once tells whether the helper may capture here at all.
  CaptureOpening opening = adapter_access().open_capture(name.c_str());
  if (!opening.capture || opening.link_type != DLT_EN10MB) {
    const bool denied = opening.status == PCAP_ERROR_PERM_DENIED ||
                        opening.status == PCAP_ERROR_PROMISC_PERM_DENIED;
    adapter_failure(denied ? AdapterSearchFailure::PermissionDenied
                           : AdapterSearchFailure::NoUsableAdapter,
                    opening.error, result);
    return false;
  }
  adapters->push_back({name, found->mac});
  return true;
}

std::string names_of(const std::vector<CliAdapter>& adapters) {
  std::string names;
  for (const CliAdapter& adapter : adapters)
    names += (names.empty() ? "" : ", ") + adapter.name;
  return names;
}

// One adapter's share of a fleet discovery.
struct Listener {
  CliAdapter adapter;
  std::unique_ptr<LinkChannel> channel = new_worker_channel();
  bool listening = true; // until its reply window ends (under the discovery's mutex)
  char devices[DEVICE_LIST_SIZE] = {};
  int count = 0;
};

} // namespace

bool bridge_order(const CliBridge& a, const CliBridge& b) {
  return std::tie(a.adapter.name, a.mac) < std::tie(b.adapter.name, b.mac);
}

bool find_cli_adapters(const std::string& only, std::vector<CliAdapter>* adapters,
                       CommandResult* result) {
  if (!only.empty())
    return find_named_adapter(only, adapters, result);
  char list[HOST_ADAPTER_LIST_SIZE] = {};
  if (find_usable_adapters(list) != 0) {
    adapter_failure(last_adapter_search_failure(), last_adapter_open_error(), result);
    return false;
  }
  capture_handle.reset(); // the search leaves it on the last adapter tried; workers open their own
  // The search gives MACs; their names come from the listing (first of a MAC wins, as
  // reopen_adapter takes it).
  std::vector<ListedAdapter> listed;
  list_adapters_with_macs(&listed, nullptr);
  for (int i = 0; i < mac_list_count(list); ++i) {
    const std::string mac(list + MAC_TEXT_LENGTH * i, MAC_TEXT_LENGTH);
    const auto named =
        std::find_if(listed.begin(), listed.end(),
                     [&](const ListedAdapter& adapter) { return adapter.mac == mac; });
    if (named != listed.end())
      adapters->push_back({named->info.name, mac});
  }
  std::sort(adapters->begin(), adapters->end(),
            [](const CliAdapter& a, const CliAdapter& b) { return a.name < b.name; });
  return true;
}

bool refuse_non_bridge(const std::string& mac, const std::string& what, CommandResult* result) {
  // Each reason names where the MAC was given (%1: "--bridge", or a fleet file's entry), then
  // the MAC (%2).
  const auto refuse = [&](const char* why) {
    result->fail(EXIT_USAGE, translation::filled(why, {what, mac}));
    return false;
  };
  std::uint8_t bytes[MAC_SIZE];
  mac_text_to_bytes(mac.c_str(), bytes);
  if (is_group_mac(bytes))
    // TRANSLATORS: %1 is where the MAC %2 was given: "--bridge", or a fleet file's entry.
    return refuse(_("%1 %2 is a group address (broadcast or multicast): it would reach every "
                    "bridge at once; name one bridge by its own MAC ('qbr20g-cli list' lists "
                    "them)"));
  if (is_zero_mac(bytes))
    // TRANSLATORS: %1 is where the MAC %2 was given: "--bridge", or a fleet file's entry.
    return refuse(_("%1 %2 is the zero address, which is no bridge's"));
  // Listing the adapters makes their MACs known as this host's own; once is enough.
  static bool listed_once = false;
  std::vector<ListedAdapter> listed;
  if (!listed_once && !list_adapters_with_macs(&listed, result))
    return false;
  listed_once = true;
  if (is_host_adapter_mac(bytes))
    // TRANSLATORS: %1 is where the MAC %2 was given: "--bridge", or a fleet file's entry.
    return refuse(_("%1 %2 is an adapter of this computer, not a bridge ('qbr20g-cli list' "
                    "lists the bridges)"));
  return true;
}

std::vector<CliBridge> discover_fleet(const std::vector<CliAdapter>& adapters,
                                      const std::vector<std::string>& expected,
                                      ProgressLine& progress) {
  const auto& timing = link_timing();
  // TRANSLATORS: a progress line; %1 is a list of adapters ("eth0, eth1").
  progress.Show(translation::filled(_("Looking for bridges on %1"), {names_of(adapters)}),
                timing.tick_period * (DISCOVERY_TICK_LIMIT + 1) + timing.unicast_probe_pause);
  std::vector<Listener> listeners(adapters.size());
  std::mutex mutex;
  std::condition_variable ended;
  std::size_t running = adapters.size();
  std::set<std::string> awaited(expected.begin(), expected.end());
  // Ends every listening window but the caller's (mutex held).
  const auto stop_listening = [&](const Listener* caller) {
    for (Listener& other : listeners)
      if (&other != caller && other.listening)
        stop_link_channel(*other.channel);
  };

  std::vector<std::thread> threads;
  for (std::size_t i = 0; i < adapters.size(); ++i) {
    listeners[i].adapter = adapters[i];
    threads.emplace_back([&, &listener = listeners[i]] {
      BoundLinkChannel bound(*listener.channel);
      std::uint8_t own[MAC_SIZE];
      mac_text_to_bytes(listener.adapter.mac.c_str(), own);
      std::string why;
      CaptureOpening opening =
          listener.channel->access->open_capture(listener.adapter.name.c_str());
      listener.channel->capture = std::move(opening.capture);
      std::uint8_t frame[MAX_FRAME_SIZE];
      if (listener.channel->capture) {
        LinkTicks ticks;
        collect_probe_replies(frame, frame, own, "", listener.devices, &listener.count, [&] {
          std::lock_guard lock(mutex);
          awaited.erase(std::string(listener.devices + MAC_TEXT_LENGTH * (listener.count - 1),
                                    MAC_TEXT_LENGTH));
          if (expected.empty() || !awaited.empty())
            return true;
          stop_listening(&listener);
          return false;
        });
      }
      {
        std::lock_guard lock(mutex);
        listener.listening = false;
      }
      listener.channel->stopped = false;
      // Back to back; the one pause follows once every adapter has sent its own.
      if (!interrupted())
        probe_each_bridge(frame, own, listener.devices, listener.count, milliseconds{0});
      std::lock_guard lock(mutex);
      --running;
      ended.notify_all();
    });
  }
  {
    // A Ctrl-C ends the listening at once; the bridges found are not probed again.
    std::unique_lock lock(mutex);
    while (!ended.wait_for(lock, milliseconds{50}, [&] { return running == 0; }))
      if (interrupted())
        stop_listening(nullptr);
  }
  for (std::thread& thread : threads)
    thread.join();

  std::vector<CliBridge> found;
  std::set<std::string> seen;
  std::vector<const Listener*> by_name;
  for (const Listener& listener : listeners)
    by_name.push_back(&listener);
  std::sort(by_name.begin(), by_name.end(),
            [](const Listener* a, const Listener* b) { return a->adapter.name < b->adapter.name; });
  for (const Listener* listener : by_name)
    for (int i = 0; i < listener->count; ++i) {
      const std::string mac(listener->devices + MAC_TEXT_LENGTH * i, MAC_TEXT_LENGTH);
      if (seen.insert(mac).second)
        found.push_back({mac, listener->adapter});
    }
  for (Listener& listener : listeners)
    retire_channel(std::move(listener.channel));
  if (!found.empty() && !interrupted())
    link_pause(timing.unicast_probe_pause);
  progress.Clear();
  std::sort(found.begin(), found.end(), bridge_order);
  return found;
}

bool choose_targets(const TargetRequest& request, ProgressLine& progress, Targets* targets,
                    CommandResult* result) {
  // A bridge named on a named adapter is taken as it is: no discovery.
  std::vector<TargetRequest::Named> looked_for;
  std::map<std::string, CliAdapter> checked; // adapters named, checked once each
  for (const TargetRequest::Named& named : request.named) {
    const std::string& adapter = named.adapter.empty() ? request.adapter : named.adapter;
    if (adapter.empty() || request.all) {
      looked_for.push_back(named);
      continue;
    }
    if (!checked.count(adapter)) {
      std::vector<CliAdapter> one;
      if (!find_cli_adapters(adapter, &one, result))
        return false;
      checked[adapter] = one.front();
    }
    targets->bridges.push_back({named.mac, checked[adapter]});
  }
  const bool implicit = request.named.empty() && !request.all;
  if (!looked_for.empty() || request.all || implicit) {
    std::vector<CliAdapter> adapters;
    if (!find_cli_adapters(request.adapter, &adapters, result))
      return false;
    std::vector<std::string> expected;
    if (!request.all)
      for (const TargetRequest::Named& named : looked_for)
        expected.push_back(named.mac);
    const std::vector<CliBridge> found = discover_fleet(adapters, expected, progress);
    if (interrupted()) {
      result->fail(EXIT_INTERRUPTED,
                   _("interrupted while looking for bridges; nothing was sent to any bridge"));
      return false;
    }
    if (implicit) {
      if (found.empty()) {
        result->fail(EXIT_NO_BRIDGE, _(NO_BRIDGE_ANSWERED));
        return false;
      }
      if (found.size() > 1) {
        std::string list;
        for (const CliBridge& bridge : found)
          // TRANSLATORS: a line of the list below "%1 bridges answered"; %1 is a MAC, %2 an
          // adapter.
          list += translation::filled(_("\n  %1 on %2"), {bridge.mac, bridge.adapter.name});
        result->fail(EXIT_USAGE,
                     translation::filled(P_("%1 bridge answered; name the one to work on with "
                                            "--bridge (or every one with --all):%2",
                                            "%1 bridges answered; name the one to work on with "
                                            "--bridge (or every one with --all):%2",
                                            found.size()),
                                         {std::to_string(found.size()), list}));
        return false;
      }
    }
    if (request.all || implicit)
      targets->bridges.insert(targets->bridges.end(), found.begin(), found.end());
    for (const TargetRequest::Named& named : looked_for) {
      const auto answered = std::find_if(found.begin(), found.end(), [&](const CliBridge& bridge) {
        return bridge.mac == named.mac;
      });
      if (answered == found.end())
        targets->silent.push_back(named.mac);
      else if (!request.all)
        targets->bridges.push_back(*answered);
    }
  }
  std::sort(targets->bridges.begin(), targets->bridges.end(), bridge_order);
  std::sort(targets->silent.begin(), targets->silent.end());
  return true;
}
