// Bytes as printable text and back, with one table of escapes: \\ \" \0 \r \n \t \f \v, and
// \xHH for any other byte outside 0x20..0x7e. The log's payloads are written with it and read
// back with it; the scenario's values in double quotes are read with it.
#pragma once

#include <string>
#include <string_view>

// The escaped text of `bytes`, without quotes around it.
std::string escape_bytes(std::string_view bytes);

// The bytes that escaped `text` (without its quotes) stands for. False, with the reason in
// *error, for a lone backslash at the end, an unknown escape, or \x without two hex digits.
bool unescape_text(std::string_view text, std::string* bytes, std::string* error);
