// Which wired adapters of the host can reach a bridge, and the capture on the one in use.
// At start-up every adapter that is not wireless, has an Ethernet MAC and puts a broadcast
// probe on the wire is usable; later procedures reopen the capture by the adapter's MAC text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "link/adapter_access.h"
#include "link/wireless_adapter.h"

constexpr int HOST_ADAPTER_LIST_SIZE = 500;   // the caller's list buffer, zeroed
constexpr int USABLE_ADAPTER_LIST_ROOM = 300; // room of the working list
constexpr int MAX_USABLE_ADAPTERS = 17;       // whole MAC texts in that room, with its zero

// Fills `list` (HOST_ADAPTER_LIST_SIZE characters, zeroed by the caller) with the MAC texts of
// the usable adapters, the last enumerated first, and leaves the capture open on the last
// adapter tried. Returns 0, or -1 when no adapter is usable.
int find_usable_adapters(char* list);

// Enumerates the adapters and holds the enumeration for probe_adapters. Returns 0 with the
// count (at least 1), or -1 when enumeration fails or finds nothing.
int count_adapters(int* count);

// Tries the held adapters from the last to the first; releases the enumeration. Returns 0 with
// the usable list in `list`, or -1 (then `list` is untouched). Passed over, and the search goes
// on: wireless, loopback, down and unplugged adapters; those without an Ethernet MAC; those that
// cannot be opened or are not Ethernet; those whose probe does not go out on the wire within
// link_timing().adapter_probe_wait. Stops once MAX_USABLE_ADAPTERS are listed.
int probe_adapters(int count, char* list);

// The adapter's current MAC as 6 bytes and as its 17-character text (`text` holds 18).
// Returns 0, or -1 when the adapter has no Ethernet MAC.
int query_adapter_mac(const char* name, char* text, std::uint8_t* mac);

// Opens capture_handle on the first adapter (in enumeration order) whose MAC text equals
// `mac_text` exactly. Returns 0 when it opened on Ethernet, -1 when it failed (the handle is
// then empty, or open on a link that is not Ethernet) or enumeration failed. When no adapter
// has that MAC, returns 0 and leaves the previous capture in place.
int reopen_adapter(const char* mac_text);

// The adapters as adapter_access() lists them (0, or -1 with the reason), their MACs kept as
// this host's own.
int list_host_adapters(std::vector<AdapterInfo>* adapters, std::string* error);

// Whether `mac` is one of this host's own adapters, as the adapters were last listed (by the
// start-up search or a reopen, on any thread): never a bridge.
bool is_host_adapter_mac(const std::uint8_t* mac);

enum class AdapterSearchFailure { None, NoUsableAdapter, PermissionDenied, ListingFailed };

// Outcome of the last find_usable_adapters: PermissionDenied when no adapter was usable and at
// least one capture could not be opened for lack of rights (CAP_NET_RAW), so the user can be
// told how to fix it rather than only that no adapter was found; ListingFailed when the
// adapters could not even be listed (the link helper could not be started).
AdapterSearchFailure last_adapter_search_failure();
// Why the last capture failed to open during that search (libpcap's words), or why listing
// failed; empty if nothing failed.
std::string last_adapter_open_error();
