// Whether an adapter is a Wi-Fi one: never the bridge's wired port. The front ends pass such
// adapters over, and the link helper refuses them, by this one test.
#pragma once

#include "link/adapter_access.h"

// Flagged wireless by the system, or described as "Wireless" or "Wifi" (either case of the
// first letter).
bool is_wireless_adapter(const AdapterInfo& adapter);
