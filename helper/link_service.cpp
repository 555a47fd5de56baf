#include "helper/link_service.h"

#include <net/if_arp.h>
#include <pcap/dlt.h>

#include <algorithm>
#include <cstring>

namespace hp = helper_protocol;
using std::chrono::milliseconds;

namespace {

using Clock = std::chrono::steady_clock;

// A read waits in slices this long, so a client that goes away mid-wait is noticed.
constexpr milliseconds WAIT_SLICE{50};

bool is_link_frame(const std::uint8_t* frame, std::size_t size) {
  return size >= hp::MIN_SEND_SIZE && frame[12] == 0x88 && frame[13] == 0x88;
}

} // namespace

hp::Message LinkService::handle(const std::uint8_t* request, std::size_t size,
                                const std::function<bool()>& client_waiting, bool* end) {
  *end = false;
  hp::Decoded message;
  std::string why;
  if (!hp::decode(request, size, &message, &why) || !hp::is_request(message.kind)) {
    *end = true;
    return hp::encode_error("malformed request: " + (why.empty() ? "not a request" : why));
  }
  switch (message.kind) {
  case hp::Kind::ListAdapters:
    return list_adapters();
  case hp::Kind::OpenCapture:
    return open_capture(message.name);
  case hp::Kind::CloseCapture:
    return close_capture(message.capture);
  case hp::Kind::Send:
    return send(message.capture, message.bytes, message.byte_count);
  case hp::Kind::Next:
    return next(message.capture, milliseconds{message.wait_ms}, client_waiting);
  default:
    *end = true;
    return hp::encode_error("malformed request: not a request");
  }
}

hp::Message LinkService::list_adapters() {
  std::vector<AdapterInfo> adapters;
  std::string error;
  std::vector<hp::AdapterRecord> records;
  if (backend_.list(&adapters, &error) == 0) {
    for (const AdapterInfo& adapter : adapters) {
      if (records.size() == hp::MAX_ADAPTERS)
        break;
      int type = 0;
      hp::AdapterRecord record{};
      if (adapter.name.empty() || adapter.name.size() >= hp::NAME_SIZE ||
          backend_.hardware(adapter.name, &type, record.mac) != 0 || type != ARPHRD_ETHER)
        continue;
      hp::copy_text(record.name, sizeof record.name, adapter.name);
      hp::copy_text(record.description, sizeof record.description, adapter.description);
      record.flags = adapter.flags;
      records.push_back(record);
    }
  }
  return hp::encode_adapters(records);
}

hp::Message LinkService::open_capture(const std::string& name) {
  if (captures_.size() >= hp::MAX_CAPTURES)
    return hp::encode_opened(hp::OPEN_REFUSED, 0, 0,
                             "no more than " + std::to_string(hp::MAX_CAPTURES) +
                                 " captures may be open at once");
  int type = 0;
  std::uint8_t mac[6];
  if (backend_.hardware(name, &type, mac) != 0 || type != ARPHRD_ETHER)
    return hp::encode_opened(hp::OPEN_REFUSED, 0, 0, name + " is not an Ethernet adapter");
  int link_type = 0;
  int status = 0;
  std::string error;
  std::unique_ptr<CaptureHandle> capture = backend_.open(name, &link_type, &status, &error);
  if (!capture)
    return hp::encode_opened(status != 0 ? status : hp::OPEN_REFUSED, 0, 0, error);
  if (link_type != DLT_EN10MB)
    return hp::encode_opened(hp::OPEN_REFUSED, 0, 0, name + " does not capture Ethernet frames");
  const std::uint32_t id = next_id_++;
  captures_.emplace(id, OpenCapture{name, std::move(capture)});
  return hp::encode_opened(0, id, link_type, "");
}

hp::Message LinkService::close_capture(std::uint32_t id) {
  const auto found = captures_.find(id);
  if (found == captures_.end())
    return hp::encode_closed(-1);
  std::unique_ptr<CaptureHandle> capture = std::move(found->second.capture);
  captures_.erase(found);
  if (retire_)
    retire_(std::move(capture));
  return hp::encode_closed(0);
}

hp::Message LinkService::send(std::uint32_t id, const std::uint8_t* frame, std::size_t size) {
  const auto found = captures_.find(id);
  if (found == captures_.end())
    return hp::encode_sent(hp::SendStatus::NoSuchCapture, "no such capture");
  if (size < hp::MIN_SEND_SIZE || size > hp::MAX_SEND_SIZE)
    return hp::encode_sent(hp::SendStatus::BadSize, "a frame of " + std::to_string(size) +
                                                        " bytes is not sent (" +
                                                        std::to_string(hp::MIN_SEND_SIZE) + " to " +
                                                        std::to_string(hp::MAX_SEND_SIZE) + ")");
  if (!is_link_frame(frame, size))
    return hp::encode_sent(hp::SendStatus::NotLinkFrame, "only EtherType 0x8888 frames are sent");
  int type = 0;
  std::uint8_t own[6];
  if (backend_.hardware(found->second.adapter, &type, own) != 0 || type != ARPHRD_ETHER ||
      std::memcmp(frame + 6, own, sizeof own) != 0)
    return hp::encode_sent(hp::SendStatus::ForeignSource,
                           "only frames from the adapter's own MAC are sent");
  if (found->second.capture->send(frame, static_cast<int>(size)) != 0)
    return hp::encode_sent(hp::SendStatus::Failed, "the adapter did not take the frame");
  return hp::encode_sent(hp::SendStatus::Sent, "");
}

hp::Message LinkService::next(std::uint32_t id, milliseconds wait,
                              const std::function<bool()>& client_waiting) {
  const auto found = captures_.find(id);
  if (found == captures_.end())
    return hp::encode_frame(-1, 0, nullptr, 0);
  CaptureHandle& capture = *found->second.capture;
  const auto deadline = Clock::now() + wait;
  for (;;) {
    const auto left = std::max(std::chrono::duration_cast<milliseconds>(deadline - Clock::now()),
                               milliseconds{0});
    const std::uint8_t* frame = nullptr;
    int wire_length = 0;
    int captured = 0;
    const int result = capture.next(std::min(left, WAIT_SLICE), &frame, &wire_length, &captured);
    if (result < 0)
      return hp::encode_frame(-1, 0, nullptr, 0);
    // The kernel filter passes only link frames; anything else (a frame queued before the
    // filter, or one whose VLAN tag libpcap put back) is never handed out.
    if (result > 0 && captured >= 0 && is_link_frame(frame, static_cast<std::size_t>(captured))) {
      const auto kept = static_cast<std::size_t>(std::min(captured, hp::MAX_CAPTURED_SIZE));
      const auto wire = static_cast<std::uint32_t>(std::clamp(wire_length, captured, 0xffff));
      return hp::encode_frame(1, wire, frame, kept);
    }
    if (Clock::now() >= deadline || !client_waiting())
      return hp::encode_frame(0, 0, nullptr, 0);
  }
}
