// The emulator's frame log: whole lines, flushed one by one so a reader never sees half a
// line, from the answering loop and the chatter stations alike.
#pragma once

#include <chrono>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>

#include "tools/emu/frame_log.h"

class LogFile {
public:
  // An empty path logs nothing. Check ok() after construction.
  explicit LogFile(const std::string& path) : start_(std::chrono::steady_clock::now()) {
    if (!path.empty())
      file_.reset(std::fopen(path.c_str(), "w"));
    ok_ = path.empty() || file_;
  }
  bool ok() const { return ok_; }

  double seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  }

  void frame(const char* direction, const std::uint8_t* bytes, int size) {
    if (file_)
      line(format_log_line(seconds(), direction, bytes, size));
  }

  void line(const std::string& text) {
    std::lock_guard lock(mutex_);
    if (!file_)
      return;
    std::fputs(text.c_str(), file_.get());
    std::fputc('\n', file_.get());
    std::fflush(file_.get());
  }

private:
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  std::chrono::steady_clock::time_point start_;
  std::mutex mutex_;
  std::unique_ptr<std::FILE, Closer> file_;
  bool ok_ = false;
};
