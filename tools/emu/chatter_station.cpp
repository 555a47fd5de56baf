#include "tools/emu/chatter_station.h"

#include <cstring>

#include "link/link_frame.h"

ChatterStation::ChatterStation(std::unique_ptr<PcapCapture> capture, const std::uint8_t* mac,
                               int interval_ms, LogFile* log)
    : capture_(std::move(capture)), interval_ms_(interval_ms), log_(log) {
  std::memcpy(mac_, mac, sizeof mac_);
  thread_ = std::thread([this] { run(); });
}

ChatterStation::~ChatterStation() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

bool ChatterStation::pause(std::chrono::milliseconds duration) {
  std::unique_lock lock(mutex_);
  return !wake_.wait_for(lock, duration, [this] { return stop_; });
}

void ChatterStation::run() {
  std::uint8_t frame[REQUEST_FRAME_SIZE];
  const int size = build_probe_request(frame, mac_, BROADCAST_MAC);
  if (interval_ms_ > 0) {
    do {
      capture_->send(frame, size);
      log_->frame("tx", frame, size);
    } while (pause(std::chrono::milliseconds{interval_ms_}));
    return;
  }
  log_->frame("tx", frame, size);
  auto report_at = std::chrono::steady_clock::now() + std::chrono::seconds{1};
  long sent = 0;
  const auto report = [&] {
    std::string line = format_log_line(log_->seconds(), "flood", frame, size);
    line.resize(line.rfind('"', line.size() - 2));
    log_->line(line + "\"" + std::to_string(sent) + " frames\"");
    sent = 0;
  };
  for (;;) {
    for (int burst = 0; burst < 64; ++burst)
      if (capture_->send(frame, size) == 0)
        ++sent;
    {
      std::lock_guard lock(mutex_);
      if (stop_)
        break;
    }
    if (std::chrono::steady_clock::now() >= report_at) {
      report();
      report_at += std::chrono::seconds{1};
    }
  }
  report();
}
