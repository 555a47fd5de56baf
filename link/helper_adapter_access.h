// The link's adapters and captures as the front ends use them: through qbr20g-link, the helper
// that alone holds CAP_NET_RAW (see link_helper.h). Adapter selection, discovery and the
// exchange run unchanged over these.
#pragma once

#include <memory>

#include "link/adapter_access.h"

std::unique_ptr<AdapterAccess> make_helper_adapter_access();
