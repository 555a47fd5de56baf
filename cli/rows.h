// The rows that the commands print and their fields, each described once for the text table and
// the JSON document. Security is written in one vocabulary, the words --security takes (open,
// wep, wpa-psk, wpa2-psk), with the wizard's own words beside them in JSON (security_text).
#pragma once

#include <string>
#include <vector>

#include "cli/bridge_targets.h"
#include "cli/bridge_work.h"
#include "cli/cli_output.h"
#include "device/wireless_records.h"

// What became of a bridge.
enum class RowResult {
  Saved,       // the new settings are written and applied
  Failed,      // a step got no answer (the message says which, and what to try)
  Silent,      // named, but did not answer the discovery
  Unchanged,   // --unless-same: it has the SSID and security already
  Planned,     // --dry-run: would be written
  Shown,       // its present settings were read
  Interrupted, // Ctrl-C came while it was worked on
  NotStarted,  // Ctrl-C came before it was worked on
};
const char* result_word(RowResult result);

// Whether the new settings differ from the present ones. The bridge does not report its keys
// or passphrase: with the same SSID and a security that has a secret, it cannot be told.
enum class Change { Yes, No, Unknown };

struct AdapterRow {
  CliAdapter adapter;
};

struct NetworkRow {
  CliBridge bridge;
  NetworkEntry network;
};

struct ShowRow {
  CliBridge bridge; // adapter name empty when it did not answer
  RowResult result = RowResult::Shown;
  NetworkEntry present{}; // ssid and security
  RowMessage message;
};

struct ConfigureRow {
  CliBridge bridge;
  RowResult result = RowResult::NotStarted;
  bool present_known = false;
  NetworkEntry present{}; // ssid and security, when known
  std::string ssid;       // the new settings
  int security = -1;
  std::string stored_security; // as the write sends it: "WEP(64bit)", "WPA2-PSK" ...
  Change changed = Change::Unknown;
  RowMessage message;
};

extern const std::vector<Field<AdapterRow>> ADAPTER_FIELDS;
extern const std::vector<Field<CliBridge>> BRIDGE_FIELDS;
extern const std::vector<Field<NetworkRow>> NETWORK_FIELDS;
extern const std::vector<Field<ShowRow>> SHOW_FIELDS;
extern const std::vector<Field<ConfigureRow>> CONFIGURE_FIELDS;

// The mode of a survey's security text ("Disable", "WEP", "WPA-PSK", "WPA2-PSK"); -1 for none.
int mode_of_survey_text(const std::string& text);

// The result of a bridge's work: `done` when it was done, else how it ended.
RowResult result_of(WorkEnd end, RowResult done);

// Whether `row`'s new settings differ from its present ones.
Change change_of(const ConfigureRow& row);
