// Feeds arbitrary frames to the survey report parser and checks what it leaves in the
// records. The input is the start of a receive buffer, header included, so the length field
// is the fuzzer's too.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "device/site_survey.h"
#include "device/wireless_records.h"

namespace {

bool all_zero(const void* at, std::size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(at);
  for (std::size_t i = 0; i < size; ++i)
    if (bytes[i] != 0)
      return false;
  return true;
}

template <std::size_t N> bool terminated(const char (&field)[N]) {
  return std::memchr(field, 0, N) != nullptr;
}

void check(bool holds) {
  if (!holds)
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Exactly one receive buffer on the heap, so a read past it is caught.
  const auto frame = std::make_unique<std::uint8_t[]>(MAX_FRAME_SIZE);
  const std::size_t copied = size < MAX_FRAME_SIZE ? size : MAX_FRAME_SIZE;
  if (copied > 0)
    std::memcpy(frame.get(), data, copied);

  std::memset(NetworkTable, 0, sizeof NetworkTable);
  is_survey_report(frame.get(), static_cast<int>(copied));
  int count = -1;
  check(parse_survey_reply(frame.get(), &count) == 0);

  check(count >= -1 && count <= NETWORK_TABLE_ENTRIES);
  for (int i = count < 0 ? 0 : count; i < NETWORK_TABLE_ENTRIES; ++i)
    check(all_zero(&NetworkTable[i], sizeof(NetworkEntry)));
  for (int i = 0; i < count; ++i) {
    const NetworkEntry& entry = NetworkTable[i];
    check(terminated(entry.mac_text) && terminated(entry.channel) && terminated(entry.speed) &&
          terminated(entry.security) && terminated(entry.signal_text));
    check(field_text(entry.ssid).size() > 0);
  }
  check(terminated(CurrentNetwork.security));
  // Only the SSID and the security text of the present network are ever written.
  const auto* present = reinterpret_cast<const unsigned char*>(&CurrentNetwork);
  check(CurrentNetwork.signal == 0);
  check(all_zero(present + offsetof(NetworkEntry, mac_text),
                 offsetof(NetworkEntry, security) - offsetof(NetworkEntry, mac_text)));
  check(all_zero(CurrentNetwork.signal_text, sizeof CurrentNetwork.signal_text));
  return 0;
}
