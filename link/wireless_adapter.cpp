#include "link/wireless_adapter.h"

#include <pcap/pcap.h>

bool is_wireless_adapter(const AdapterInfo& adapter) {
  if (adapter.flags & PCAP_IF_WIRELESS)
    return true;
  for (const char* word : {"Wireless", "wireless", "Wifi", "wifi"})
    if (adapter.description.find(word) != std::string::npos)
      return true;
  return false;
}
