#include "device/wireless_records.h"

namespace {

WirelessRecords& process_records() {
  static WirelessRecords records{};
  return records;
}

thread_local WirelessRecords* bound_records = nullptr;

} // namespace

NetworkEntry (&NetworkTable)[NETWORK_TABLE_ENTRIES] = process_records().network_table;
NetworkEntry& CurrentNetwork = process_records().current_network;
NetworkEntry& WirelessSettings = process_records().wireless_settings;
WirelessKeySet& WirelessKeys = process_records().wireless_keys;

WirelessRecords& wireless_records() { return bound_records ? *bound_records : process_records(); }

BoundWirelessRecords::BoundWirelessRecords(WirelessRecords& records) : previous_(bound_records) {
  bound_records = &records;
}

BoundWirelessRecords::~BoundWirelessRecords() { bound_records = previous_; }

void store_ssid(NetworkEntry& entry, std::string_view ssid) {
  const std::size_t length = ssid.size() < SSID_WIDTH ? ssid.size() : SSID_WIDTH;
  if (length > 0)
    std::memcpy(entry.ssid, ssid.data(), length);
  std::memset(entry.ssid + length, 0, SSID_WIDTH - length);
}
