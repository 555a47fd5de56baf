#include "tools/emu/emulated_bridge.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "link/link_frame.h"
#include "tools/emu/survey_report.h"

namespace {

constexpr int MIN_ETHERNET_FRAME = 60;
constexpr int ACK_LENGTH = 2;

bool starts_with(const std::string& text, const char* prefix) {
  return text.compare(0, std::strlen(prefix), prefix) == 0;
}

// The value of the settings line that starts with `key`, up to its line feed.
bool settings_value(const std::string& settings, const char* key, std::string* value) {
  std::size_t at = 0;
  while (at < settings.size()) {
    const std::size_t end = std::min(settings.find('\n', at), settings.size());
    const std::string line = settings.substr(at, end - at);
    if (starts_with(line, key)) {
      *value = line.substr(std::strlen(key));
      return true;
    }
    at = end + 1;
  }
  return false;
}

} // namespace

std::uint32_t wrong_code_for(std::uint32_t code) {
  return code == RSP_EXECUTE_ACK ? RSP_EXECUTE_DATA : RSP_EXECUTE_ACK;
}

EmulatedBridge::EmulatedBridge(const Scenario& scenario)
    : scenario_(scenario), ssid_(scenario.ssid), secmode_(scenario.secmode) {
  for (const Fault& fault : scenario_.faults)
    fault_left_.push_back(fault.amount);
  fault_seen_.assign(scenario_.faults.size(), 0);
}

bool EmulatedBridge::take_settings_changed() { return std::exchange(settings_changed_, false); }

void EmulatedBridge::apply_settings() {
  std::string value;
  if (settings_value(settings_, "7000 :", &value))
    ssid_ = value;
  if (settings_value(settings_, "7003 :", &value) && !value.empty())
    secmode_ = value[0];
}

void EmulatedBridge::reply(std::vector<OutgoingFrame>* out, const std::uint8_t* to,
                           std::uint32_t code, const std::string& payload, unsigned kinds) {
  bool drop = false;
  bool bad_length = false;
  int wrong_codes = 0;
  int delay = 0;
  bool vanish = false;
  for (std::size_t i = 0; i < scenario_.faults.size(); ++i) {
    const Fault& fault = scenario_.faults[i];
    if (fault.type == Fault::Silent)
      return;
    if (!(fault.kinds & kinds))
      continue;
    switch (fault.type) {
    case Fault::Drop:
    case Fault::BadLength:
      if (fault_left_[i] > 0) {
        --fault_left_[i];
        (fault.type == Fault::Drop ? drop : bad_length) = true;
      }
      break;
    case Fault::Lossy:
      if (fault_seen_[i]++ % fault.amount == 0)
        drop = true;
      break;
    case Fault::WrongCode:
      wrong_codes += fault.amount;
      break;
    case Fault::Delay:
      delay += fault.amount;
      break;
    case Fault::Vanish:
      if (fault_left_[i] > 0 && --fault_left_[i] == 0)
        vanish = true;
      break;
    default:
      break;
    }
  }
  if (drop)
    return;

  const auto frame = [&](std::uint32_t frame_code, const std::string& data, int length) {
    const int size = std::max(MIN_ETHERNET_FRAME, LINK_HEADER_SIZE + static_cast<int>(data.size()));
    OutgoingFrame outgoing;
    outgoing.bytes.assign(static_cast<std::size_t>(size), 0);
    build_frame(outgoing.bytes.data(), scenario_.mac, to, frame_code, 0,
                static_cast<std::uint16_t>(length));
    std::copy(data.begin(), data.end(), outgoing.bytes.begin() + LINK_HEADER_SIZE);
    return outgoing;
  };
  const std::size_t first = out->size();
  for (int i = 0; i < wrong_codes; ++i)
    out->push_back(frame(wrong_code_for(code), std::string(ACK_LENGTH, '\0'), ACK_LENGTH));
  const bool is_report = (kinds & REPLY_REPORT) != 0;
  const int size =
      std::max(MIN_ETHERNET_FRAME, LINK_HEADER_SIZE + static_cast<int>(payload.size()));
  int length = is_report ? static_cast<int>(payload.size()) : ACK_LENGTH;
  if (code == CMD_PROBE)
    length = 0;
  if (bad_length)
    length = size - LINK_HEADER_SIZE + 1; // never 2: frames are at least 60 bytes
  out->push_back(frame(code, payload, length));
  out->back().kinds = kinds;
  (*out)[first].delay_ms = delay;
  if (vanish)
    vanished_ = true;
}

std::vector<OutgoingFrame> EmulatedBridge::handle(const std::uint8_t* frame, int size) {
  std::vector<OutgoingFrame> out;
  if (vanished_ || size < LINK_HEADER_SIZE || !frame_has_ethertype(frame, LINK_ETHERTYPE))
    return out;
  const bool to_us = std::memcmp(frame, scenario_.mac, 6) == 0;
  const bool to_all = std::memcmp(frame, BROADCAST_MAC, 6) == 0;
  if (!(to_us || to_all) || std::memcmp(frame + 6, scenario_.mac, 6) == 0)
    return out;
  const std::uint8_t* from = frame + 6;
  const std::string ack(ACK_LENGTH, '\0');

  switch (frame_code(frame)) {
  case CMD_PROBE:
    reply(&out, from, CMD_PROBE, "", REPLY_PROBE);
    break;
  case CMD_BEGIN:
    last_write_ = Command::None;
    reply(&out, from, RSP_BEGIN, ack, REPLY_BEGIN);
    break;
  case CMD_WRITE: {
    const int length = std::clamp<int>(frame_length_field(frame), 0, size - LINK_HEADER_SIZE);
    const std::string text(reinterpret_cast<const char*>(frame + LINK_HEADER_SIZE),
                           static_cast<std::size_t>(length));
    unsigned kind = REPLY_WRITE_SETTINGS;
    if (starts_with(text, "9107:")) {
      last_write_ = Command::Scan;
      kind = REPLY_WRITE_9107;
    } else if (starts_with(text, "9100:")) {
      last_write_ = Command::Report;
      kind = REPLY_WRITE_9100;
    } else if (starts_with(text, "9002:")) {
      last_write_ = Command::Apply;
      kind = REPLY_WRITE_9002;
    } else {
      last_write_ = Command::Settings;
      settings_ = text;
      settings_changed_ = true;
    }
    reply(&out, from, RSP_WRITE, ack, REPLY_WRITE | kind);
    break;
  }
  case CMD_EXECUTE:
    if (last_write_ == Command::Report) {
      reply(&out, from, RSP_EXECUTE_DATA, build_survey_report(ssid_, secmode_, scenario_.networks),
            REPLY_EXECUTE | REPLY_REPORT);
      break;
    }
    if (last_write_ == Command::Apply)
      apply_settings();
    reply(&out, from, RSP_EXECUTE_ACK, ack, REPLY_EXECUTE | REPLY_ACK);
    break;
  default: // CMD_DONE and anything else: no reply
    break;
  }
  return out;
}
