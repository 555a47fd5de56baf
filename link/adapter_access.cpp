#include "link/adapter_access.h"

#include "link/helper_adapter_access.h"
#include "link/link_channel.h"

namespace {

std::unique_ptr<AdapterAccess>& installed_access() {
  static std::unique_ptr<AdapterAccess> access = make_helper_adapter_access();
  return access;
}

} // namespace

AdapterAccess& adapter_access() {
  const LinkChannel& channel = link_channel();
  return channel.access ? *channel.access : *installed_access();
}

std::unique_ptr<AdapterAccess> replace_adapter_access(std::unique_ptr<AdapterAccess> access) {
  auto previous = std::move(installed_access());
  installed_access() = access ? std::move(access) : make_helper_adapter_access();
  return previous;
}
