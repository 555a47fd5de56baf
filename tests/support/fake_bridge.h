// An in-process bridge behind a ScriptedCapture: it answers the wizard's frames as the real
// bridge does (probe, begin, write, execute, done), builds its site-survey report from a
// scenario, keeps a written settings text and applies it on "9002:". Pages and procedures
// run against it without a wire or root. Faults are injected per kind of reply.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "tests/support/scripted_capture.h"

struct FakeNetwork {
  std::string ssid; // bytes as heard on the air; empty for a hidden network
  std::string mac_text = "00-0e-8e-10-20-30";
  std::string channel = "6";
  std::string mode = "G"; // mode letters; the first one gives the speed
  char security = '3';    // security digit
  std::string signal = "78";
};

struct BridgeScenario {
  std::string present_ssid = "default";
  char present_mode = '0';
  bool with_list = true; // false: the report has no "SURVEY:" part
  std::vector<FakeNetwork> networks;
};

// A report payload: the two bytes that precede the report text, then the text.
Bytes report_payload(const std::string& text);

// The report payload for a scenario, its two leading bytes included, cut to what one frame
// carries (a cut last entry lacks its vertical tab).
Bytes survey_report_payload(const BridgeScenario& scenario);

enum class BridgeReply { Probe, Begin, Write, ExecuteAck, Report, Count };

enum class BridgeFault {
  Pass,      // a normal reply: lets a later fault hit the second reply of a kind
  Drop,      // no reply at all
  WrongCode, // the reply carries a code that no step waits for
  BadLength, // the length field is one more than the reply's own
  Late,      // three page-timer ticks pass before the reply comes: too late for limit 2
};

class FakeBridge {
public:
  // Answers through `capture.on_send` (an earlier handler still runs first, so several bridges
  // may share a capture). Create it after the capture and destroy it before.
  FakeBridge(ScriptedCapture& capture, const std::uint8_t* mac, BridgeScenario scenario = {});
  ~FakeBridge();
  FakeBridge(const FakeBridge&) = delete;
  FakeBridge& operator=(const FakeBridge&) = delete;

  // The next `times` replies of that kind suffer `fault`; faults queue up in order.
  void inject(BridgeReply reply, BridgeFault fault, int times = 1);
  // Sends these payload bytes (two leading bytes included) as the report instead of the
  // scenario's, with a length field that matches them.
  void set_report(Bytes payload);

  void set_scenario(BridgeScenario scenario);
  BridgeScenario scenario() const;
  // The settings text of the last executed write, byte for byte; empty before one.
  std::string stored_settings() const;
  int applied_count() const; // "9002:" commands executed
  int done_count() const;    // CMD_DONE frames received
  // Codes of the frames addressed to this bridge, in order of arrival.
  std::vector<std::uint32_t> requests() const;

private:
  void handle(const Bytes& frame);
  void reply(BridgeReply kind, const std::uint8_t* to, std::uint32_t code, const Bytes& payload);
  void apply_settings();

  ScriptedCapture& capture_;
  std::uint8_t mac_[6];
  std::function<void(const Bytes&)> previous_;
  mutable std::mutex mutex_;
  BridgeScenario scenario_;
  std::array<std::deque<BridgeFault>, static_cast<int>(BridgeReply::Count)> faults_;
  Bytes raw_report_;
  bool has_raw_report_ = false;
  std::string pending_command_;
  std::string stored_settings_;
  int applied_count_ = 0;
  int done_count_ = 0;
  std::vector<std::uint32_t> requests_;
};
