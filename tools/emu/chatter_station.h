// A second station on the wire that broadcasts link frames on its own (another copy of the
// wizard probing, say), through its own capture so the bridge's capture does not see them.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "link/pcap_capture.h"
#include "tools/emu/log_file.h"

class ChatterStation {
public:
  // interval_ms 0 sends back to back; such a flood is logged as one "flood" line a second.
  ChatterStation(std::unique_ptr<PcapCapture> capture, const std::uint8_t* mac, int interval_ms,
                 LogFile* log);
  ~ChatterStation(); // stops and joins
  ChatterStation(const ChatterStation&) = delete;
  ChatterStation& operator=(const ChatterStation&) = delete;

private:
  void run();
  bool pause(std::chrono::milliseconds duration);

  std::unique_ptr<PcapCapture> capture_;
  std::uint8_t mac_[6];
  int interval_ms_;
  LogFile* log_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stop_ = false;
  std::thread thread_;
};
