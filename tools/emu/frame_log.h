// One line per frame, easy to read back:
//   TIME DIR SRC DST CODE PARAM LENGTH SIZE "PAYLOAD"
// TIME: seconds since the emulator started (6 decimals); DIR: rx (seen), tx (sent) or flood (a
// count of back-to-back frames, in PAYLOAD as "N frames"); SRC, DST: MAC texts; CODE, PARAM:
// 0x%08x; LENGTH: the length field, signed; SIZE: bytes of the frame; PAYLOAD: every byte after
// the 24-byte header, quoted, with \\ \" \0 \r \n \t \f \v and \xHH for other bytes outside
// 0x20..0x7e.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct FrameLogEntry {
  double time = 0;
  std::string direction;
  std::string src;
  std::string dst;
  std::uint32_t code = 0;
  std::uint32_t param = 0;
  int length = 0;
  int size = 0;
  std::vector<std::uint8_t> payload;

  // The whole frame as it was on the wire (EtherType 0x8888), SIZE bytes when SIZE >= 24.
  std::vector<std::uint8_t> frame() const;
  std::string payload_text() const { return {payload.begin(), payload.end()}; }
};

std::string format_log_line(double time, const char* direction, const std::uint8_t* frame,
                            int size);
std::string escape_payload(const std::uint8_t* bytes, int count);

// Returns false for a line that is not in the form above.
bool parse_log_line(const std::string& line, FrameLogEntry* entry);
