#include "cli/cli_output.h"

#include <algorithm>
#include <cstdio>
#include <iostream>

#include "device/display_text.h"

namespace {

// Columns count characters, not bytes: UTF-8 continuation bytes take no room.
std::size_t width_of(const std::string& text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xc0) != 0x80;
  }));
}

} // namespace

std::string terminal_text(std::string_view bytes) {
  const std::string decoded = display_text(bytes);
  std::string text;
  for (std::size_t i = 0; i < decoded.size(); ++i) {
    const auto byte = static_cast<unsigned char>(decoded[i]);
    // C1 controls are U+0080 to U+009F: 0xC2 followed by 0x80 to 0x9F in UTF-8.
    const bool c1 =
        byte == 0xc2 && i + 1 < decoded.size() && static_cast<unsigned char>(decoded[i + 1]) < 0xa0;
    if (byte < 0x20 || byte == 0x7f || c1) {
      const unsigned value = c1 ? static_cast<unsigned char>(decoded[++i]) : byte;
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02x", value);
      text += escape;
    } else if (byte == '\\') {
      text += "\\\\";
    } else {
      text += decoded[i];
    }
  }
  return text;
}

void print_table(const std::vector<std::string>& headings,
                 const std::vector<std::vector<std::string>>& rows) {
  std::vector<std::size_t> widths;
  for (const std::string& heading : headings)
    widths.push_back(width_of(heading));
  for (const auto& row : rows)
    for (std::size_t column = 0; column < row.size() && column < widths.size(); ++column)
      widths[column] = std::max(widths[column], width_of(row[column]));
  const auto print_row = [&](const std::vector<std::string>& cells) {
    std::string line;
    for (std::size_t column = 0; column < cells.size(); ++column) {
      line += cells[column];
      if (column + 1 < cells.size())
        line += std::string(widths[column] - width_of(cells[column]) + 2, ' ');
    }
    std::cout << line << '\n';
  };
  print_row(headings);
  for (const auto& row : rows)
    print_row(row);
  std::cout.flush();
}

void print_json(const JsonDocument& document) {
  // Invalid UTF-8 cannot occur (every text is decoded first); replace rather than throw anyway.
  std::cout << document.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
  std::cout.flush();
}
