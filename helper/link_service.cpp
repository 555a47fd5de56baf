#include "helper/link_service.h"

#include <net/if_arp.h>
#include <pcap/dlt.h>

#include <algorithm>
#include <cstring>

#include "link/link_frame.h"
#include "link/translation.h"
#include "link/wireless_adapter.h"

namespace hp = helper_protocol;
using std::chrono::milliseconds;

namespace {

using Clock = std::chrono::steady_clock;

// A read waits in slices this long, so a client that goes away mid-wait is noticed.
constexpr milliseconds WAIT_SLICE{50};

const std::uint8_t BROADCAST[6] = {0xff, 0xff, 0xff, 0xff, 0xff, 0xff};

bool is_link_frame(const std::uint8_t* frame, std::size_t size) {
  return size >= hp::MIN_SEND_SIZE && frame[12] == 0x88 && frame[13] == 0x88;
}

// The user-space half of what a client may see, behind the kernel's: a link frame to the
// adapter or to broadcast that the adapter did not send itself.
bool is_for_adapter(const std::uint8_t* frame, std::size_t size, const std::uint8_t* own) {
  return is_link_frame(frame, size) &&
         (std::memcmp(frame, own, 6) == 0 || std::memcmp(frame, BROADCAST, 6) == 0) &&
         std::memcmp(frame + 6, own, 6) != 0;
}

} // namespace

// The requests the service answers: each kind, how its body is read, and who answers it.
struct LinkService::RequestKind {
  hp::Kind kind;
  hp::BodyDecoder decode;
  hp::Message (LinkService::*handle)(const hp::Decoded& request,
                                     const ClientWaiting& client_waiting);
};

const LinkService::RequestKind LinkService::REQUESTS[] = {
    {hp::Kind::ListAdapters, hp::decode_list_adapters, &LinkService::list_adapters},
    {hp::Kind::OpenCapture, hp::decode_open_capture, &LinkService::open_capture},
    {hp::Kind::CloseCapture, hp::decode_close_capture, &LinkService::close_capture},
    {hp::Kind::Send, hp::decode_send, &LinkService::send},
    {hp::Kind::Next, hp::decode_next, &LinkService::next},
    {hp::Kind::ProbeAdapter, hp::decode_probe_adapter, &LinkService::probe_adapter},
};

hp::Message LinkService::handle(const std::uint8_t* message, std::size_t size,
                                const ClientWaiting& client_waiting, bool* end) {
  *end = false;
  if (!greeted_)
    return greet(message, size, end);
  hp::Kind kind{};
  hp::Body body{};
  std::string why;
  if (!hp::split(message, size, &kind, &body, &why)) {
    *end = true;
    return hp::encode_error("malformed request: " + why);
  }
  for (const RequestKind& request : REQUESTS) {
    if (request.kind != kind)
      continue;
    hp::Decoded decoded;
    decoded.kind = kind;
    if (!request.decode(body, &decoded, &why)) {
      *end = true;
      return hp::encode_error("malformed request: " + why);
    }
    return (this->*request.handle)(decoded, client_waiting);
  }
  *end = true;
  return hp::encode_error("malformed request: not a request");
}

hp::Message LinkService::greet(const std::uint8_t* message, std::size_t size, bool* end) {
  hp::Decoded hello;
  std::string why;
  if (!hp::decode(message, size, &hello, &why)) {
    *end = true;
    return hp::encode_error("malformed request: " + why);
  }
  std::string mismatch;
  if (hello.kind != hp::Kind::Hello)
    // A front end of an older release sends its first request at once.
    mismatch = translation::filled(
        _("the front end did not greet as the link helper protocol's version %1 does: it comes "
          "from another release; reinstall qbr20g-link and qbr20g-setup or qbr20g-cli, all of "
          "one release"),
        {std::to_string(hp::VERSION)});
  else if (hello.magic != hp::MAGIC)
    mismatch = "malformed request: a greeting of another protocol";
  else
    mismatch = hp::version_mismatch(hello, false);
  if (!mismatch.empty()) {
    *end = true;
    return hp::encode_error(mismatch);
  }
  greeted_ = true;
  return {};
}

hp::Message LinkService::list_adapters(const hp::Decoded&, const ClientWaiting&) {
  std::vector<AdapterInfo> adapters;
  std::string error;
  if (backend_.list(&adapters, &error) != 0)
    return hp::encode_adapters_failure(hp::LISTING_FAILED + error);
  std::vector<hp::AdapterRecord> records;
  for (const AdapterInfo& adapter : adapters) {
    if (records.size() == hp::MAX_ADAPTERS)
      break;
    int type = 0;
    hp::AdapterRecord record{};
    if (adapter.name.empty() || adapter.name.size() >= hp::NAME_SIZE ||
        is_wireless_adapter(adapter) || backend_.hardware(adapter.name, &type, record.mac) != 0 ||
        type != ARPHRD_ETHER)
      continue;
    hp::copy_text(record.name, sizeof record.name, adapter.name);
    hp::copy_text(record.description, sizeof record.description, adapter.description);
    record.flags = adapter.flags;
    records.push_back(record);
  }
  return hp::encode_adapters(records);
}

std::string LinkService::refusal(const std::string& name, std::uint8_t* mac) {
  int type = 0;
  if (backend_.hardware(name, &type, mac) != 0 || type != ARPHRD_ETHER)
    return translation::filled(_("%1 is not an Ethernet adapter"), {name});
  // Wi-Fi adapters report ARPHRD_ETHER as well; the front ends' own test tells them apart.
  std::vector<AdapterInfo> adapters;
  std::string error;
  if (backend_.list(&adapters, &error) != 0)
    // TRANSLATORS: %2 is "cannot list adapters: " (always English) and the system's reason.
    return translation::filled(_("cannot tell whether %1 is a Wi-Fi adapter: %2"),
                               {name, hp::LISTING_FAILED + error});
  const auto listed =
      std::find_if(adapters.begin(), adapters.end(),
                   [&](const AdapterInfo& adapter) { return adapter.name == name; });
  if (listed == adapters.end())
    return translation::filled(_("%1 is not among the adapters this computer lists"), {name});
  if (is_wireless_adapter(*listed))
    return translation::filled(_("%1 is a Wi-Fi adapter; the bridge is reached on a wired one"),
                               {name});
  return "";
}

hp::Message LinkService::open_capture(const hp::Decoded& request, const ClientWaiting&) {
  const std::string& name = request.name;
  if (captures_.size() >= hp::MAX_CAPTURES)
    return hp::encode_opened(hp::OPEN_REFUSED, 0, 0,
                             translation::filled(_("no more than %1 captures may be open at once"),
                                                 {std::to_string(hp::MAX_CAPTURES)}));
  OpenCapture opened{name, {}, nullptr};
  const std::string refused = refusal(name, opened.mac);
  if (!refused.empty())
    return hp::encode_opened(hp::OPEN_REFUSED, 0, 0, refused);
  int link_type = 0;
  int status = 0;
  std::string error;
  opened.capture = backend_.open(name, &link_type, &status, &error);
  if (!opened.capture)
    return hp::encode_opened(status != 0 ? status : hp::OPEN_REFUSED, 0, 0, error);
  if (link_type != DLT_EN10MB)
    return hp::encode_opened(hp::OPEN_REFUSED, 0, 0,
                             translation::filled(_("%1 does not capture Ethernet frames"), {name}));
  const std::uint32_t id = next_id_++;
  captures_.emplace(id, std::move(opened));
  return hp::encode_opened(0, id, link_type, "");
}

void LinkService::retire(std::shared_ptr<void> closing) {
  if (retire_)
    retire_(std::move(closing));
}

hp::Message LinkService::close_capture(const hp::Decoded& request, const ClientWaiting&) {
  const auto found = captures_.find(request.capture);
  if (found == captures_.end())
    return hp::encode_closed(-1);
  std::shared_ptr<void> capture = std::move(found->second.capture);
  captures_.erase(found);
  retire(std::move(capture));
  return hp::encode_closed(0);
}

hp::Message LinkService::send(const hp::Decoded& request, const ClientWaiting&) {
  const auto found = captures_.find(request.capture);
  if (found == captures_.end())
    return hp::encode_sent(hp::SendStatus::NoSuchCapture, _("no such capture"));
  const std::uint8_t* frame = request.bytes;
  const std::size_t size = request.byte_count;
  if (size < hp::MIN_SEND_SIZE || size > hp::MAX_SEND_SIZE)
    return hp::encode_sent(
        hp::SendStatus::BadSize,
        translation::filled(_("a frame of %1 bytes is not sent (%2 to %3)"),
                            {std::to_string(size), std::to_string(hp::MIN_SEND_SIZE),
                             std::to_string(hp::MAX_SEND_SIZE)}));
  if (!is_link_frame(frame, size))
    return hp::encode_sent(hp::SendStatus::NotLinkFrame,
                           _("only EtherType 0x8888 frames are sent"));
  int type = 0;
  std::uint8_t own[6];
  if (backend_.hardware(found->second.adapter, &type, own) != 0 || type != ARPHRD_ETHER ||
      std::memcmp(frame + 6, own, sizeof own) != 0)
    return hp::encode_sent(hp::SendStatus::ForeignSource,
                           _("only frames from the adapter's own MAC are sent"));
  CaptureHandle& capture = *found->second.capture;
  if (capture.send(frame, static_cast<int>(size)) != 0) {
    const std::string why = capture.failure();
    return hp::encode_sent(
        hp::SendStatus::Failed,
        why.empty() ? translation::filled(_("%1 did not take the frame"), {found->second.adapter})
                    : translation::filled(_("%1 did not take the frame: %2"),
                                          {found->second.adapter, why}));
  }
  return hp::encode_sent(hp::SendStatus::Sent, "");
}

hp::Message LinkService::next(const hp::Decoded& request, const ClientWaiting& client_waiting) {
  const auto found = captures_.find(request.capture);
  if (found == captures_.end())
    return hp::encode_frame(-1, 0, nullptr, 0);
  CaptureHandle& capture = *found->second.capture;
  const auto deadline = Clock::now() + milliseconds{request.wait_ms};
  for (;;) {
    const auto left = std::max(std::chrono::duration_cast<milliseconds>(deadline - Clock::now()),
                               milliseconds{0});
    const std::uint8_t* frame = nullptr;
    int wire_length = 0;
    int captured = 0;
    const int result = capture.next(std::min(left, WAIT_SLICE), &frame, &wire_length, &captured);
    if (result < 0)
      return hp::encode_frame(-1, 0, nullptr, 0);
    // The kernel passes only link frames from the wire to the adapter or to broadcast; this
    // check stands behind it (for a frame the kernel queued as the filter went on, or one whose
    // VLAN tag libpcap put back).
    if (result > 0 && captured >= 0 &&
        is_for_adapter(frame, static_cast<std::size_t>(captured), found->second.mac)) {
      const auto kept = static_cast<std::size_t>(std::min(captured, hp::MAX_CAPTURED_SIZE));
      const auto wire = static_cast<std::uint32_t>(std::clamp(wire_length, captured, 0xffff));
      return hp::encode_frame(1, wire, frame, kept);
    }
    if (Clock::now() >= deadline || !client_waiting())
      return hp::encode_frame(0, 0, nullptr, 0);
  }
}

hp::Message LinkService::probe_adapter(const hp::Decoded& request, const ClientWaiting&) {
  const auto found = captures_.find(request.capture);
  if (found == captures_.end())
    return hp::encode_probed(hp::PROBE_FAILED, _("no such capture"));
  const std::string& adapter = found->second.adapter;
  int type = 0;
  std::uint8_t own[6];
  if (backend_.hardware(adapter, &type, own) != 0 || type != ARPHRD_ETHER)
    return hp::encode_probed(hp::PROBE_FAILED,
                             translation::filled(_("%1 has no Ethernet MAC any more"), {adapter}));
  std::uint8_t probe[ADAPTER_PROBE_SIZE];
  const int size = build_adapter_probe(probe, own);
  std::string error;
  std::unique_ptr<OutgoingWatch> watch = backend_.watch_outgoing(adapter, probe, size, &error);
  if (!watch)
    return hp::encode_probed(hp::PROBE_FAILED, error);
  CaptureHandle& capture = *found->second.capture;
  std::string missed;
  if (capture.send(probe, size) != 0) {
    const std::string why = capture.failure();
    missed = why.empty() ? translation::filled(_("%1 did not take the probe"), {adapter})
                         : translation::filled(_("%1 did not take the probe: %2"), {adapter, why});
  } else if (!watch->seen(milliseconds{request.wait_ms})) {
    missed = translation::filled(_("the probe did not go out on %1 within %2 ms"),
                                 {adapter, std::to_string(request.wait_ms)});
  }
  retire(std::move(watch));
  return missed.empty() ? hp::encode_probed(hp::PROBE_WENT_OUT, "")
                        : hp::encode_probed(hp::PROBE_NOT_SEEN, missed);
}
