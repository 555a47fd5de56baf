// The test network of the benchmarks that run over veth. They need network namespaces (root):
// where none can be made they say why and end as skipped.
#pragma once

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "link/adapter_selection.h"
#include "link/capture_handle.h"
#include "tests/netns/testnet.h"

// True, after saying why, when this machine cannot make test namespaces.
inline bool skipped_without_namespaces(const char* bench) {
  const std::string reason = netns::unavailable_reason();
  if (reason.empty())
    return false;
  std::printf("%s skipped: %s\n", bench, reason.c_str());
  return true;
}

// eth0 with `wizard_mac` (colon form) in the wizard's namespace, its peer br0 in a bridge
// namespace where the emulator plays `scenario`; then this process in the wizard's namespace
// with the capture open on eth0, as the procedures open it. Throws when it does not open.
inline netns::Emulator& enter_beside_bridge(netns::TestNet& net, const std::string& wizard_mac,
                                            const std::string& scenario) {
  const auto wizard = net.add_namespace("wiz");
  const auto bridge = net.add_namespace("br");
  net.add_veth(wizard, "eth0", wizard_mac, bridge, "br0", "-");
  netns::Emulator& emulator = net.start_emulator(bridge, "br0", scenario);
  net.enter(wizard);
  std::string mac_text = wizard_mac;
  std::replace(mac_text.begin(), mac_text.end(), ':', '-');
  if (reopen_adapter(mac_text.c_str()) != 0 || !capture_handle)
    throw std::runtime_error("cannot open the capture on eth0");
  return emulator;
}
