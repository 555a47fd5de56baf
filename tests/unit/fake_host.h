// A host with scripted adapters in place of libpcap and the kernel, for the selection and
// discovery rules. Each adapter has a wire: frames that its captures send are recorded there,
// other captures open on the same adapter see them (as a Linux capture sees another handle's
// frames), and a responder can answer them.
#pragma once

#include <pcap/pcap.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "link/adapter_access.h"
#include "link/capture_handle.h"
#include "link/link_timing.h"
#include "link/two_capture_probe.h"
#include "tests/support/scripted_capture.h"

class FakeCapture;

struct FakeWire {
  std::mutex mutex;
  std::vector<FakeCapture*> open;
  std::vector<Bytes> sent;
  int opens = 0;
  // Answers a frame sent on the wire; returns the frames to deliver to every open capture.
  std::function<std::vector<Bytes>(const Bytes&)> responder;
  // When set, every read returns this frame at once: a station that never pauses.
  Bytes flood;
  // Reads fail instead of waiting.
  bool read_error = false;
  // Sends are recorded but nothing reaches the wire: an adapter without carrier.
  bool dead = false;

  std::vector<Bytes> sent_frames() {
    std::lock_guard lock(mutex);
    return sent;
  }
  void deliver(const Bytes& frame, const FakeCapture* except = nullptr);
};

class FakeCapture : public CaptureHandle {
public:
  explicit FakeCapture(std::shared_ptr<FakeWire> wire) : wire_(std::move(wire)) {
    std::lock_guard lock(wire_->mutex);
    wire_->open.push_back(this);
    ++wire_->opens;
  }
  ~FakeCapture() override {
    std::lock_guard lock(wire_->mutex);
    wire_->open.erase(std::find(wire_->open.begin(), wire_->open.end(), this));
  }

  void push(const Bytes& frame) { queue_.push_back(frame); } // wire's lock held

  int send(const std::uint8_t* frame, int length) override {
    const Bytes bytes(frame, frame + length);
    std::function<std::vector<Bytes>(const Bytes&)> responder;
    {
      std::lock_guard lock(wire_->mutex);
      wire_->sent.push_back(bytes);
      if (wire_->dead)
        return 0;
      responder = wire_->responder;
    }
    wire_->deliver(bytes, this);
    if (responder)
      for (const Bytes& reply : responder(bytes))
        wire_->deliver(reply);
    return 0;
  }

  int next(std::chrono::milliseconds timeout, const std::uint8_t** frame, int* wire_length,
           int* captured) override {
    {
      std::lock_guard lock(wire_->mutex);
      if (wire_->read_error)
        return -1;
      if (!wire_->flood.empty())
        current_ = wire_->flood;
      else if (!queue_.empty()) {
        current_ = queue_.front();
        queue_.pop_front();
      } else
        current_.clear();
    }
    if (current_.empty()) {
      std::this_thread::sleep_for(timeout);
      return 0;
    }
    *frame = current_.data();
    *wire_length = static_cast<int>(current_.size());
    *captured = static_cast<int>(current_.size());
    return 1;
  }

private:
  std::shared_ptr<FakeWire> wire_;
  std::deque<Bytes> queue_;
  Bytes current_;
};

inline void FakeWire::deliver(const Bytes& frame, const FakeCapture* except) {
  std::lock_guard lock(mutex);
  for (FakeCapture* capture : open)
    if (capture != except)
      capture->push(frame);
}

struct FakeAdapter {
  AdapterInfo info;
  bool has_mac = true;
  std::uint8_t mac[6] = {};
  int open_status = 0; // a PCAP_ERROR_* makes every open fail with it
  int link_type = DLT_EN10MB;
  std::shared_ptr<FakeWire> wire = std::make_shared<FakeWire>();
};

class FakeAdapterAccess : public AdapterAccess {
public:
  std::vector<FakeAdapter>* adapters = nullptr;
  bool list_fails = false;

  int list_adapters(std::vector<AdapterInfo>* out, std::string* error) override {
    if (list_fails) {
      *error = "enumeration failed";
      return -1;
    }
    out->clear();
    for (const FakeAdapter& adapter : *adapters)
      out->push_back(adapter.info);
    return 0;
  }
  int read_mac(const char* name, std::uint8_t* mac) override {
    const FakeAdapter* adapter = find(name);
    if (!adapter || !adapter->has_mac)
      return -1;
    std::memcpy(mac, adapter->mac, 6);
    return 0;
  }
  CaptureOpening open_capture(const char* name) override {
    CaptureOpening opening;
    const FakeAdapter* adapter = find(name);
    if (!adapter) {
      opening.status = PCAP_ERROR_NO_SUCH_DEVICE;
      return opening;
    }
    if (adapter->open_status != 0) {
      opening.status = adapter->open_status;
      opening.error = std::string(name) + ": open refused";
      return opening;
    }
    opening.capture = std::make_unique<FakeCapture>(adapter->wire);
    opening.link_type = adapter->link_type;
    return opening;
  }
  int probe_adapter(const char* name, const std::uint8_t* mac, CaptureHandle& capture,
                    std::chrono::milliseconds wait, std::string* error) override {
    return probe_through_second_capture(*this, name, mac, capture, wait, error);
  }

private:
  const FakeAdapter* find(const char* name) const {
    for (const FakeAdapter& adapter : *adapters)
      if (adapter.info.name == name)
        return &adapter;
    return nullptr;
  }
};

// Installs the fake adapters and short link timings for one test; undoes both on exit.
class FakeHost {
public:
  std::vector<FakeAdapter> adapters;
  FakeAdapterAccess* access;

  FakeHost() {
    adapters.reserve(64); // add() hands out references
    auto fake = std::make_unique<FakeAdapterAccess>();
    fake->adapters = &adapters;
    access = fake.get();
    replace_adapter_access(std::move(fake));
    use_short_link_timing();
    link_timing().adapter_probe_wait = std::chrono::milliseconds{20};
  }
  ~FakeHost() {
    capture_handle.reset();
    replace_adapter_access(nullptr);
    restore_link_timing();
  }
  FakeHost(const FakeHost&) = delete;
  FakeHost& operator=(const FakeHost&) = delete;

  // A wired, up adapter whose MAC ends in `last_byte`.
  FakeAdapter& add(const std::string& name, std::uint8_t last_byte,
                   std::uint32_t flags = PCAP_IF_UP | PCAP_IF_RUNNING,
                   const std::string& description = "") {
    FakeAdapter adapter;
    adapter.info = {name, description, flags};
    const std::uint8_t mac[6] = {0x02, 0x00, 0x00, 0x00, 0x00, last_byte};
    std::memcpy(adapter.mac, mac, 6);
    adapters.push_back(adapter);
    return adapters.back();
  }
};
