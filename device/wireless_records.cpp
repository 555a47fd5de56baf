#include "device/wireless_records.h"

NetworkEntry NetworkTable[NETWORK_TABLE_ENTRIES];
NetworkEntry CurrentNetwork;
NetworkEntry WirelessSettings;
WirelessKeySet WirelessKeys;

void store_ssid(NetworkEntry& entry, std::string_view ssid) {
  const std::size_t length = ssid.size() < SSID_WIDTH ? ssid.size() : SSID_WIDTH;
  if (length > 0)
    std::memcpy(entry.ssid, ssid.data(), length);
  std::memset(entry.ssid + length, 0, SSID_WIDTH - length);
}
