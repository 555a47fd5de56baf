// Times `parse_survey_reply` on a full report of 50 networks, the most the table holds.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "device/survey_report.h"
#include "device/wireless_records.h"
#include "link/link_frame.h"

namespace {

// The longest entries that still let 50 of them fit in one frame.
std::vector<std::uint8_t> fifty_network_report() {
  std::string text = "SSID:office\n7001 :16\n7002 :0\n7003 :3\nSECMODE:3\nSURVEY:\f";
  for (int i = 0; i < NETWORK_TABLE_ENTRIES; ++i) {
    char entry[64];
    std::snprintf(entry, sizeof entry, "net%02d\f0011223344%02x,%d,G,%d,%d\v", i, i, 1 + i % 11,
                  i % 4, 40 + i);
    text += entry;
  }
  std::vector<std::uint8_t> frame(MAX_FRAME_SIZE, 0);
  const std::size_t payload = 2 + text.size();
  if (payload > MAX_FRAME_SIZE - LINK_HEADER_SIZE) {
    std::fprintf(stderr, "report of %zu bytes does not fit a frame\n", payload);
    std::exit(1);
  }
  const std::uint8_t bridge[MAC_SIZE] = {2, 0, 0, 0, 0, 0xb1};
  const std::uint8_t own[MAC_SIZE] = {2, 0, 0, 0, 0, 1};
  build_frame(frame.data(), bridge, own, RSP_EXECUTE_DATA, 0, static_cast<std::uint16_t>(payload));
  std::memcpy(frame.data() + LINK_HEADER_SIZE + 2, text.data(), text.size());
  return frame;
}

} // namespace

int main() {
  const std::vector<std::uint8_t> frame = fifty_network_report();
  int count = 0;
  parse_survey_reply(frame.data(), &count);
  if (count != NETWORK_TABLE_ENTRIES) {
    std::fprintf(stderr, "parsed %d entries, expected %d\n", count, NETWORK_TABLE_ENTRIES);
    return 1;
  }

  constexpr int ROUNDS = 51;
  constexpr int PARSES_PER_ROUND = 2000;
  std::vector<double> per_parse_us;
  for (int round = 0; round < ROUNDS; ++round) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < PARSES_PER_ROUND; ++i)
      parse_survey_reply(frame.data(), &count);
    const std::chrono::duration<double, std::micro> took = std::chrono::steady_clock::now() - start;
    per_parse_us.push_back(took.count() / PARSES_PER_ROUND);
  }
  std::sort(per_parse_us.begin(), per_parse_us.end());
  const int report_bytes = frame_length_field(frame.data());
  std::printf("parse_survey_reply, %d-entry report of %d payload bytes, %d rounds of %d parses\n",
              count, report_bytes, ROUNDS, PARSES_PER_ROUND);
  std::printf("  median %.2f us per parse (min %.2f, max %.2f), %.0f MB/s\n",
              per_parse_us[ROUNDS / 2], per_parse_us.front(), per_parse_us.back(),
              report_bytes / per_parse_us[ROUNDS / 2]);
  return 0;
}
