// The four process-wide records that the site survey fills, the pages write as the user moves
// forward, and the configuration write and the summary page read. They keep the bridge's
// fixed layouts and start zeroed.
//
// Hand-over between threads (no locks): each record has one writer at a time, and every
// hand-over goes through an operation that orders memory.
// - The survey worker writes `NetworkTable` and `CurrentNetwork`, then posts its result to the
//   page. Posting an event into the UI thread's queue takes the queue's lock, and the UI thread
//   takes it again to fetch the event, so everything the worker wrote happens before the
//   page's handler reads the records.
// - The pages write `WirelessSettings` and `WirelessKeys` on the UI thread before they start
//   the save worker; starting a thread orders everything before it with the thread's body.
//   The summary page keeps Back and Next disabled until the worker has posted its result.
// So no page reads the survey's records until the survey's result has arrived, and no page
// writes the user's records while a save worker runs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

constexpr int NETWORK_TABLE_ENTRIES = 50;
constexpr int SSID_WIDTH = 50;
constexpr int KEY_FIELD_WIDTH = 100;

struct NetworkEntry {
  std::int32_t signal;
  // Up to 50 bytes; a 50-byte name fills the field with no zero after it.
  char ssid[SSID_WIDTH];
  char mac_text[24];
  char channel[5];
  char speed[10];
  char security[25];
  char signal_text[6];
};
static_assert(sizeof(NetworkEntry) == 124);
static_assert(offsetof(NetworkEntry, ssid) == 4);
static_assert(offsetof(NetworkEntry, mac_text) == 54);
static_assert(offsetof(NetworkEntry, channel) == 78);
static_assert(offsetof(NetworkEntry, speed) == 83);
static_assert(offsetof(NetworkEntry, security) == 93);
static_assert(offsetof(NetworkEntry, signal_text) == 118);

struct WirelessKeySet {
  char key_index[KEY_FIELD_WIDTH]; // "0" to "3"
  char wep_key1[KEY_FIELD_WIDTH];  // hexadecimal digit text
  char wep_key2[KEY_FIELD_WIDTH];
  char wep_key3[KEY_FIELD_WIDTH];
  char wep_key4[KEY_FIELD_WIDTH];
  char passphrase[KEY_FIELD_WIDTH];
};
static_assert(sizeof(WirelessKeySet) == 600);
static_assert(offsetof(WirelessKeySet, passphrase) == 500);

// The four records together. The wizard uses the process's set, which the names below are;
// the command line works on several bridges at once, and each of its worker threads binds a
// set of its own (BoundWirelessRecords), which the survey, the choices and the write then use.
struct WirelessRecords {
  NetworkEntry network_table[NETWORK_TABLE_ENTRIES];
  NetworkEntry current_network;
  NetworkEntry wireless_settings;
  WirelessKeySet wireless_keys;
};

// The calling thread's set: its bound one, else the process's.
WirelessRecords& wireless_records();

// Binds `records` to the calling thread for the binder's lifetime.
class BoundWirelessRecords {
public:
  explicit BoundWirelessRecords(WirelessRecords& records);
  ~BoundWirelessRecords();
  BoundWirelessRecords(const BoundWirelessRecords&) = delete;
  BoundWirelessRecords& operator=(const BoundWirelessRecords&) = delete;

private:
  WirelessRecords* previous_;
};

// The process's set.
// Networks of the last site survey; entries at and after the survey's count are zero.
extern NetworkEntry (&NetworkTable)[NETWORK_TABLE_ENTRIES];
static_assert(sizeof(NetworkTable) == 6200);
// The bridge's present setting: only `ssid` and `security` are used.
extern NetworkEntry& CurrentNetwork;
// The user's choice: `ssid`, `channel` and `security` are used.
extern NetworkEntry& WirelessSettings;
extern WirelessKeySet& WirelessKeys;

// Text of a field that may lack its zero (a 50-byte SSID): never reads past the field.
template <std::size_t N> std::string_view field_text(const char (&field)[N]) {
  return {field, strnlen(field, N)};
}

// Writes `text` into a field, cut to N - 1 bytes so the field keeps its zero, and zeroes the
// rest of the field.
template <std::size_t N> void store_text(char (&field)[N], std::string_view text) {
  const std::size_t length = text.size() < N ? text.size() : N - 1;
  if (length > 0)
    std::memcpy(field, text.data(), length);
  std::memset(field + length, 0, N - length);
}

// The SSID alone may fill its field to the last byte; longer names are cut to 50 bytes.
void store_ssid(NetworkEntry& entry, std::string_view ssid);
