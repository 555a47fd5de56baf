// What qbr20g-link does for its one client, and no more: list the Ethernet adapters, open
// captures of EtherType 0x8888 on them, send 0x8888 frames from an adapter's own MAC, and hand
// back captured 0x8888 frames. Each request is checked before the system is asked; a request
// that does not fit the protocol ends the connection with an Error reply.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "link/adapter_access.h"
#include "link/capture_handle.h"
#include "link/helper_protocol.h"

// The system under the service: libpcap and the kernel in the helper, a scripted one in tests.
class LinkBackend {
public:
  virtual ~LinkBackend() = default;
  // Every adapter libpcap lists, in its order. 0, or -1 with the reason.
  virtual int list(std::vector<AdapterInfo>* adapters, std::string* error) = 0;
  // The interface's hardware type (ARPHRD_*) and address. 0, or -1 when there is no such
  // interface (pseudo-devices such as "any" or "nflog" are none).
  virtual int hardware(const std::string& name, int* type, std::uint8_t* mac) = 0;
  // A live capture on `name` that passes only EtherType 0x8888 frames, by a kernel filter that
  // is attached and locked before it returns. Null with libpcap's status (or OPEN_REFUSED) and
  // the reason when it cannot be opened or filtered. *link_type is its DLT_*.
  virtual std::unique_ptr<CaptureHandle> open(const std::string& name, int* link_type, int* status,
                                              std::string* error) = 0;
};

class LinkService {
public:
  // Closed captures go to `retire` (a CaptureCloser's close in the helper); without one they
  // are closed at once.
  using Retire = std::function<void(std::unique_ptr<CaptureHandle>)>;
  explicit LinkService(LinkBackend& backend, Retire retire = nullptr)
      : backend_(backend), retire_(std::move(retire)) {}

  // The reply to one request of `size` bytes. Sets *end when the connection must end after
  // this reply (then an Error). `client_waiting` is asked during a read's wait and ends the
  // wait early when it returns false (the client went away).
  helper_protocol::Message handle(const std::uint8_t* request, std::size_t size,
                                  const std::function<bool()>& client_waiting, bool* end);

private:
  struct OpenCapture {
    std::string adapter;
    std::unique_ptr<CaptureHandle> capture;
  };

  helper_protocol::Message list_adapters();
  helper_protocol::Message open_capture(const std::string& name);
  helper_protocol::Message close_capture(std::uint32_t id);
  helper_protocol::Message send(std::uint32_t id, const std::uint8_t* frame, std::size_t size);
  helper_protocol::Message next(std::uint32_t id, std::chrono::milliseconds wait,
                                const std::function<bool()>& client_waiting);

  LinkBackend& backend_;
  Retire retire_;
  std::map<std::uint32_t, OpenCapture> captures_;
  std::uint32_t next_id_ = 1;
};
