// The secrets of `configure` (WEP keys, WPA passphrase), which are never taken from the command
// line: every user of the machine can read another's command line in /proc. They come from a
// file or standard input (--secrets-file), or are asked for on the terminal without echo.
#pragma once

#include <optional>
#include <string>

struct Secrets {
  std::string keys[4]; // WEP keys 1 to 4 as typed; empty when not given
  std::string passphrase;
};

// Reads "key1=" to "key4=" and "passphrase=" lines from `path` ("-": standard input). Blank
// lines and lines starting with '#' are skipped; a CR before a line's end is dropped. Nothing,
// with the reason in *problem, for an unknown or repeated name, a line without '=', a file
// that cannot be read, or one longer than 64 KiB (read no further than that).
std::optional<Secrets> read_secrets_file(const std::string& path, std::string* problem);
