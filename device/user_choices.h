// How the user's choices become `WirelessSettings` and `WirelessKeys`, once their checks
// (input_checks.h) have passed: the survey page's network (listed or typed), the security
// page's Disable, the WEP page's keys, the WPA page's passphrase. The wizard's pages and the
// command line record their choices through these, so both save the same settings text.
#pragma once

#include <string_view>

#include "device/input_checks.h"
#include "device/security_modes.h"
#include "device/wireless_records.h"

// A network from the survey's list, named `ssid` (the row's own, or one typed for a hidden
// row): clears `WirelessSettings`, then takes the row's channel and security text.
void choose_listed_network(const NetworkEntry& row, std::string_view ssid);

// A network typed by hand on channel `channel` (0 when none is chosen): clears
// `WirelessSettings`; its security comes from a later choice.
void choose_typed_network(std::string_view ssid, int channel);

// Security Disable. Keys of an earlier WEP or WPA choice stay where they are.
void choose_open_network();

// WEP keys that passed wep_keys_problem with `width`; `default_key` zero-based. Clears
// `WirelessKeys`, then stores the index and each filled key as hex text.
void choose_wep_keys(const std::string_view (&keys)[WEP_KEY_COUNT], bool typed_as_hex,
                     int default_key, WepWidth width);

// WPA-PSK or WPA2-PSK (`mode`) with a passphrase that passed passphrase_problem. Clears
// `WirelessKeys`, then stores the passphrase.
void choose_wpa_passphrase(int mode, std::string_view passphrase);
