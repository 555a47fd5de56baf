// What an emulated bridge is and how it misbehaves: read from a scenario file of `key = value`
// lines and from --fault options.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Kinds of reply a fault applies to; a reply has several (a report is also an execute reply).
enum ReplyKind : unsigned {
  REPLY_PROBE = 1u << 0,
  REPLY_BEGIN = 1u << 1,
  REPLY_WRITE = 1u << 2,
  REPLY_WRITE_9107 = 1u << 3,
  REPLY_WRITE_9100 = 1u << 4,
  REPLY_WRITE_SETTINGS = 1u << 5,
  REPLY_WRITE_9002 = 1u << 6,
  REPLY_EXECUTE = 1u << 7,
  REPLY_ACK = 1u << 8,
  REPLY_REPORT = 1u << 9,
  REPLY_ANY = 0xffffffffu,
};

struct Fault {
  enum Type { Drop, Lossy, Delay, WrongCode, BadLength, Vanish, Chatter, Silent } type = Drop;
  unsigned kinds = 0; // ReplyKind bits the fault applies to
  // frames (drop, wrong-code, bad-length), one in how many (lossy), which reply (vanish) or
  // milliseconds (delay, chatter)
  int amount = 0;
  std::uint8_t mac[6] = {}; // chatter: the other station
};

// One network of the survey report; fields are raw bytes as the bridge sends them.
struct SurveyNetwork {
  std::string ssid;
  std::string mac;
  std::string channel;
  std::string mode;
  std::string security;
  std::string signal;
};

struct Scenario {
  std::uint8_t mac[6] = {0x02, 0x00, 0x00, 0x00, 0x00, 0xb1};
  std::string ssid;   // present SSID
  char secmode = '0'; // present security mode digit
  std::vector<SurveyNetwork> networks;
  std::vector<Fault> faults;
};

// Reads a scenario text into *scenario (on top of what it holds). Returns 0, or -1 with a
// message naming the line in *error.
int parse_scenario(const std::string& text, Scenario* scenario, std::string* error);

// Reads the text of one fault ("drop begin 1", "lossy any 2", "chatter 02:00:00:00:00:cc 0",
// "silent", ...).
int parse_fault(const std::string& text, Fault* fault, std::string* error);

// The fault syntax and kinds, for --help.
extern const char* const FAULT_HELP;
