// An in-process bridge behind a ScriptedCapture: the emulator's bridge (tools/emu) answers the
// wizard's frames (probe, begin, write, execute, done), reports its scenario's survey, keeps a
// written settings text and applies it on "9002:". Pages and procedures run against it without
// a wire or root. A test spoils single replies by kind, counted in page-timer ticks where the
// emulator counts milliseconds.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "link/link_frame.h"
#include "tests/support/scripted_capture.h"
#include "tools/emu/emulated_bridge.h"
#include "tools/emu/scenario.h"

// A report payload: the two bytes that precede the report text, then the text.
Bytes report_payload(const std::string& text);

enum class BridgeFault {
  Pass,      // a normal reply: lets a later fault hit the second reply of a kind
  Drop,      // no reply at all
  WrongCode, // the reply carries a code that no step waits for
  BadLength, // the length field is one more than the reply's own
  Late,      // three page-timer ticks pass before the reply comes: too late for limit 2
};

class FakeBridge {
public:
  // Plays `scenario` with the bridge's MAC `mac`. Answers through `capture.on_send` (an earlier
  // handler still runs first, so several bridges may share a capture). Create it after the
  // capture and destroy it before.
  FakeBridge(ScriptedCapture& capture, const std::uint8_t* mac, Scenario scenario = {});
  ~FakeBridge();
  FakeBridge(const FakeBridge&) = delete;
  FakeBridge& operator=(const FakeBridge&) = delete;

  // The next `times` replies of `kind` (REPLY_PROBE, REPLY_BEGIN, REPLY_WRITE, REPLY_ACK or
  // REPLY_REPORT) suffer `fault`; faults queue up in order.
  void inject(ReplyKind kind, BridgeFault fault, int times = 1);
  // Sends these payload bytes (two leading bytes included) as the report instead of the
  // scenario's, with a length field that matches them.
  void set_report(Bytes payload);
  // Starts over as a bridge that plays `scenario`.
  void set_scenario(Scenario scenario);

  // The settings text of the last settings write, byte for byte; empty before one.
  std::string stored_settings() const;
  // The SSID the bridge reports as its present one: a written one once "9002:" applied it.
  std::string present_ssid() const;
  int done_count() const; // CMD_DONE frames received
  // Codes of the frames addressed to this bridge, in order of arrival.
  std::vector<std::uint32_t> requests() const;

private:
  void handle(const Bytes& frame);
  void send(OutgoingFrame reply, const std::uint8_t* to);

  ScriptedCapture& capture_;
  std::uint8_t mac_[6];
  std::function<void(const Bytes&)> previous_;
  mutable std::mutex mutex_;
  EmulatedBridge bridge_;
  std::map<ReplyKind, std::deque<BridgeFault>> faults_;
  Bytes raw_report_;
  bool has_raw_report_ = false;
  std::vector<std::uint32_t> requests_;
};

// A procedure's world: a scripted wire with a fake bridge behind it, and the procedure's send
// and receive buffers. One at a time, since it installs the process's capture.
struct BridgeRig {
  explicit BridgeRig(const std::uint8_t* bridge_mac, Scenario scenario = {})
      : bridge(link.capture(), bridge_mac, std::move(scenario)) {}

  ScriptedLink link;
  ScriptedCapture& capture = link.capture();
  FakeBridge bridge;
  std::vector<std::uint8_t> send = std::vector<std::uint8_t>(MAX_FRAME_SIZE);
  std::vector<std::uint8_t> receive = std::vector<std::uint8_t>(MAX_FRAME_SIZE);
};
