#include "tools/emu/frame_log.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <sstream>

#include "link/link_frame.h"
#include "link/mac_text.h"
#include "tools/emu/escaped_text.h"

std::string escape_payload(const std::uint8_t* bytes, int count) {
  return "\"" +
         escape_bytes({reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(count)}) +
         "\"";
}

std::string format_log_line(double time, const char* direction, const std::uint8_t* frame,
                            int size) {
  std::uint8_t header[LINK_HEADER_SIZE] = {};
  std::memcpy(header, frame, static_cast<std::size_t>(std::min(size, LINK_HEADER_SIZE)));
  char src[MAC_TEXT_SIZE];
  char dst[MAC_TEXT_SIZE];
  mac_bytes_to_text(header + 6, src);
  mac_bytes_to_text(header, dst);
  char fields[160];
  std::snprintf(fields, sizeof fields, "%.6f %s %s %s 0x%08" PRIx32 " 0x%08" PRIx32 " %d %d ", time,
                direction, src, dst, frame_code(header), frame_param(header),
                frame_length_field(header), size);
  const int payload = size > LINK_HEADER_SIZE ? size - LINK_HEADER_SIZE : 0;
  return fields + escape_payload(frame + LINK_HEADER_SIZE, payload);
}

bool parse_log_line(const std::string& line, FrameLogEntry* entry) {
  std::istringstream words(line);
  std::string code;
  std::string param;
  if (!(words >> entry->time >> entry->direction >> entry->src >> entry->dst >> code >> param >>
        entry->length >> entry->size))
    return false;
  entry->code = static_cast<std::uint32_t>(std::strtoul(code.c_str(), nullptr, 16));
  entry->param = static_cast<std::uint32_t>(std::strtoul(param.c_str(), nullptr, 16));
  const auto open = line.find('"');
  if (open == std::string::npos || line.size() < open + 2 || line.back() != '"')
    return false;
  std::string payload;
  std::string error;
  if (!unescape_text(std::string_view(line).substr(open + 1, line.size() - open - 2), &payload,
                     &error))
    return false;
  entry->payload.assign(payload.begin(), payload.end());
  return true;
}

std::vector<std::uint8_t> FrameLogEntry::frame() const {
  std::vector<std::uint8_t> bytes(LINK_HEADER_SIZE, 0);
  std::uint8_t src_mac[MAC_SIZE];
  std::uint8_t dst_mac[MAC_SIZE];
  mac_text_to_bytes(src.c_str(), src_mac);
  mac_text_to_bytes(dst.c_str(), dst_mac);
  build_frame(bytes.data(), src_mac, dst_mac, code, param,
              static_cast<std::uint16_t>(static_cast<std::int16_t>(length)));
  bytes.insert(bytes.end(), payload.begin(), payload.end());
  if (size < LINK_HEADER_SIZE)
    bytes.resize(static_cast<std::size_t>(std::max(size, 0)));
  return bytes;
}
