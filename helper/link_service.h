// What qbr20g-link does for its one client, and no more: list the wired Ethernet adapters,
// open captures of the EtherType 0x8888 frames that reach an adapter from the wire, send 0x8888
// frames from an adapter's own MAC, tell whether an adapter's start-up probe goes out, and hand
// back captured frames. Each request is checked before the system is asked; a request that does
// not fit the protocol ends the connection with an Error reply.
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

// Watches one adapter for one frame that this host sends, and for nothing else.
class OutgoingWatch {
public:
  virtual ~OutgoingWatch() = default;
  // True once the frame has gone out, false when it did not within `wait`.
  virtual bool seen(std::chrono::milliseconds wait) = 0;
};

// The system under the service: libpcap and the kernel in the helper, a scripted one in tests.
class LinkBackend {
public:
  virtual ~LinkBackend() = default;
  // Every adapter libpcap lists, in its order. 0, or -1 with the reason.
  virtual int list(std::vector<AdapterInfo>* adapters, std::string* error) = 0;
  // The interface's hardware type (ARPHRD_*) and address. 0, or -1 when there is no such
  // interface (pseudo-devices such as "any" or "nflog" are none).
  virtual int hardware(const std::string& name, int* type, std::uint8_t* mac) = 0;
  // A live capture on `name`, not promiscuous, that passes only EtherType 0x8888 frames that
  // arrive from the wire addressed to the adapter or to broadcast, by the socket's direction
  // and a kernel filter that is attached and locked before it returns; nothing captured before
  // is left in it. Null with libpcap's status (or OPEN_REFUSED) and the reason when it cannot
  // be opened or filtered. *link_type is its DLT_*.
  virtual std::unique_ptr<CaptureHandle> open(const std::string& name, int* link_type, int* status,
                                              std::string* error) = 0;
  // A watch for `frame` going out on `name`, set up before the frame is sent. Null with the
  // reason when it cannot be set up.
  virtual std::unique_ptr<OutgoingWatch> watch_outgoing(const std::string& name,
                                                        const std::uint8_t* frame, int size,
                                                        std::string* error) = 0;
};

class LinkService {
public:
  // Closed captures and watches go to `retire` (a CaptureCloser's close in the helper); without
  // one they are closed at once.
  using Retire = std::function<void(std::shared_ptr<void>)>;
  // Asked during a wait; ends it early when it returns false (the client went away).
  using ClientWaiting = std::function<bool()>;

  explicit LinkService(LinkBackend& backend, Retire retire = nullptr)
      : backend_(backend), retire_(std::move(retire)) {}

  // The reply to one message of `size` bytes from the client; empty when none is due (the
  // client's greeting). Sets *end when the connection must end after this reply (then an
  // Error): a request that does not fit the protocol, or a client of another release.
  helper_protocol::Message handle(const std::uint8_t* message, std::size_t size,
                                  const ClientWaiting& client_waiting, bool* end);

private:
  struct RequestKind;
  static const RequestKind REQUESTS[];

  struct OpenCapture {
    std::string adapter;
    std::uint8_t mac[6]; // the adapter's when opened: frames to it (or broadcast) are handed on
    std::unique_ptr<CaptureHandle> capture;
  };

  helper_protocol::Message greet(const std::uint8_t* message, std::size_t size, bool* end);
  helper_protocol::Message list_adapters(const helper_protocol::Decoded& request,
                                         const ClientWaiting& client_waiting);
  helper_protocol::Message open_capture(const helper_protocol::Decoded& request,
                                        const ClientWaiting& client_waiting);
  helper_protocol::Message close_capture(const helper_protocol::Decoded& request,
                                         const ClientWaiting& client_waiting);
  helper_protocol::Message send(const helper_protocol::Decoded& request,
                                const ClientWaiting& client_waiting);
  helper_protocol::Message next(const helper_protocol::Decoded& request,
                                const ClientWaiting& client_waiting);
  helper_protocol::Message probe_adapter(const helper_protocol::Decoded& request,
                                         const ClientWaiting& client_waiting);

  // Why `name` may not be opened, or empty when it may.
  std::string refusal(const std::string& name, std::uint8_t* mac);
  void retire(std::shared_ptr<void> closing);

  LinkBackend& backend_;
  Retire retire_;
  bool greeted_ = false;
  std::map<std::uint32_t, OpenCapture> captures_;
  std::uint32_t next_id_ = 1;
};
