#include "cli/terminal_prompt.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

namespace {

// The terminal's settings while a prompt has echo off; written before echo goes off, read by
// the signal watcher.
std::atomic<int> prompt_terminal{-1};
termios saved_settings{};

} // namespace

void hide_typing(int fd) {
  termios settings{};
  if (tcgetattr(fd, &settings) != 0)
    return;
  saved_settings = settings;
  prompt_terminal = fd;
  termios quiet = settings;
  quiet.c_lflag &= static_cast<tcflag_t>(~ECHO);
  quiet.c_lflag |= ECHONL;
  tcsetattr(fd, TCSAFLUSH, &quiet);
}

std::optional<std::string> prompt_secret(const std::string& prompt) {
  const int terminal = open("/dev/tty", O_RDWR | O_CLOEXEC | O_NOCTTY);
  if (terminal < 0)
    return std::nullopt;
  termios settings{};
  if (tcgetattr(terminal, &settings) != 0) {
    close(terminal);
    return std::nullopt;
  }
  hide_typing(terminal);
  if (write(terminal, prompt.data(), prompt.size()) < 0) {
  }
  std::string line;
  bool read_ok = false;
  for (char c; read(terminal, &c, 1) == 1;) {
    if (c == '\n') {
      read_ok = true;
      break;
    }
    line += c;
  }
  restore_terminal();
  close(terminal);
  if (!read_ok)
    return std::nullopt;
  return line;
}

void restore_terminal() {
  const int terminal = prompt_terminal.exchange(-1);
  if (terminal >= 0)
    tcsetattr(terminal, TCSAFLUSH, &saved_settings);
}
