#include "tests/support/fake_bridge.h"

#include <algorithm>
#include <cstring>

#include "link/link_frame.h"

namespace {

constexpr std::uint32_t UNKNOWN_REPLY_CODE = 0x0000ffff;
constexpr int LATE_TICKS = 3;
const Bytes ACK_PAYLOAD = {0, 0};

std::string payload_text(const Bytes& frame) {
  const int length = frame_length_field(frame.data());
  const auto end = std::min<std::size_t>(frame.size(), LINK_HEADER_SIZE + std::max(length, 0));
  return {frame.begin() + LINK_HEADER_SIZE, frame.begin() + static_cast<std::ptrdiff_t>(end)};
}

// Value of the line that starts with `key` in a settings text, up to its line feed.
std::string setting_value(const std::string& text, const std::string& key) {
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = std::min(text.find('\n', at), text.size());
    if (text.compare(at, key.size(), key) == 0)
      return text.substr(at + key.size(), end - at - key.size());
    at = end + 1;
  }
  return {};
}

} // namespace

Bytes report_payload(const std::string& text) {
  Bytes payload(2 + text.size(), 0);
  std::copy(text.begin(), text.end(), payload.begin() + 2);
  return payload;
}

Bytes survey_report_payload(const BridgeScenario& scenario) {
  std::string text;
  text += "SSID:" + scenario.present_ssid + "\n";
  text += "7001 :16\n7002 :0\n";
  text += std::string("7003 :") + scenario.present_mode + "\n";
  text += std::string("SECMODE:") + scenario.present_mode + "\n";
  if (scenario.with_list) {
    text += "SURVEY:\f";
    for (const FakeNetwork& network : scenario.networks)
      text += network.ssid + '\f' + network.mac_text + ',' + network.channel + ',' + network.mode +
              ',' + network.security + ',' + network.signal + '\v';
  }
  Bytes payload = report_payload(text);
  payload.resize(std::min<std::size_t>(payload.size(), MAX_FRAME_SIZE - LINK_HEADER_SIZE));
  return payload;
}

FakeBridge::FakeBridge(ScriptedCapture& capture, const std::uint8_t* mac, BridgeScenario scenario)
    : capture_(capture), previous_(capture.on_send), scenario_(std::move(scenario)) {
  std::memcpy(mac_, mac, sizeof mac_);
  capture_.on_send = [this](const Bytes& frame) {
    if (previous_)
      previous_(frame);
    handle(frame);
  };
}

FakeBridge::~FakeBridge() { capture_.on_send = previous_; }

void FakeBridge::inject(BridgeReply reply, BridgeFault fault, int times) {
  std::lock_guard lock(mutex_);
  auto& queue = faults_[static_cast<int>(reply)];
  queue.insert(queue.end(), static_cast<std::size_t>(times), fault);
}

void FakeBridge::set_report(Bytes payload) {
  std::lock_guard lock(mutex_);
  raw_report_ = std::move(payload);
  has_raw_report_ = true;
}

void FakeBridge::set_scenario(BridgeScenario scenario) {
  std::lock_guard lock(mutex_);
  scenario_ = std::move(scenario);
}

BridgeScenario FakeBridge::scenario() const {
  std::lock_guard lock(mutex_);
  return scenario_;
}

std::string FakeBridge::stored_settings() const {
  std::lock_guard lock(mutex_);
  return stored_settings_;
}

int FakeBridge::applied_count() const {
  std::lock_guard lock(mutex_);
  return applied_count_;
}

int FakeBridge::done_count() const {
  std::lock_guard lock(mutex_);
  return done_count_;
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
  const std::uint8_t* sender = frame.data() + 6;
  const std::uint32_t code = frame_code(frame.data());

  std::lock_guard lock(mutex_);
  requests_.push_back(code);
  switch (code) {
  case CMD_PROBE:
    if (broadcast)
      reply(BridgeReply::Probe, sender, CMD_PROBE, ACK_PAYLOAD);
    break;
  case CMD_BEGIN:
    reply(BridgeReply::Begin, sender, RSP_BEGIN, ACK_PAYLOAD);
    break;
  case CMD_WRITE:
    pending_command_ = payload_text(frame);
    reply(BridgeReply::Write, sender, RSP_WRITE, ACK_PAYLOAD);
    break;
  case CMD_EXECUTE:
    if (pending_command_.rfind("9100:", 0) == 0) {
      reply(BridgeReply::Report, sender, RSP_EXECUTE_DATA,
            has_raw_report_ ? raw_report_ : survey_report_payload(scenario_));
      break;
    }
    if (pending_command_.rfind("9002:", 0) == 0)
      apply_settings();
    else if (pending_command_.rfind("7000 :", 0) == 0)
      stored_settings_ = pending_command_;
    reply(BridgeReply::ExecuteAck, sender, RSP_EXECUTE_ACK, ACK_PAYLOAD);
    break;
  case CMD_DONE:
    ++done_count_;
    break;
  default:
    break;
  }
}

void FakeBridge::reply(BridgeReply kind, const std::uint8_t* to, std::uint32_t code,
                       const Bytes& payload) {
  auto& faults = faults_[static_cast<int>(kind)];
  BridgeFault fault{};
  const bool faulty = !faults.empty();
  if (faulty) {
    fault = faults.front();
    faults.pop_front();
  }
  if (faulty && fault == BridgeFault::Drop)
    return;
  int length = static_cast<int>(payload.size());
  if (faulty && fault == BridgeFault::BadLength)
    ++length;
  if (faulty && fault == BridgeFault::WrongCode)
    code = UNKNOWN_REPLY_CODE;
  if (faulty && fault == BridgeFault::Late)
    capture_.queue_ticks(LATE_TICKS);
  capture_.queue_frame(make_reply(mac_, to, code, payload, length));
}

void FakeBridge::apply_settings() {
  ++applied_count_;
  if (stored_settings_.empty())
    return;
  scenario_.present_ssid = setting_value(stored_settings_, "7000 :");
  const std::string mode = setting_value(stored_settings_, "7003 :");
  scenario_.present_mode = mode.empty() ? '0' : mode.front();
}
