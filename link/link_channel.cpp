#include "link/link_channel.h"

#include "link/link_timing.h"

namespace {

thread_local LinkChannel* bound_channel = nullptr;

} // namespace

LinkChannel& process_link_channel() {
  static LinkChannel channel;
  return channel;
}

LinkChannel& link_channel() { return bound_channel ? *bound_channel : process_link_channel(); }

BoundLinkChannel::BoundLinkChannel(LinkChannel& channel) : previous_(bound_channel) {
  bound_channel = &channel;
}

BoundLinkChannel::~BoundLinkChannel() { bound_channel = previous_; }

void stop_link_channel(LinkChannel& channel) {
  channel.stopped = true;
  wake_link_pauses();
}
