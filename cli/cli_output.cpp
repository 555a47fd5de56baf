#include "cli/cli_output.h"

#include <algorithm>
#include <cstdio>
#include <iostream>

#include <nlohmann/json.hpp>

#include "device/display_text.h"
#include "link/translation.h"

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

Cell cell_text(const std::string& text) { return {Cell::Kind::Text, text, 0, terminal_text(text)}; }

Cell cell_bytes(std::string_view bytes) {
  return {Cell::Kind::Text, display_text(bytes), 0, terminal_text(bytes)};
}

Cell cell_bytes_as(std::string_view bytes, const std::string& json) {
  return {Cell::Kind::Text, json, 0, terminal_text(bytes)};
}

Cell cell_number(long long value, const std::string& text) {
  return {Cell::Kind::Number, "", value, text};
}

Cell cell_flag(bool value) {
  // TRANSLATORS: a cell of a table column; JSON has true or false.
  return {Cell::Kind::Flag, "", value ? 1 : 0, value ? _("yes") : _("no")};
}

Cell cell_none() { return {Cell::Kind::Null, "", 0, "-"}; }

Cell cell_optional_text(const std::string& text) {
  return text.empty() ? cell_none() : cell_text(text);
}

RowMessage row_message(const char* text, std::initializer_list<RowMessage> values) {
  std::vector<std::string_view> english;
  std::vector<std::string_view> shown;
  for (const RowMessage& value : values) {
    english.push_back(value.english);
    shown.push_back(value.shown);
  }
  RowMessage message;
  message.english = translation::filled(text, english);
  message.shown = translation::filled(_(text), shown);
  return message;
}

Cell cell_message(const RowMessage& message) {
  return message.empty() ? cell_none()
                         : Cell{Cell::Kind::Text, message.english, 0, terminal_text(message.shown)};
}

void print_table(const Table& table, bool json) {
  if (json) {
    nlohmann::ordered_json document = nlohmann::ordered_json::array();
    for (const std::vector<Cell>& row : table.rows) {
      nlohmann::ordered_json object = nlohmann::ordered_json::object();
      for (std::size_t i = 0; i < row.size(); ++i) {
        nlohmann::ordered_json& value = object[table.keys[i]];
        switch (row[i].kind) {
        case Cell::Kind::Null:
          break;
        case Cell::Kind::Text:
          value = row[i].value;
          break;
        case Cell::Kind::Number:
          value = row[i].number;
          break;
        case Cell::Kind::Flag:
          value = row[i].number != 0;
          break;
        }
      }
      document.push_back(std::move(object));
    }
    // Invalid UTF-8 cannot occur (every text is decoded first); replace rather than throw.
    std::cout << document.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
    std::cout.flush();
    return;
  }
  if (table.rows.empty())
    return;
  std::vector<std::size_t> shown;
  for (std::size_t i = 0; i < table.headings.size(); ++i)
    if (!table.headings[i].empty())
      shown.push_back(i);
  std::vector<std::size_t> widths(table.headings.size(), 0);
  for (std::size_t i : shown) {
    widths[i] = width_of(table.headings[i]);
    for (const auto& row : table.rows)
      widths[i] = std::max(widths[i], width_of(row[i].text));
  }
  const auto print_line = [&](const std::function<const std::string&(std::size_t)>& text) {
    std::string line;
    for (std::size_t k = 0; k < shown.size(); ++k) {
      const std::size_t i = shown[k];
      line += text(i);
      if (k + 1 < shown.size())
        line += std::string(widths[i] - width_of(text(i)) + 2, ' ');
    }
    std::cout << line << '\n';
  };
  print_line([&](std::size_t i) -> const std::string& { return table.headings[i]; });
  for (const auto& row : table.rows)
    print_line([&](std::size_t i) -> const std::string& { return row[i].text; });
  std::cout.flush();
}
