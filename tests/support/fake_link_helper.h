// A stand-in for qbr20g-link, written as a shell script: it says the messages it is given (made
// by the protocol's own encoders), hears the client's messages one at a time, and ends as it is
// told. It puts on the socket what a helper of another release, or one that fails, would: the
// front ends then have to tell the user why. Header-only; it sends no frames.
#pragma once

#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "link/helper_protocol.h"

class FakeLinkHelper {
public:
  // Sends one message to the client.
  FakeLinkHelper& Says(const helper_protocol::Message& message) {
    script_ += "printf '";
    for (const std::uint8_t byte : message) {
      char octal[8];
      std::snprintf(octal, sizeof octal, "\\%03o", byte);
      script_ += octal;
    }
    script_ += "' >&0\n";
    return *this;
  }
  // Reads one message of the client's (its greeting, a request).
  FakeLinkHelper& Hears() {
    script_ += "dd bs=65536 count=1 of=/dev/null 2>/dev/null\n";
    return *this;
  }
  FakeLinkHelper& DiesOf(int signal) {
    script_ += "kill -" + std::to_string(signal) + " $$\n";
    return *this;
  }
  FakeLinkHelper& Exits(int status) {
    script_ += "exit " + std::to_string(status) + "\n";
    return *this;
  }
  // An executable script at `path`; unless told how to end, it waits for the client to close.
  void Write(const std::string& path) const {
    std::ofstream(path) << script_ << "dd of=/dev/null 2>/dev/null\n";
    chmod(path.c_str(), 0755);
  }

  // A greeting of `version` of the protocol.
  static helper_protocol::Message Hello(std::uint32_t version) {
    helper_protocol::Message hello = helper_protocol::encode_hello();
    hello[12] = static_cast<std::uint8_t>(version);
    return hello;
  }

private:
  std::string script_ = "#!/bin/sh\n";
};
