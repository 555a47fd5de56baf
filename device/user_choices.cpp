#include "device/user_choices.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

NetworkEntry& settings() { return wireless_records().wireless_settings; }
WirelessKeySet& keys_record() { return wireless_records().wireless_keys; }

} // namespace

void choose_listed_network(const NetworkEntry& row, std::string_view ssid) {
  std::memset(&settings(), 0, sizeof(NetworkEntry));
  store_ssid(settings(), ssid);
  store_text(settings().channel, field_text(row.channel));
  store_text(settings().security, field_text(row.security));
}

void choose_typed_network(std::string_view ssid, int channel) {
  std::memset(&settings(), 0, sizeof(NetworkEntry));
  store_ssid(settings(), ssid);
  store_text(settings().channel, std::to_string(channel));
}

void choose_open_network() {
  store_text(settings().security, stored_security_text(SECURITY_DISABLE));
}

void choose_wep_keys(const std::string_view (&keys)[WEP_KEY_COUNT], bool typed_as_hex,
                     int default_key, WepWidth width) {
  store_text(settings().security, stored_security_text(SECURITY_WEP, width));
  WirelessKeySet& stored = keys_record();
  std::memset(&stored, 0, sizeof stored);
  store_text(stored.key_index, std::to_string(std::max(default_key, 0)));
  char(*fields[WEP_KEY_COUNT])[sizeof stored.wep_key1] = {&stored.wep_key1, &stored.wep_key2,
                                                          &stored.wep_key3, &stored.wep_key4};
  for (int i = 0; i < WEP_KEY_COUNT; ++i)
    if (!keys[i].empty())
      store_text(*fields[i], stored_wep_key(keys[i], typed_as_hex));
}

void choose_wpa_passphrase(int mode, std::string_view passphrase) {
  store_text(settings().security, stored_security_text(mode));
  std::memset(&keys_record(), 0, sizeof(WirelessKeySet));
  store_text(keys_record().passphrase, passphrase);
}
