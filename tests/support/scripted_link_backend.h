// A system for the link helper's service without privileges: a scripted list of interfaces
// (name, hardware type, MAC) whose captures record what is sent and hand out queued frames
// without waiting. Header-only, so the fuzz targets can use it as well.
#pragma once

#include <net/if_arp.h>
#include <pcap/dlt.h>
#include <pcap/pcap.h>

#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "helper/link_service.h"

struct ScriptedInterface {
  std::string name;
  std::string description;
  int hardware_type = ARPHRD_ETHER;
  std::uint8_t mac[6] = {};
  std::uint32_t flags = PCAP_IF_UP | PCAP_IF_RUNNING;
  int link_type = DLT_EN10MB;
  int open_status = 0; // libpcap's status for a failed open; 0 opens
  bool listed = true;  // whether libpcap lists it (not every interface is listed)
  std::vector<std::vector<std::uint8_t>> sent;
  std::deque<std::pair<std::vector<std::uint8_t>, int>> incoming; // frame, wire length
  int opens = 0;
  bool probe_goes_out = true; // whether a sent probe is seen leaving
  int watches = 0;            // outgoing watches set up
};

// Sees the watched frame when it was the last one sent on its interface and the interface lets
// probes out.
class ScriptedOutgoingWatch : public OutgoingWatch {
public:
  ScriptedOutgoingWatch(ScriptedInterface& interface, std::vector<std::uint8_t> frame)
      : interface_(interface), frame_(std::move(frame)) {}
  bool seen(std::chrono::milliseconds) override {
    return interface_.probe_goes_out && !interface_.sent.empty() &&
           interface_.sent.back() == frame_;
  }

private:
  ScriptedInterface& interface_;
  std::vector<std::uint8_t> frame_;
};

class ScriptedLinkCapture : public CaptureHandle {
public:
  explicit ScriptedLinkCapture(ScriptedInterface& interface) : interface_(interface) {}
  int send(const std::uint8_t* frame, int length) override {
    interface_.sent.emplace_back(frame, frame + length);
    return 0;
  }
  int next(std::chrono::milliseconds, const std::uint8_t** frame, int* wire_length,
           int* captured) override {
    if (interface_.incoming.empty())
      return 0;
    current_ = std::move(interface_.incoming.front().first);
    *wire_length = interface_.incoming.front().second;
    interface_.incoming.pop_front();
    *frame = current_.data();
    *captured = static_cast<int>(current_.size());
    return 1;
  }

private:
  ScriptedInterface& interface_;
  std::vector<std::uint8_t> current_;
};

class ScriptedLinkBackend : public LinkBackend {
public:
  ScriptedInterface& add(const std::string& name, int hardware_type, std::uint8_t last_byte) {
    auto& interface = interfaces_[name];
    interface.name = name;
    interface.hardware_type = hardware_type;
    const std::uint8_t mac[6] = {0x02, 0, 0, 0, 0x0a, last_byte};
    std::memcpy(interface.mac, mac, sizeof mac);
    order_.push_back(name);
    return interface;
  }
  ScriptedInterface& operator[](const std::string& name) { return interfaces_.at(name); }

  // When set, listing fails with it.
  std::string list_error;

  int list(std::vector<AdapterInfo>* adapters, std::string* error) override {
    if (!list_error.empty()) {
      *error = list_error;
      return -1;
    }
    adapters->clear();
    for (const std::string& name : order_)
      if (interfaces_[name].listed)
        adapters->push_back({name, interfaces_[name].description, interfaces_[name].flags});
    return 0;
  }
  int hardware(const std::string& name, int* type, std::uint8_t* mac) override {
    const auto found = interfaces_.find(name);
    if (found == interfaces_.end())
      return -1;
    *type = found->second.hardware_type;
    std::memcpy(mac, found->second.mac, 6);
    return 0;
  }
  std::unique_ptr<CaptureHandle> open(const std::string& name, int* link_type, int* status,
                                      std::string* error) override {
    const auto found = interfaces_.find(name);
    if (found == interfaces_.end() || found->second.open_status != 0) {
      *status = found == interfaces_.end() ? PCAP_ERROR_NO_SUCH_DEVICE : found->second.open_status;
      *error = "cannot open " + name;
      return nullptr;
    }
    ++found->second.opens;
    *link_type = found->second.link_type;
    return std::make_unique<ScriptedLinkCapture>(found->second);
  }
  std::unique_ptr<OutgoingWatch> watch_outgoing(const std::string& name, const std::uint8_t* frame,
                                                int size, std::string* error) override {
    const auto found = interfaces_.find(name);
    if (found == interfaces_.end()) {
      *error = "cannot watch " + name;
      return nullptr;
    }
    ++found->second.watches;
    return std::make_unique<ScriptedOutgoingWatch>(found->second,
                                                   std::vector<std::uint8_t>(frame, frame + size));
  }

private:
  std::map<std::string, ScriptedInterface> interfaces_;
  std::vector<std::string> order_;
};
