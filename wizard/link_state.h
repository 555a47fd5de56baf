// Link state shared by the pages and their workers: the usable host adapters (the first one
// is the wizard's own address once discovery has cut the list) and the chosen bridge. Each is
// read and written whole under its own lock, since workers and the UI thread both use them.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstring>
#include <mutex>
#include <string>
#include <string_view>

#include "link/adapter_selection.h"

template <std::size_t Capacity> class GuardedText {
public:
  std::string Get() const {
    std::lock_guard lock(mutex_);
    return std::string(text_, strnlen(text_, Capacity));
  }
  // Stores at most Capacity - 1 characters.
  void Set(std::string_view text) {
    std::lock_guard lock(mutex_);
    const std::size_t length = std::min(text.size(), Capacity - 1);
    std::memset(text_, 0, Capacity);
    // An empty view may carry a null pointer, which memcpy must not get even for no bytes.
    if (length > 0)
      std::memcpy(text_, text.data(), length);
  }
  void Clear() { Set({}); }
  // Copies the text into a caller's zeroed buffer of the same capacity.
  void CopyTo(char (&buffer)[Capacity]) const {
    std::lock_guard lock(mutex_);
    std::memcpy(buffer, text_, Capacity);
  }

private:
  mutable std::mutex mutex_;
  char text_[Capacity] = {};
};

constexpr std::size_t SELECTED_DEVICE_MAC_SIZE = 30;

extern GuardedText<HOST_ADAPTER_LIST_SIZE> host_adapter_macs;
// Whether a bridge has answered a search: from then on `host_adapter_macs` holds the one adapter
// it answered on, and searches keep to it. Until then each search chooses the adapters again.
extern std::atomic<bool> bridges_answered;
extern GuardedText<SELECTED_DEVICE_MAC_SIZE> selected_device_mac;
