#include "link/helper_protocol.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace helper_protocol {

namespace {

struct HelloBody {
  std::uint32_t magic;
  std::uint32_t version;
};
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
struct SentBody {
  std::int32_t status;
  char error[ERROR_TEXT_SIZE];
};
struct NextBody {
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
template <typename Body>
bool read_body(const std::uint8_t* body, std::size_t size, bool with_tail, Body* out) {
  if (size < sizeof(Body) || (!with_tail && size != sizeof(Body)))
    return false;
  std::memcpy(out, body, sizeof(Body));
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
  switch (kind) {
  case Kind::ListAdapters:
  case Kind::OpenCapture:
  case Kind::CloseCapture:
  case Kind::Send:
  case Kind::Next:
    return true;
  default:
    return false;
  }
}

Message encode_hello() { return build(Kind::Hello, HelloBody{MAGIC, VERSION}); }

Message encode_list_adapters() { return build_empty(Kind::ListAdapters); }

Message encode_adapters(const std::vector<AdapterRecord>& adapters) {
  const std::uint32_t count = static_cast<std::uint32_t>(adapters.size());
  return build(Kind::Adapters, count, adapters.data(), adapters.size() * sizeof(AdapterRecord));
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
  SentBody body{static_cast<std::int32_t>(status), {}};
  copy_text(body.error, sizeof body.error, error);
  return build(Kind::Sent, body);
}

Message encode_next(std::uint32_t capture, std::uint32_t wait_ms) {
  return build(Kind::Next, NextBody{capture, wait_ms});
}

Message encode_frame(std::int32_t result, std::uint32_t wire_length, const std::uint8_t* bytes,
                     std::size_t size) {
  return build(Kind::Frame, FrameHead{result, wire_length}, bytes, size);
}

Message encode_error(const std::string& text) {
  ErrorBody body{};
  copy_text(body.text, sizeof body.text, text);
  return build(Kind::Error, body);
}

bool decode(const std::uint8_t* data, std::size_t size, Decoded* message, std::string* why) {
  Header header{};
  if (size < sizeof header)
    return fail(why, "message shorter than its header");
  if (size > MAX_MESSAGE_SIZE)
    return fail(why, "message longer than any kind allows");
  std::memcpy(&header, data, sizeof header);
  const std::size_t body_size = size - sizeof header;
  if (header.body_size != body_size)
    return fail(why, "body size does not match the message");
  const std::uint8_t* body = data + sizeof header;
  *message = Decoded{};
  message->kind = static_cast<Kind>(header.kind);

  switch (message->kind) {
  case Kind::Hello: {
    HelloBody hello{};
    if (!read_body(body, body_size, false, &hello))
      return fail(why, "hello of the wrong size");
    message->magic = hello.magic;
    message->version = hello.version;
    return true;
  }
  case Kind::ListAdapters:
    return body_size == 0 || fail(why, "adapter list request with a body");
  case Kind::Adapters: {
    std::uint32_t count = 0;
    if (!read_body(body, body_size, true, &count) || count > MAX_ADAPTERS ||
        body_size != sizeof count + count * sizeof(AdapterRecord))
      return fail(why, "adapter list of the wrong size");
    message->adapters.resize(count);
    if (count > 0)
      std::memcpy(message->adapters.data(), body + sizeof count, count * sizeof(AdapterRecord));
    std::string text;
    for (const AdapterRecord& adapter : message->adapters)
      if (!valid_interface_name(adapter.name, &text) ||
          !read_text(adapter.description, sizeof adapter.description, &text))
        return fail(why, "adapter record with a bad name or description");
    return true;
  }
  case Kind::OpenCapture: {
    OpenCaptureBody open{};
    if (!read_body(body, body_size, false, &open))
      return fail(why, "open request of the wrong size");
    if (!valid_interface_name(open.name, &message->name))
      return fail(why, "open request without a valid interface name");
    return true;
  }
  case Kind::Opened: {
    OpenedBody opened{};
    if (!read_body(body, body_size, false, &opened) ||
        !read_text(opened.error, sizeof opened.error, &message->text))
      return fail(why, "open reply of the wrong form");
    message->status = opened.status;
    message->capture = opened.capture;
    message->link_type = opened.link_type;
    return true;
  }
  case Kind::CloseCapture: {
    CaptureBody close{};
    if (!read_body(body, body_size, false, &close))
      return fail(why, "close request of the wrong size");
    message->capture = close.capture;
    return true;
  }
  case Kind::Closed: {
    StatusBody closed{};
    if (!read_body(body, body_size, false, &closed))
      return fail(why, "close reply of the wrong size");
    message->status = closed.status;
    return true;
  }
  case Kind::Send: {
    CaptureBody send{};
    if (!read_body(body, body_size, true, &send))
      return fail(why, "send request without its capture");
    message->capture = send.capture;
    message->bytes = body + sizeof send;
    message->byte_count = body_size - sizeof send;
    return true;
  }
  case Kind::Sent: {
    SentBody sent{};
    if (!read_body(body, body_size, false, &sent) ||
        !read_text(sent.error, sizeof sent.error, &message->text))
      return fail(why, "send reply of the wrong form");
    message->status = sent.status;
    return true;
  }
  case Kind::Next: {
    NextBody next{};
    if (!read_body(body, body_size, false, &next))
      return fail(why, "read request of the wrong size");
    if (next.wait_ms > MAX_WAIT_MS)
      return fail(why, "read request waiting longer than the helper allows");
    message->capture = next.capture;
    message->wait_ms = next.wait_ms;
    return true;
  }
  case Kind::Frame: {
    FrameHead head{};
    if (!read_body(body, body_size, true, &head))
      return fail(why, "frame reply without its head");
    const std::size_t count = body_size - sizeof head;
    const bool frame = head.result == 1 && count >= MIN_SEND_SIZE && count <= MAX_CAPTURED_SIZE &&
                       count <= head.wire_length && head.wire_length <= 0xffff;
    const bool nothing = (head.result == 0 || head.result == -1) && count == 0;
    if (!frame && !nothing)
      return fail(why, "frame reply of the wrong form");
    message->status = head.result;
    message->wire_length = head.wire_length;
    message->bytes = body + sizeof head;
    message->byte_count = count;
    return true;
  }
  case Kind::Error: {
    ErrorBody error{};
    if (!read_body(body, body_size, false, &error) ||
        !read_text(error.text, sizeof error.text, &message->text))
      return fail(why, "error reply of the wrong form");
    return true;
  }
  }
  return fail(why, "message of an unknown kind");
}

} // namespace helper_protocol
