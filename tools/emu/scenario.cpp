#include "tools/emu/scenario.h"

#include <cstdlib>
#include <sstream>

#include "link/mac_text.h"
#include "tools/emu/escaped_text.h"

namespace {

struct KindName {
  const char* name;
  unsigned kinds;
};

constexpr KindName KIND_NAMES[] = {
    {"probe", REPLY_PROBE},
    {"begin", REPLY_BEGIN},
    {"write", REPLY_WRITE},
    {"write-9107", REPLY_WRITE_9107},
    {"write-9100", REPLY_WRITE_9100},
    {"write-settings", REPLY_WRITE_SETTINGS},
    {"write-9002", REPLY_WRITE_9002},
    {"execute", REPLY_EXECUTE},
    {"ack", REPLY_ACK},
    {"report", REPLY_REPORT},
    {"any", REPLY_ANY},
};

std::string trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos)
    return "";
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

// A comment starts at a '#' at the start of the line or after a blank; other '#' are data.
std::string strip_comment(const std::string& line) {
  for (std::size_t i = 0; i < line.size(); ++i)
    if (line[i] == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t'))
      return line.substr(0, i);
  return line;
}

// A value in double quotes takes the escapes of escaped_text.h (and keeps blanks and '#'); any
// other value is its raw bytes.
bool unquote(const std::string& value, std::string* out, std::string* error) {
  if (value.size() < 2 || value.front() != '"' || value.back() != '"') {
    *out = value;
    return true;
  }
  return unescape_text(std::string_view(value).substr(1, value.size() - 2), out, error);
}

bool parse_mac(const std::string& text, std::uint8_t* mac) {
  const std::size_t length = text.size();
  if (length != 17 && length != 12)
    return false;
  for (std::size_t i = 0; i < length; ++i) {
    const bool separator = length == 17 && i % 3 == 2;
    if (!separator && hex_digit_value(text[i]) < 0)
      return false;
  }
  return mac_text_to_bytes(text.c_str(), mac) == 0;
}

bool parse_count(const std::string& text, int* value) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
    return false;
  *value = std::atoi(text.c_str());
  return true;
}

// ssid|mac|channel|mode|security|signal, split from the right so an SSID may hold '|'.
bool parse_network(const std::string& value, SurveyNetwork* network) {
  std::string fields[6];
  std::string rest = value;
  for (int field = 5; field > 0; --field) {
    const auto bar = rest.rfind('|');
    if (bar == std::string::npos)
      return false;
    fields[field] = rest.substr(bar + 1);
    rest.resize(bar);
  }
  fields[0] = rest;
  *network = {fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]};
  return true;
}

} // namespace

const char* const FAULT_HELP =
    "drop KIND N            drop the first N replies of that kind\n"
    "lossy KIND N           drop one reply of that kind in every N, the first of each N\n"
    "                       (lossy any 2: every request's first send goes unanswered, its\n"
    "                       second send is answered)\n"
    "delay KIND MS          hold every reply of that kind for MS milliseconds\n"
    "wrong-code KIND N      before every reply of that kind, send N frames with another code\n"
    "                       (the execute-data code before an ack, the ack code otherwise)\n"
    "bad-length KIND N      the first N replies of that kind carry a length field that\n"
    "                       disagrees with their size (and is not 2)\n"
    "chatter MAC MS         a second station MAC broadcasts a CMD_PROBE frame every MS ms\n"
    "                       (0: back to back, a flood)\n"
    "vanish KIND N          after its Nth reply of that kind the bridge is gone, as if\n"
    "                       unplugged: it answers nothing more and exits\n"
    "silent                 never answer anything\n"
    "KIND is one of: probe, begin, write (any write), write-9107, write-9100, write-settings,\n"
    "write-9002, execute (any execute reply), ack (execute acknowledgements), report (the\n"
    "survey report), any. A reply that several faults name takes all of them.\n";

int parse_fault(const std::string& text, Fault* fault, std::string* error) {
  std::istringstream words(text);
  std::string type;
  std::string first;
  std::string second;
  std::string extra;
  words >> type >> first >> second >> extra;
  *fault = Fault{};
  if (type == "silent") {
    if (!first.empty()) {
      *error = "'silent' takes no arguments";
      return -1;
    }
    fault->type = Fault::Silent;
    return 0;
  }
  if (second.empty() || !extra.empty()) {
    *error = "fault '" + text + "': expected TYPE ARGUMENT ARGUMENT";
    return -1;
  }
  if (type == "chatter") {
    fault->type = Fault::Chatter;
    if (!parse_mac(first, fault->mac)) {
      *error = "fault '" + text + "': '" + first + "' is not a MAC address";
      return -1;
    }
  } else {
    if (type == "drop")
      fault->type = Fault::Drop;
    else if (type == "lossy")
      fault->type = Fault::Lossy;
    else if (type == "delay")
      fault->type = Fault::Delay;
    else if (type == "wrong-code")
      fault->type = Fault::WrongCode;
    else if (type == "bad-length")
      fault->type = Fault::BadLength;
    else if (type == "vanish")
      fault->type = Fault::Vanish;
    else {
      *error = "unknown fault '" + type +
               "' (drop, lossy, delay, wrong-code, bad-length, vanish, chatter, silent)";
      return -1;
    }
    for (const KindName& kind : KIND_NAMES)
      if (first == kind.name)
        fault->kinds = kind.kinds;
    if (fault->kinds == 0) {
      *error = "fault '" + text + "': unknown reply kind '" + first + "'";
      return -1;
    }
  }
  if (!parse_count(second, &fault->amount)) {
    *error = "fault '" + text + "': '" + second + "' is not a whole number";
    return -1;
  }
  if (fault->type == Fault::Lossy && fault->amount < 1) {
    *error = "fault '" + text + "': lossy drops one reply in every N, N at least 1";
    return -1;
  }
  if (fault->type == Fault::Vanish && fault->amount < 1) {
    *error = "fault '" + text + "': vanish after the Nth reply, N at least 1";
    return -1;
  }
  return 0;
}

int parse_scenario(const std::string& text, Scenario* scenario, std::string* error) {
  std::istringstream lines(text);
  std::string raw;
  int number = 0;
  while (std::getline(lines, raw)) {
    ++number;
    const std::string where = "line " + std::to_string(number) + ": ";
    const std::string line = trim(strip_comment(raw));
    if (line.empty())
      continue;
    const auto equals = line.find('=');
    if (equals == std::string::npos) {
      *error = where + "expected 'key = value'";
      return -1;
    }
    const std::string key = trim(line.substr(0, equals));
    std::string value;
    std::string problem;
    if (!unquote(trim(line.substr(equals + 1)), &value, &problem)) {
      *error = where + problem;
      return -1;
    }
    if (key == "mac") {
      if (!parse_mac(value, scenario->mac)) {
        *error = where + "'" + value + "' is not a MAC address (02:00:00:00:00:b1)";
        return -1;
      }
    } else if (key == "ssid") {
      scenario->ssid = value;
    } else if (key == "secmode") {
      if (value.size() != 1) {
        *error = where + "secmode is one character, a digit 0 to 3";
        return -1;
      }
      scenario->secmode = value[0];
    } else if (key == "network") {
      SurveyNetwork network;
      if (!parse_network(value, &network)) {
        *error = where + "network is ssid|mac|channel|mode|security|signal";
        return -1;
      }
      scenario->networks.push_back(network);
    } else if (key == "fault") {
      Fault fault;
      if (parse_fault(value, &fault, &problem) != 0) {
        *error = where + problem;
        return -1;
      }
      scenario->faults.push_back(fault);
    } else {
      *error = where + "unknown key '" + key + "' (mac, ssid, secmode, network, fault)";
      return -1;
    }
  }
  return 0;
}
