// The link's adapters and captures as the front ends use them: through qbr20g-link, the helper
// that alone holds CAP_NET_RAW (see link_helper.h). Adapter selection, discovery and the
// exchange run unchanged over these.
#pragma once

#include <memory>

#include "link/adapter_access.h"

// Through the process's helper (link_helper.h), recovered after a loss.
std::unique_ptr<AdapterAccess> make_helper_adapter_access();
// Through a helper of its own, started on first use and ended with the access: for a worker
// that runs beside others, so that no wait of one holds up another's. A lost one stays lost.
std::unique_ptr<AdapterAccess> make_own_helper_adapter_access();
