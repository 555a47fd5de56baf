#include "link/helper_protocol.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

#include "link/translation.h"

namespace helper_protocol {

namespace {

struct HelloBody {
  std::uint32_t magic;
  std::uint32_t version;
};
struct AdaptersHead {
  std::int32_t status; // 0, or -1 when the adapters could not be listed
  char error[ERROR_TEXT_SIZE];
  std::uint32_t count;
};
static_assert(sizeof(AdaptersHead) == ADAPTERS_HEAD_SIZE);
struct OpenCaptureBody {
  char name[NAME_SIZE];
};
struct OpenedBody {
  std::int32_t status;
  std::uint32_t capture;
  std::int32_t link_type;
  char error[ERROR_TEXT_SIZE];
};
struct CaptureBody {
  std::uint32_t capture;
};
struct StatusBody {
  std::int32_t status;
};
struct StatusTextBody {
  std::int32_t status;
  char text[ERROR_TEXT_SIZE];
};
struct WaitBody {
  std::uint32_t capture;
  std::uint32_t wait_ms;
};
struct FrameHead {
  std::int32_t result;
  std::uint32_t wire_length;
};
struct ErrorBody {
  char text[ERROR_TEXT_SIZE];
};

// A message of `kind` with `body` followed by `tail_size` bytes from `tail`.
template <typename Body>
Message build(Kind kind, const Body& body, const void* tail = nullptr, std::size_t tail_size = 0) {
  static_assert(std::is_trivially_copyable_v<Body>);
  const Header header{static_cast<std::uint32_t>(kind),
                      static_cast<std::uint32_t>(sizeof(Body) + tail_size)};
  Message message(sizeof header + sizeof(Body) + tail_size);
  std::memcpy(message.data(), &header, sizeof header);
  std::memcpy(message.data() + sizeof header, &body, sizeof(Body));
  if (tail_size > 0)
    std::memcpy(message.data() + sizeof header + sizeof(Body), tail, tail_size);
  return message;
}

Message build_empty(Kind kind) {
  const Header header{static_cast<std::uint32_t>(kind), 0};
  Message message(sizeof header);
  std::memcpy(message.data(), &header, sizeof header);
  return message;
}

// Reads a body of exactly sizeof(Body) bytes (or at least, when the kind has a tail).
template <typename Body> bool read_body(helper_protocol::Body body, bool with_tail, Body* out) {
  if (body.size < sizeof(Body) || (!with_tail && body.size != sizeof(Body)))
    return false;
  std::memcpy(out, body.data, sizeof(Body));
  return true;
}

// An interface name as the kernel accepts one: 1 to 15 bytes, not "." or "..", without '/',
// ':' or blanks, and nothing but zeros after its end.
bool valid_interface_name(const char* field, std::string* name) {
  if (!read_text(field, NAME_SIZE, name) || name->empty() || *name == "." || *name == "..")
    return false;
  for (const char c : *name)
    if (c == '/' || c == ':' || static_cast<unsigned char>(c) <= ' ' ||
        static_cast<unsigned char>(c) >= 0x7f)
      return false;
  for (std::size_t i = name->size(); i < NAME_SIZE; ++i)
    if (field[i] != '\0')
      return false;
  return true;
}

bool fail(std::string* why, const char* reason) {
  if (why)
    *why = reason;
  return false;
}

// A status and a zero-terminated text, as Sent and Probed carry them.
bool read_status_text(Body body, Decoded* message) {
  StatusTextBody read{};
  if (!read_body(body, false, &read) || !read_text(read.text, sizeof read.text, &message->text))
    return false;
  message->status = read.status;
  return true;
}

bool read_capture_wait(Body body, Decoded* message) {
  WaitBody read{};
  if (!read_body(body, false, &read) || read.wait_ms > MAX_WAIT_MS)
    return false;
  message->capture = read.capture;
  message->wait_ms = read.wait_ms;
  return true;
}

struct KindRule {
  Kind kind;
  bool request;
  const char* name;
  BodyDecoder decode;
};

constexpr KindRule KINDS[] = {
    {Kind::Hello, false, "greeting", decode_hello},
    {Kind::ListAdapters, true, "adapter list request", decode_list_adapters},
    {Kind::Adapters, false, "adapter list", decode_adapters},
    {Kind::OpenCapture, true, "open request", decode_open_capture},
    {Kind::Opened, false, "open reply", decode_opened},
    {Kind::CloseCapture, true, "close request", decode_close_capture},
    {Kind::Closed, false, "close reply", decode_closed},
    {Kind::Send, true, "send request", decode_send},
    {Kind::Sent, false, "send reply", decode_sent},
    {Kind::Next, true, "read request", decode_next},
    {Kind::Frame, false, "frame reply", decode_frame},
    {Kind::Error, false, "error", decode_error},
    {Kind::ProbeAdapter, true, "probe request", decode_probe_adapter},
    {Kind::Probed, false, "probe reply", decode_probed},
};

const KindRule* rule_of(Kind kind) {
  for (const KindRule& rule : KINDS)
    if (rule.kind == kind)
      return &rule;
  return nullptr;
}

} // namespace

void copy_text(char* field, std::size_t size, const std::string& text) {
  std::memset(field, 0, size);
  std::memcpy(field, text.data(), std::min(text.size(), size - 1));
}

bool read_text(const char* field, std::size_t size, std::string* text) {
  const void* end = std::memchr(field, '\0', size);
  if (!end)
    return false;
  text->assign(field, static_cast<const char*>(end));
  return true;
}

bool is_request(Kind kind) {
  const KindRule* rule = rule_of(kind);
  return rule && rule->request;
}

const char* kind_name(Kind kind) {
  const KindRule* rule = rule_of(kind);
  return rule ? rule->name : "message of an unknown kind";
}

std::string version_mismatch(const Decoded& hello, bool by_front_end) {
  if (hello.version == VERSION)
    return "";
  // TRANSLATORS: %1 and %2 are version numbers of the protocol between the programs.
  const char* text = by_front_end
                         ? L_("it speaks version %1 of the link helper protocol and this program "
                              "version %2: they come from different releases; reinstall "
                              "qbr20g-link and qbr20g-setup or qbr20g-cli, all of one release")
                         : L_("the front end speaks version %1 of the link helper protocol and the "
                              "link helper version %2: they come from different releases; "
                              "reinstall qbr20g-link and qbr20g-setup or qbr20g-cli, all of one "
                              "release");
  return translation::filled(text, {std::to_string(hello.version), std::to_string(VERSION)});
}

Message encode_hello() { return build(Kind::Hello, HelloBody{MAGIC, VERSION}); }

Message encode_list_adapters() { return build_empty(Kind::ListAdapters); }

Message encode_adapters(const std::vector<AdapterRecord>& adapters) {
  AdaptersHead head{0, {}, static_cast<std::uint32_t>(adapters.size())};
  return build(Kind::Adapters, head, adapters.data(), adapters.size() * sizeof(AdapterRecord));
}

Message encode_adapters_failure(const std::string& error) {
  AdaptersHead head{-1, {}, 0};
  copy_text(head.error, sizeof head.error, error);
  return build(Kind::Adapters, head);
}

Message encode_open_capture(const std::string& name) {
  OpenCaptureBody body{};
  copy_text(body.name, sizeof body.name, name);
  return build(Kind::OpenCapture, body);
}

Message encode_opened(std::int32_t status, std::uint32_t capture, std::int32_t link_type,
                      const std::string& error) {
  OpenedBody body{status, capture, link_type, {}};
  copy_text(body.error, sizeof body.error, error);
  return build(Kind::Opened, body);
}

Message encode_close_capture(std::uint32_t capture) {
  return build(Kind::CloseCapture, CaptureBody{capture});
}

Message encode_closed(std::int32_t status) { return build(Kind::Closed, StatusBody{status}); }

Message encode_send(std::uint32_t capture, const std::uint8_t* frame, std::size_t size) {
  return build(Kind::Send, CaptureBody{capture}, frame, size);
}

Message encode_sent(SendStatus status, const std::string& error) {
  StatusTextBody body{static_cast<std::int32_t>(status), {}};
  copy_text(body.text, sizeof body.text, error);
  return build(Kind::Sent, body);
}

Message encode_next(std::uint32_t capture, std::uint32_t wait_ms) {
  return build(Kind::Next, WaitBody{capture, wait_ms});
}

Message encode_frame(std::int32_t result, std::uint32_t wire_length, const std::uint8_t* bytes,
                     std::size_t size) {
  return build(Kind::Frame, FrameHead{result, wire_length}, bytes, size);
}

Message encode_probe_adapter(std::uint32_t capture, std::uint32_t wait_ms) {
  return build(Kind::ProbeAdapter, WaitBody{capture, wait_ms});
}

Message encode_probed(std::int32_t status, const std::string& text) {
  StatusTextBody body{status, {}};
  copy_text(body.text, sizeof body.text, text);
  return build(Kind::Probed, body);
}

Message encode_error(const std::string& text) {
  ErrorBody body{};
  copy_text(body.text, sizeof body.text, text);
  return build(Kind::Error, body);
}

bool split(const std::uint8_t* data, std::size_t size, Kind* kind, Body* body, std::string* why) {
  Header header{};
  if (size < sizeof header)
    return fail(why, "message shorter than its header");
  if (size > MAX_MESSAGE_SIZE)
    return fail(why, "message longer than any kind allows");
  std::memcpy(&header, data, sizeof header);
  if (header.body_size != size - sizeof header)
    return fail(why, "body size does not match the message");
  *kind = static_cast<Kind>(header.kind);
  *body = {data + sizeof header, size - sizeof header};
  return true;
}

bool decode_hello(Body body, Decoded* message, std::string* why) {
  HelloBody hello{};
  if (!read_body(body, false, &hello))
    return fail(why, "hello of the wrong size");
  message->magic = hello.magic;
  message->version = hello.version;
  return true;
}

bool decode_list_adapters(Body body, Decoded*, std::string* why) {
  return body.size == 0 || fail(why, "adapter list request with a body");
}

bool decode_adapters(Body body, Decoded* message, std::string* why) {
  AdaptersHead head{};
  if (!read_body(body, true, &head) || head.count > MAX_ADAPTERS ||
      body.size != sizeof head + head.count * sizeof(AdapterRecord))
    return fail(why, "adapter list of the wrong size");
  if (!read_text(head.error, sizeof head.error, &message->text) ||
      (head.status != 0 && (head.status != -1 || head.count != 0)))
    return fail(why, "adapter list of the wrong form");
  message->status = head.status;
  message->adapters.resize(head.count);
  if (head.count > 0)
    std::memcpy(message->adapters.data(), body.data + sizeof head,
                head.count * sizeof(AdapterRecord));
  std::string text;
  for (const AdapterRecord& adapter : message->adapters)
    if (!valid_interface_name(adapter.name, &text) ||
        !read_text(adapter.description, sizeof adapter.description, &text))
      return fail(why, "adapter record with a bad name or description");
  return true;
}

bool decode_open_capture(Body body, Decoded* message, std::string* why) {
  OpenCaptureBody open{};
  if (!read_body(body, false, &open))
    return fail(why, "open request of the wrong size");
  if (!valid_interface_name(open.name, &message->name))
    return fail(why, "open request without a valid interface name");
  return true;
}

bool decode_opened(Body body, Decoded* message, std::string* why) {
  OpenedBody opened{};
  if (!read_body(body, false, &opened) ||
      !read_text(opened.error, sizeof opened.error, &message->text))
    return fail(why, "open reply of the wrong form");
  message->status = opened.status;
  message->capture = opened.capture;
  message->link_type = opened.link_type;
  return true;
}

bool decode_close_capture(Body body, Decoded* message, std::string* why) {
  CaptureBody close{};
  if (!read_body(body, false, &close))
    return fail(why, "close request of the wrong size");
  message->capture = close.capture;
  return true;
}

bool decode_closed(Body body, Decoded* message, std::string* why) {
  StatusBody closed{};
  if (!read_body(body, false, &closed))
    return fail(why, "close reply of the wrong size");
  message->status = closed.status;
  return true;
}

bool decode_send(Body body, Decoded* message, std::string* why) {
  CaptureBody send{};
  if (!read_body(body, true, &send))
    return fail(why, "send request without its capture");
  message->capture = send.capture;
  message->bytes = body.data + sizeof send;
  message->byte_count = body.size - sizeof send;
  return true;
}

bool decode_sent(Body body, Decoded* message, std::string* why) {
  return read_status_text(body, message) || fail(why, "send reply of the wrong form");
}

bool decode_next(Body body, Decoded* message, std::string* why) {
  return read_capture_wait(body, message) ||
         fail(why, "read request of the wrong size or waiting longer than the helper allows");
}

bool decode_frame(Body body, Decoded* message, std::string* why) {
  FrameHead head{};
  if (!read_body(body, true, &head))
    return fail(why, "frame reply without its head");
  const std::size_t count = body.size - sizeof head;
  const bool frame = head.result == 1 && count >= MIN_SEND_SIZE && count <= MAX_CAPTURED_SIZE &&
                     count <= head.wire_length && head.wire_length <= 0xffff;
  const bool nothing = (head.result == 0 || head.result == -1) && count == 0;
  if (!frame && !nothing)
    return fail(why, "frame reply of the wrong form");
  message->status = head.result;
  message->wire_length = head.wire_length;
  message->bytes = body.data + sizeof head;
  message->byte_count = count;
  return true;
}

bool decode_probe_adapter(Body body, Decoded* message, std::string* why) {
  return read_capture_wait(body, message) ||
         fail(why, "probe request of the wrong size or waiting longer than the helper allows");
}

bool decode_probed(Body body, Decoded* message, std::string* why) {
  if (!read_status_text(body, message) || message->status < PROBE_FAILED ||
      message->status > PROBE_WENT_OUT)
    return fail(why, "probe reply of the wrong form");
  return true;
}

bool decode_error(Body body, Decoded* message, std::string* why) {
  ErrorBody error{};
  if (!read_body(body, false, &error) || !read_text(error.text, sizeof error.text, &message->text))
    return fail(why, "error reply of the wrong form");
  return true;
}

bool decode(const std::uint8_t* data, std::size_t size, Decoded* message, std::string* why) {
  Kind kind{};
  Body body{};
  if (!split(data, size, &kind, &body, why))
    return false;
  *message = Decoded{};
  message->kind = kind;
  const KindRule* rule = rule_of(kind);
  if (!rule)
    return fail(why, "message of an unknown kind");
  return rule->decode(body, message, why);
}

} // namespace helper_protocol
