// The start-up test of an adapter where the process holds its captures itself (the emulator's
// tests and benchmarks): a Linux capture does not see what it sent itself, so a second capture
// sends the probe and the adapter's capture sees it go out. A down or silent adapter sees
// nothing within the wait.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "link/adapter_access.h"

// As AdapterAccess::probe_adapter; the sender is opened through `access`.
int probe_through_second_capture(AdapterAccess& access, const char* name, const std::uint8_t* mac,
                                 CaptureHandle& capture, std::chrono::milliseconds wait,
                                 std::string* error);
