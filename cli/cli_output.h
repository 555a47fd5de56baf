// What qbr20g-cli writes on standard output: aligned text tables for people, or one JSON
// document (an array of objects with fixed keys) for programs. Texts that came from the air
// are shown decoded as the pages show them; in text output, control characters are written
// as \xNN escapes so that an SSID can never steer the terminal.
#pragma once

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>
#include <vector>

using JsonDocument = nlohmann::ordered_json;

// `bytes` decoded for display, with every control character (C0, DEL, C1) escaped.
std::string terminal_text(std::string_view bytes);

// Prints `rows` under `headings` in columns two spaces apart; cells are terminal text already.
void print_table(const std::vector<std::string>& headings,
                 const std::vector<std::vector<std::string>>& rows);

void print_json(const JsonDocument& document);
