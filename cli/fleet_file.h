// A fleet file (configure --from FILE): a JSON array with one object per bridge, each giving
// the bridge and what to write into it. The rows that show and configure print are fleet
// entries too: their other keys are passed over.
//
//   [{"bridge": "02:00:00:00:0b:01", "adapter": "eth0", "ssid": "Office",
//     "security": "wpa2-psk", "secrets_file": "/etc/qbr20g/office.secrets"},
//    {"bridge": "02-00-00-00-0b-02", "ssid_hex": "436166c3a9", "security": "wep",
//     "wep_format": "ascii", "key_index": 2, "key2": "abcde"}]
#pragma once

#include <string>
#include <vector>

#include "cli/command_result.h"
#include "cli/configure_plan.h"

// Reads the entries of `path` ("-": standard input) into plans: their bridge (normalised),
// adapter, SSID, security and secrets, unchecked beyond their form. False after naming the
// first bad entry in *result (EXIT_USAGE). A file whose entries hold secrets is refused when
// other users may read it, as ssh refuses such a key.
bool read_fleet_file(const std::string& path, std::vector<BridgePlan>* plans,
                     CommandResult* result);
