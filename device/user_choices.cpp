#include "device/user_choices.h"

#include <algorithm>
#include <cstring>
#include <string>

void choose_listed_network(const NetworkEntry& row, std::string_view ssid) {
  std::memset(&WirelessSettings, 0, sizeof WirelessSettings);
  store_ssid(WirelessSettings, ssid);
  store_text(WirelessSettings.channel, field_text(row.channel));
  store_text(WirelessSettings.security, field_text(row.security));
}

void choose_typed_network(std::string_view ssid, int channel) {
  std::memset(&WirelessSettings, 0, sizeof WirelessSettings);
  store_ssid(WirelessSettings, ssid);
  store_text(WirelessSettings.channel, std::to_string(channel));
}

void choose_open_network() {
  store_text(WirelessSettings.security, stored_security_text(SECURITY_DISABLE));
}

void choose_wep_keys(const std::string_view (&keys)[WEP_KEY_COUNT], bool typed_as_hex,
                     int default_key, WepWidth width) {
  store_text(WirelessSettings.security, stored_security_text(SECURITY_WEP, width));
  std::memset(&WirelessKeys, 0, sizeof WirelessKeys);
  store_text(WirelessKeys.key_index, std::to_string(std::max(default_key, 0)));
  char(*fields[WEP_KEY_COUNT])[sizeof WirelessKeys.wep_key1] = {
      &WirelessKeys.wep_key1, &WirelessKeys.wep_key2, &WirelessKeys.wep_key3,
      &WirelessKeys.wep_key4};
  for (int i = 0; i < WEP_KEY_COUNT; ++i)
    if (!keys[i].empty())
      store_text(*fields[i], stored_wep_key(keys[i], typed_as_hex));
}

void choose_wpa_passphrase(int mode, std::string_view passphrase) {
  store_text(WirelessSettings.security, stored_security_text(mode));
  std::memset(&WirelessKeys, 0, sizeof WirelessKeys);
  store_text(WirelessKeys.passphrase, passphrase);
}
