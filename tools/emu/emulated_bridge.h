// The bridge's side of the link: answers probe, begin, write and execute frames addressed to it
// (or to everyone), keeps the settings text of a write and applies it on "9002:", and injects
// the scenario's faults into its replies.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/emu/scenario.h"

struct OutgoingFrame {
  std::vector<std::uint8_t> bytes;
  int delay_ms = 0;   // wait this long before sending it
  unsigned kinds = 0; // the ReplyKind bits of a reply; 0 for a frame that a fault adds
};

class EmulatedBridge {
public:
  explicit EmulatedBridge(const Scenario& scenario);

  // The frames to send in answer to one received frame, in order.
  std::vector<OutgoingFrame> handle(const std::uint8_t* frame, int size);

  // True once after each settings write, so the caller can store the text.
  bool take_settings_changed();
  const std::string& settings_text() const { return settings_; }
  const std::string& present_ssid() const { return ssid_; }
  char present_secmode() const { return secmode_; }
  const std::uint8_t* mac() const { return scenario_.mac; }
  // True once a vanish fault has struck: the bridge answers nothing more.
  bool vanished() const { return vanished_; }

private:
  enum class Command { None, Scan, Report, Settings, Apply };

  void reply(std::vector<OutgoingFrame>* out, const std::uint8_t* to, std::uint32_t code,
             const std::string& payload, unsigned kinds);
  void apply_settings();

  Scenario scenario_;
  std::vector<int> fault_left_; // per fault: replies it still affects (drop, bad-length, vanish)
  std::vector<int> fault_seen_; // per fault: replies of its kinds so far (lossy)
  std::string ssid_;
  char secmode_;
  std::string settings_;
  bool settings_changed_ = false;
  bool vanished_ = false;
  Command last_write_ = Command::None;
};

// The code of the frames that a wrong-code fault sends ahead of a reply with `code`.
std::uint32_t wrong_code_for(std::uint32_t code);
