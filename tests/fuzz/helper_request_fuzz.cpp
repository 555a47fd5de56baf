// Feeds a session of arbitrary requests to the link helper's service, as a hostile client would
// send them. The input is a sequence of records, each a 16-bit little-endian length and that
// many bytes, handed to the service one after another after a greeting and a valid open of eth0
// (capture 1).
// Checks: every reply is a well-formed reply; the connection ends exactly on a request that does
// not decode as one; nothing but 0x8888 frames of 14 to 1514 bytes from eth0's own MAC reaches
// the scripted wire; nothing but 0x8888 frames is handed back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "helper/link_service.h"
#include "link/helper_protocol.h"
#include "tests/support/scripted_link_backend.h"

namespace hp = helper_protocol;

namespace {

void check(bool holds) {
  if (!holds)
    std::abort();
}

std::vector<std::uint8_t> frame_of(std::uint16_t ether_type, std::size_t size) {
  std::vector<std::uint8_t> frame(size, 0x5a);
  frame[12] = static_cast<std::uint8_t>(ether_type >> 8);
  frame[13] = static_cast<std::uint8_t>(ether_type);
  return frame;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ScriptedLinkBackend backend;
  ScriptedInterface& eth0 = backend.add("eth0", ARPHRD_ETHER, 0x01);
  backend.add("lo", ARPHRD_LOOPBACK, 0x00);
  eth0.incoming.push_back({frame_of(0x0800, 60), 60});
  eth0.incoming.push_back({frame_of(0x8888, 60), 60});
  eth0.incoming.push_back({frame_of(0x8100, 64), 64});
  eth0.incoming.push_back({std::vector<std::uint8_t>(13, 0x88), 13});
  LinkService service(backend);
  const auto client_gone = [] { return false; };

  bool end = false;
  const hp::Message hello = hp::encode_hello();
  check(service.handle(hello.data(), hello.size(), client_gone, &end).empty() && !end);
  const hp::Message open = hp::encode_open_capture("eth0");
  service.handle(open.data(), open.size(), client_gone, &end);
  check(!end);

  std::size_t at = 0;
  while (at + 2 <= size && !end) {
    const std::size_t length = std::min<std::size_t>(data[at] | (data[at + 1] << 8), size - at - 2);
    const std::uint8_t* request = data + at + 2;
    at += 2 + length;

    hp::Decoded as_request;
    std::string why;
    const bool is_request =
        hp::decode(request, length, &as_request, &why) && hp::is_request(as_request.kind);
    const hp::Message reply = service.handle(request, length, client_gone, &end);
    check(end == !is_request);

    hp::Decoded decoded;
    check(hp::decode(reply.data(), reply.size(), &decoded, &why));
    check(!hp::is_request(decoded.kind));
    check((decoded.kind == hp::Kind::Error) == end);
    if (decoded.kind == hp::Kind::Frame && decoded.status == 1)
      check(decoded.byte_count >= 14 && decoded.bytes[12] == 0x88 && decoded.bytes[13] == 0x88);
  }
  for (const auto& frame : eth0.sent)
    check(frame.size() >= 14 && frame.size() <= 1514 && frame[12] == 0x88 && frame[13] == 0x88 &&
          std::memcmp(frame.data() + 6, eth0.mac, 6) == 0);
  return 0;
}
