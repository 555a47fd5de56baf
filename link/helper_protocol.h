// The messages between a front end (the wizard, the command line) and qbr20g-link, the small
// helper that alone holds CAP_NET_RAW. They travel over a SOCK_SEQPACKET socket pair, one
// message per packet: an 8-byte header (kind, body size) and a body whose layout each kind
// fixes. Both ends run on the same machine from the same build, so records are in host order.
//
// The helper greets with Hello (its version), or, when it cannot serve, with an Error that says
// why and ends. The client answers a greeting of its own version with a Hello of its own (no
// reply; a helper of another version answers it with an Error and ends). Then the helper
// answers each request with one reply, in order:
//   ListAdapters          -> Adapters   the wired Ethernet adapters, with MAC and pcap flags,
//                                       or why they could not be listed
//   OpenCapture{name}     -> Opened     a capture of the 0x8888 frames that come from the wire
//                                       to the adapter's MAC or to broadcast
//   CloseCapture{id}      -> Closed
//   Send{id, frame}       -> Sent       only 0x8888 frames of 14-1514 bytes from the own MAC
//   Next{id, wait_ms}     -> Frame      the next captured frame, or nothing within the wait
//   ProbeAdapter{id, ms}  -> Probed     whether the adapter's start-up probe, sent by the
//                                       helper, went out on the wire within the wait
// A request it cannot read ends the connection after an Error reply.
//
// Header and Hello keep their layout in every version, and Error its kind, so that ends of
// different versions can still tell each other so.
//
// Decoding checks every size and field: a message that does not fit its kind exactly is
// rejected, never read past its end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace helper_protocol {

constexpr std::uint32_t MAGIC = 0x4c524251; // "QBRL"
constexpr std::uint32_t VERSION = 2;

constexpr int NAME_SIZE = 16;         // IFNAMSIZ: an interface name and its terminating zero
constexpr int DESCRIPTION_SIZE = 128; // longer descriptions are cut, zero-terminated
constexpr int ERROR_TEXT_SIZE = 256;
constexpr int MAX_ADAPTERS = 64;
constexpr int MAX_CAPTURES = 4;         // open at once on one connection
constexpr int MIN_SEND_SIZE = 14;       // an Ethernet header
constexpr int MAX_SEND_SIZE = 1514;     // an Ethernet frame without its check sequence
constexpr int MAX_CAPTURED_SIZE = 1600; // the capture's snapshot length
constexpr std::uint32_t MAX_WAIT_MS = 10000;

enum class Kind : std::uint32_t {
  Hello = 1,
  ListAdapters = 2,
  Adapters = 3,
  OpenCapture = 4,
  Opened = 5,
  CloseCapture = 6,
  Closed = 7,
  Send = 8,
  Sent = 9,
  Next = 10,
  Frame = 11,
  Error = 12,
  ProbeAdapter = 13,
  Probed = 14,
};

struct Header {
  std::uint32_t kind;
  std::uint32_t body_size;
};
static_assert(sizeof(Header) == 8);

struct AdapterRecord {
  char name[NAME_SIZE];
  char description[DESCRIPTION_SIZE];
  std::uint32_t flags; // PCAP_IF_*
  std::uint8_t mac[6];
  std::uint8_t reserved[2];
};
static_assert(sizeof(AdapterRecord) == 156);

// Why the helper refused or failed a Send.
enum class SendStatus : std::int32_t {
  Sent = 0,
  BadSize = 1,       // not 14 to 1514 bytes
  NotLinkFrame = 2,  // EtherType other than 0x8888
  ForeignSource = 3, // source MAC not the adapter's own
  NoSuchCapture = 4,
  Failed = 5, // the kernel did not take it
};

// Status of an open that the helper refused before libpcap was asked (libpcap's own statuses,
// all negative, pass through as they are).
constexpr std::int32_t OPEN_REFUSED = 1;

// The words before the reason of an Adapters reply that could not list: they tell a failed
// listing from a helper that could not be reached at all.
inline constexpr const char* LISTING_FAILED = "cannot list adapters: ";

// Outcome of a ProbeAdapter.
constexpr std::int32_t PROBE_WENT_OUT = 1;
constexpr std::int32_t PROBE_NOT_SEEN = 0; // did not go out within the wait
constexpr std::int32_t PROBE_FAILED = -1;  // could not be tried; the text says why

constexpr std::size_t ADAPTERS_HEAD_SIZE = 4 + ERROR_TEXT_SIZE + 4;
constexpr std::size_t MAX_MESSAGE_SIZE =
    sizeof(Header) + ADAPTERS_HEAD_SIZE + sizeof(AdapterRecord) * MAX_ADAPTERS;
static_assert(MAX_MESSAGE_SIZE >= sizeof(Header) + 8 + MAX_CAPTURED_SIZE);
static_assert(MAX_MESSAGE_SIZE >= sizeof(Header) + 4 + MAX_SEND_SIZE);

using Message = std::vector<std::uint8_t>;

// A decoded message of any kind; only the fields of its kind are meaningful.
struct Decoded {
  Kind kind{};
  std::uint32_t magic = 0;             // Hello
  std::uint32_t version = 0;           // Hello
  std::uint32_t capture = 0;           // CloseCapture, Send, Next, ProbeAdapter, Opened
  std::uint32_t wait_ms = 0;           // Next, ProbeAdapter
  std::int32_t status = 0;             // Adapters, Opened, Closed, Sent, Frame, Probed
  std::int32_t link_type = 0;          // Opened
  std::uint32_t wire_length = 0;       // Frame
  std::string name;                    // OpenCapture
  std::string text;                    // Adapters, Opened, Sent, Probed, Error
  std::vector<AdapterRecord> adapters; // Adapters
  const std::uint8_t* bytes = nullptr; // Send: the frame; Frame: the captured bytes
  std::size_t byte_count = 0;          // (point into the decoded buffer)
};

Message encode_hello();
Message encode_list_adapters();
Message encode_adapters(const std::vector<AdapterRecord>& adapters);
// An Adapters reply that says why the adapters could not be listed.
Message encode_adapters_failure(const std::string& error);
Message encode_open_capture(const std::string& name);
Message encode_opened(std::int32_t status, std::uint32_t capture, std::int32_t link_type,
                      const std::string& error);
Message encode_close_capture(std::uint32_t capture);
Message encode_closed(std::int32_t status);
Message encode_send(std::uint32_t capture, const std::uint8_t* frame, std::size_t size);
Message encode_sent(SendStatus status, const std::string& error);
Message encode_next(std::uint32_t capture, std::uint32_t wait_ms);
Message encode_frame(std::int32_t result, std::uint32_t wire_length, const std::uint8_t* bytes,
                     std::size_t size);
Message encode_probe_adapter(std::uint32_t capture, std::uint32_t wait_ms);
Message encode_probed(std::int32_t status, const std::string& text);
Message encode_error(const std::string& text);

// The body of one message: `size` bytes after its header.
struct Body {
  const std::uint8_t* data;
  std::size_t size;
};
using BodyDecoder = bool (*)(Body body, Decoded* message, std::string* why);

// Checks the header of `size` bytes and finds their body. False, with the reason, when the
// header is cut or its body size does not match.
bool split(const std::uint8_t* data, std::size_t size, Kind* kind, Body* body, std::string* why);

// One decoder per kind: each reads exactly the body its kind fixes.
bool decode_hello(Body body, Decoded* message, std::string* why);
bool decode_list_adapters(Body body, Decoded* message, std::string* why);
bool decode_adapters(Body body, Decoded* message, std::string* why);
bool decode_open_capture(Body body, Decoded* message, std::string* why);
bool decode_opened(Body body, Decoded* message, std::string* why);
bool decode_close_capture(Body body, Decoded* message, std::string* why);
bool decode_closed(Body body, Decoded* message, std::string* why);
bool decode_send(Body body, Decoded* message, std::string* why);
bool decode_sent(Body body, Decoded* message, std::string* why);
bool decode_next(Body body, Decoded* message, std::string* why);
bool decode_frame(Body body, Decoded* message, std::string* why);
bool decode_probe_adapter(Body body, Decoded* message, std::string* why);
bool decode_probed(Body body, Decoded* message, std::string* why);
bool decode_error(Body body, Decoded* message, std::string* why);

// Reads `size` bytes as one message of any kind. Returns false, with the reason in *why, when
// they are not a well-formed message of a known kind.
bool decode(const std::uint8_t* data, std::size_t size, Decoded* message, std::string* why);

// Requests come from the client, replies from the helper; each side accepts only its own.
// (Hello comes from both, once each, and is neither.)
bool is_request(Kind kind);
// The kind as the user may read it in a message: "open request", "adapter list", ...
const char* kind_name(Kind kind);

// Empty when `hello` greets with this version of the protocol; otherwise what the user is told,
// by the front end about the helper that sent it (`by_front_end`), or by the helper about the
// front end.
std::string version_mismatch(const Decoded& hello, bool by_front_end);

// Copies `text` into a fixed field of `size` bytes, cut to fit, zero-filled.
void copy_text(char* field, std::size_t size, const std::string& text);
// The text of a fixed field: up to its first zero, which must lie within the field.
bool read_text(const char* field, std::size_t size, std::string* text);

} // namespace helper_protocol
