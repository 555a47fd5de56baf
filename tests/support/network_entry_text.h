// A network entry as one line of text, its fields in record order joined by '|', so that a
// test compares a whole entry at once and a failure shows every field.
#pragma once

#include <string>

#include "device/wireless_records.h"

inline std::string network_entry_text(const NetworkEntry& entry) {
  std::string text = std::to_string(entry.signal);
  for (const std::string_view field :
       {field_text(entry.ssid), field_text(entry.mac_text), field_text(entry.channel),
        field_text(entry.speed), field_text(entry.security), field_text(entry.signal_text)})
    text.append("|").append(field);
  return text;
}
