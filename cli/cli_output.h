// What qbr20g-cli writes on standard output: aligned text tables for people, or one JSON
// document (an array of objects with fixed keys) for programs. Each field of a command's rows
// is described once (cli/row_fields.h) and gives both forms. Texts that came from the air are
// shown decoded as the pages show them; in text output, control characters are written as
// \xNN escapes so that an SSID can never steer the terminal.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "link/translation.h"

// `bytes` decoded for display, with every control character (C0, DEL, C1) escaped.
std::string terminal_text(std::string_view bytes);

// One value of a row: what JSON carries (null, a text, a number or true/false) and what the
// table shows.
struct Cell {
  enum class Kind { Null, Text, Number, Flag } kind = Kind::Null;
  std::string value;    // Text: the JSON text
  long long number = 0; // Number; Flag: 0 or 1
  std::string text;     // the table's cell
};

Cell cell_text(const std::string& text); // a text of our own (a MAC, a word)
Cell cell_bytes(std::string_view bytes); // bytes from the air or the user: decoded, escaped
// Bytes shown in the table as they are (escaped), given to JSON as `json`.
Cell cell_bytes_as(std::string_view bytes, const std::string& json);
Cell cell_number(long long value, const std::string& text); // `text` in the table
Cell cell_flag(bool value);                                 // true / false; "yes" / "no"
Cell cell_none();                                           // null; "-"
Cell cell_optional_text(const std::string& text);           // none when empty

// A row's message: JSON carries it in English whatever the user's language, so that a program
// reading it sees the same words everywhere; the table and standard error show it in the user's
// language.
struct RowMessage {
  RowMessage() = default;
  // A text that is the same in both: a name, or a reason as the link gave it.
  RowMessage(std::string same) : english(same), shown(std::move(same)) {}
  std::string english;
  std::string shown;
  bool empty() const { return english.empty(); }
};

// `text`, marked with N_(), with its placeholders %1 ... filled by `values`, each in its own
// language.
RowMessage row_message(const char* text, std::initializer_list<RowMessage> values = {});

Cell cell_message(const RowMessage& message); // none when empty

// A field of rows of type Row: its JSON key, its column heading (marked with N_(); empty: JSON
// only) and its value.
template <typename Row> struct Field {
  const char* key;
  const char* heading;
  std::function<Cell(const Row&)> value;
};

// Rows ready to print: the keys and headings of their fields, and each row's cells.
struct Table {
  std::vector<std::string> keys;
  std::vector<std::string> headings;
  std::vector<std::vector<Cell>> rows;
};

template <typename Row>
Table make_table(const std::vector<Field<Row>>& fields, const std::vector<Row>& rows) {
  Table table;
  for (const Field<Row>& field : fields) {
    table.keys.push_back(field.key);
    table.headings.push_back(*field.heading ? _(field.heading) : "");
  }
  for (const Row& row : rows) {
    std::vector<Cell> cells;
    for (const Field<Row>& field : fields)
      cells.push_back(field.value(row));
    table.rows.push_back(std::move(cells));
  }
  return table;
}

// The whole table: one JSON array, or the text columns two spaces apart under their headings
// (nothing at all when there are no rows).
void print_table(const Table& table, bool json);
