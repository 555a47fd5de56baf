#include "tests/support/fake_bridge.h"

#include <algorithm>
#include <cstring>

#include "link/link_frame.h"

namespace {

constexpr std::uint32_t UNKNOWN_REPLY_CODE = 0x0000ffff;
constexpr int LATE_TICKS = 3;

Scenario with_mac(Scenario scenario, const std::uint8_t* mac) {
  std::memcpy(scenario.mac, mac, sizeof scenario.mac);
  return scenario;
}

// Rewrites a reply's header with another code or length field.
void rewrite_header(Bytes& frame, std::uint32_t code, int length) {
  std::uint8_t dst[MAC_SIZE];
  std::uint8_t src[MAC_SIZE];
  std::memcpy(dst, frame.data(), MAC_SIZE);
  std::memcpy(src, frame.data() + MAC_SIZE, MAC_SIZE);
  build_frame(frame.data(), src, dst, code, frame_param(frame.data()),
              static_cast<std::uint16_t>(length));
}

} // namespace

Bytes report_payload(const std::string& text) {
  Bytes payload(2 + text.size(), 0);
  std::copy(text.begin(), text.end(), payload.begin() + 2);
  return payload;
}

FakeBridge::FakeBridge(ScriptedCapture& capture, const std::uint8_t* mac, Scenario scenario)
    : capture_(capture), previous_(capture.on_send), bridge_(with_mac(std::move(scenario), mac)) {
  std::memcpy(mac_, mac, sizeof mac_);
  capture_.on_send = [this](const Bytes& frame) {
    if (previous_)
      previous_(frame);
    handle(frame);
  };
}

FakeBridge::~FakeBridge() { capture_.on_send = previous_; }

void FakeBridge::inject(ReplyKind kind, BridgeFault fault, int times) {
  std::lock_guard lock(mutex_);
  auto& queue = faults_[kind];
  queue.insert(queue.end(), static_cast<std::size_t>(times), fault);
}

void FakeBridge::set_report(Bytes payload) {
  std::lock_guard lock(mutex_);
  raw_report_ = std::move(payload);
  has_raw_report_ = true;
}

void FakeBridge::set_scenario(Scenario scenario) {
  std::lock_guard lock(mutex_);
  bridge_ = EmulatedBridge(with_mac(std::move(scenario), mac_));
}

std::string FakeBridge::stored_settings() const {
  std::lock_guard lock(mutex_);
  return bridge_.settings_text();
}

std::string FakeBridge::present_ssid() const {
  std::lock_guard lock(mutex_);
  return bridge_.present_ssid();
}

int FakeBridge::done_count() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(std::count(requests_.begin(), requests_.end(), CMD_DONE));
}

std::vector<std::uint32_t> FakeBridge::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void FakeBridge::handle(const Bytes& frame) {
  if (frame.size() < LINK_HEADER_SIZE || !frame_has_ethertype(frame.data(), LINK_ETHERTYPE))
    return;
  const bool to_me = std::memcmp(frame.data(), mac_, sizeof mac_) == 0;
  const bool broadcast = std::memcmp(frame.data(), BROADCAST_MAC, MAC_SIZE) == 0;
  if (!to_me && !broadcast)
    return;

  std::lock_guard lock(mutex_);
  requests_.push_back(frame_code(frame.data()));
  for (OutgoingFrame& reply : bridge_.handle(frame.data(), static_cast<int>(frame.size())))
    send(std::move(reply), frame.data() + MAC_SIZE);
}

void FakeBridge::send(OutgoingFrame reply, const std::uint8_t* to) {
  if ((reply.kinds & REPLY_REPORT) && has_raw_report_)
    reply.bytes = make_reply(mac_, to, RSP_EXECUTE_DATA, raw_report_);
  BridgeFault fault = BridgeFault::Pass;
  for (auto& [kind, queue] : faults_) {
    if ((reply.kinds & kind) && !queue.empty()) {
      fault = queue.front();
      queue.pop_front();
      break;
    }
  }
  Bytes& bytes = reply.bytes;
  switch (fault) {
  case BridgeFault::Drop:
    return;
  case BridgeFault::WrongCode:
    rewrite_header(bytes, UNKNOWN_REPLY_CODE, frame_length_field(bytes.data()));
    break;
  case BridgeFault::BadLength:
    rewrite_header(bytes, frame_code(bytes.data()), frame_length_field(bytes.data()) + 1);
    break;
  case BridgeFault::Late:
    capture_.queue_ticks(LATE_TICKS);
    break;
  case BridgeFault::Pass:
    break;
  }
  capture_.queue_frame(std::move(bytes));
}
