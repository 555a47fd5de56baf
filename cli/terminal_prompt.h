// Asking for a secret on the terminal, without echo, as passwd and ssh do.
#pragma once

#include <optional>
#include <string>

// Writes `prompt` to the terminal and reads one line with echo off. Nothing when there is no
// terminal or it cannot be read.
std::optional<std::string> prompt_secret(const std::string& prompt);

// Turns echo off on the terminal `fd` until restore_terminal.
void hide_typing(int fd);

// Turns echo back on if a prompt left it off (the signal watcher calls it on Ctrl-C).
void restore_terminal();
