// Whether a frame this host sends goes out on an adapter: a packet socket that sees that one
// frame and nothing else. The start-up probe learns so without a capture of outgoing traffic,
// which would show a client what other users send.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "helper/link_service.h"

// Null with the reason when the watch cannot be set up.
std::unique_ptr<OutgoingWatch> make_outgoing_watch(const std::string& adapter,
                                                   const std::uint8_t* frame, int size,
                                                   std::string* error);
