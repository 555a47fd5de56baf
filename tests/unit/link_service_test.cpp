// The link helper's service over a scripted system: what it lists, opens, sends and hands back,
// and how it meets requests that do not fit the protocol. Each case is what a hostile client of
// the helper (any local user may run it) would try.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "helper/link_service.h"
#include "link/helper_protocol.h"
#include "tests/support/scripted_link_backend.h"

namespace hp = helper_protocol;

namespace {

using Frame = std::vector<std::uint8_t>;

const std::uint8_t BRIDGE[6] = {0x02, 0, 0, 0, 0x0b, 0x01};
const std::uint8_t ETH0[6] = {0x02, 0, 0, 0, 0x0a, 0x01}; // eth0's MAC in the scripted backend
const std::uint8_t BROADCAST[6] = {0xff, 0xff, 0xff, 0xff, 0xff, 0xff};

Frame frame_of(const std::uint8_t* src, std::uint16_t ether_type, std::size_t size,
               const std::uint8_t* dst = BRIDGE) {
  Frame frame(size, 0);
  std::memcpy(frame.data(), dst, 6);
  std::memcpy(frame.data() + 6, src, 6);
  frame[12] = static_cast<std::uint8_t>(ether_type >> 8);
  frame[13] = static_cast<std::uint8_t>(ether_type & 0xff);
  return frame;
}

class LinkServiceTest : public ::testing::Test {
protected:
  LinkServiceTest() : service(backend) {
    backend.add("eth0", ARPHRD_ETHER, 0x01);
    backend.add("lo", ARPHRD_LOOPBACK, 0x00);
    backend.add("tun0", ARPHRD_NONE, 0x00);
    backend.add("eth1", ARPHRD_ETHER, 0x02);
    backend.add("ib0", ARPHRD_INFINIBAND, 0x03);
    const hp::Message hello = hp::encode_hello();
    bool end = false;
    EXPECT_TRUE(service
                    .handle(
                        hello.data(), hello.size(), [] { return true; }, &end)
                    .empty())
        << "the client's greeting has no reply";
    EXPECT_FALSE(end);
  }

  // The decoded reply to `request`; *ended tells whether the service ends the connection.
  hp::Decoded Ask(const hp::Message& request, bool* ended = nullptr, bool client_waits = true) {
    bool end = false;
    reply_bytes = service.handle(
        request.data(), request.size(), [&] { return client_waits; }, &end);
    if (ended)
      *ended = end;
    hp::Decoded reply;
    std::string why;
    EXPECT_TRUE(hp::decode(reply_bytes.data(), reply_bytes.size(), &reply, &why)) << why;
    EXPECT_FALSE(hp::is_request(reply.kind));
    return reply;
  }

  std::uint32_t Open(const std::string& name) {
    const hp::Decoded opened = Ask(hp::encode_open_capture(name));
    EXPECT_EQ(opened.kind, hp::Kind::Opened);
    EXPECT_EQ(opened.status, 0) << opened.text;
    return opened.capture;
  }

  ScriptedLinkBackend backend;
  LinkService service;
  hp::Message reply_bytes;
};

} // namespace

TEST_F(LinkServiceTest, ListsWiredEthernetAdaptersOnlyWithTheirMacsAndFlags) {
  backend.add("any", ARPHRD_VOID, 0).listed = true;
  backend.add("nflog", ARPHRD_NONE, 0).listed = true;
  // Managed-mode Wi-Fi reports ARPHRD_ETHER too; the system's flag or the words tell it.
  backend.add("wlan0", ARPHRD_ETHER, 0x10).flags |= PCAP_IF_WIRELESS;
  backend.add("wlan1", ARPHRD_ETHER, 0x11).description = "Intel Wireless 8265";
  backend.add("wlp2s0", ARPHRD_ETHER, 0x12).description = "onboard wifi";
  const hp::Decoded reply = Ask(hp::encode_list_adapters());
  ASSERT_EQ(reply.kind, hp::Kind::Adapters);
  EXPECT_EQ(reply.status, 0);
  ASSERT_EQ(reply.adapters.size(), 2u);
  EXPECT_STREQ(reply.adapters[0].name, "eth0");
  EXPECT_STREQ(reply.adapters[1].name, "eth1");
  EXPECT_EQ(reply.adapters[1].mac[5], 0x02);
  EXPECT_EQ(reply.adapters[0].flags, backend["eth0"].flags);

  // A listing that fails says so, and why: it is not an empty list.
  backend.list_error = "socket: Too many open files";
  const hp::Decoded failed = Ask(hp::encode_list_adapters());
  EXPECT_EQ(failed.status, -1);
  EXPECT_TRUE(failed.adapters.empty());
  EXPECT_EQ(failed.text, "cannot list adapters: socket: Too many open files");
}

TEST_F(LinkServiceTest, OpensCapturesOnEthernetAdaptersOnly) {
  for (const char* name : {"lo", "tun0", "ib0", "any", "nflog", "dbus-system", "usbmon0"}) {
    const hp::Decoded reply = Ask(hp::encode_open_capture(name));
    EXPECT_EQ(reply.kind, hp::Kind::Opened);
    EXPECT_EQ(reply.status, hp::OPEN_REFUSED) << name;
    EXPECT_NE(reply.text.find("not an Ethernet adapter"), std::string::npos) << reply.text;
  }
  for (const auto& name : {"lo", "tun0", "ib0"})
    EXPECT_EQ(backend[name].opens, 0) << name << " was opened before it was refused";

  backend.add("wlan0", ARPHRD_ETHER, 0x10).flags |= PCAP_IF_WIRELESS;
  backend.add("wlan1", ARPHRD_ETHER, 0x11).description = "USB Wifi stick";
  backend.add("eth7", ARPHRD_ETHER, 0x17).listed = false;
  for (const char* name : {"wlan0", "wlan1", "eth7"}) {
    const hp::Decoded reply = Ask(hp::encode_open_capture(name));
    EXPECT_EQ(reply.status, hp::OPEN_REFUSED) << name;
    EXPECT_EQ(backend[name].opens, 0) << name;
  }
  EXPECT_EQ(Ask(hp::encode_open_capture("wlan0")).text,
            "wlan0 is a Wi-Fi adapter; the bridge is reached on a wired one");
  backend.list_error = "no /sys";
  EXPECT_EQ(Ask(hp::encode_open_capture("eth0")).text,
            "cannot tell whether eth0 is a Wi-Fi adapter: cannot list adapters: no /sys");
  backend.list_error.clear();

  backend["eth1"].link_type = DLT_LINUX_SLL;
  EXPECT_EQ(Ask(hp::encode_open_capture("eth1")).status, hp::OPEN_REFUSED);
  backend["eth1"].open_status = PCAP_ERROR_PERM_DENIED;
  const hp::Decoded denied = Ask(hp::encode_open_capture("eth1"));
  EXPECT_EQ(denied.status, PCAP_ERROR_PERM_DENIED) << "libpcap's status reaches the client";

  EXPECT_NE(Open("eth0"), 0u);
}

TEST_F(LinkServiceTest, NoMoreThanFourCapturesAreOpenAtOnce) {
  std::vector<std::uint32_t> ids;
  for (int i = 0; i < hp::MAX_CAPTURES; ++i)
    ids.push_back(Open("eth0"));
  EXPECT_EQ(Ask(hp::encode_open_capture("eth0")).status, hp::OPEN_REFUSED);
  EXPECT_EQ(Ask(hp::encode_close_capture(ids[0])).status, 0);
  EXPECT_EQ(Ask(hp::encode_close_capture(ids[0])).status, -1) << "closed already";
  EXPECT_NE(Open("eth0"), 0u);
}

TEST_F(LinkServiceTest, SendsOnlyLinkFramesOfEthernetSizeFromTheAdaptersOwnMac) {
  const std::uint32_t capture = Open("eth0");
  const std::uint8_t* own = backend["eth0"].mac;
  const std::uint8_t forged[6] = {0x02, 0, 0, 0, 0x0c, 0x01};
  struct Case {
    const char* what;
    Frame frame;
    hp::SendStatus status;
  };
  const Case refused[] = {
      {"IPv4", frame_of(own, 0x0800, 64), hp::SendStatus::NotLinkFrame},
      {"ARP", frame_of(own, 0x0806, 60), hp::SendStatus::NotLinkFrame},
      {"VLAN-tagged", frame_of(own, 0x8100, 64), hp::SendStatus::NotLinkFrame},
      {"forged source", frame_of(forged, 0x8888, 64), hp::SendStatus::ForeignSource},
      {"another adapter's source", frame_of(backend["eth1"].mac, 0x8888, 64),
       hp::SendStatus::ForeignSource},
      {"1515 bytes", frame_of(own, 0x8888, 1515), hp::SendStatus::BadSize},
      {"13 bytes", Frame(13, 0), hp::SendStatus::BadSize},
      {"no bytes", Frame(), hp::SendStatus::BadSize},
  };
  for (const Case& attempt : refused) {
    const hp::Decoded reply =
        Ask(hp::encode_send(capture, attempt.frame.data(), attempt.frame.size()));
    EXPECT_EQ(reply.kind, hp::Kind::Sent);
    EXPECT_EQ(reply.status, static_cast<std::int32_t>(attempt.status)) << attempt.what;
    EXPECT_FALSE(reply.text.empty()) << attempt.what;
  }
  EXPECT_TRUE(backend["eth0"].sent.empty()) << "a refused frame reached the wire";

  const Frame smallest = frame_of(own, 0x8888, 14);
  const Frame largest = frame_of(own, 0x8888, 1514);
  for (const Frame& frame : {smallest, largest})
    EXPECT_EQ(Ask(hp::encode_send(capture, frame.data(), frame.size())).status, 0);
  EXPECT_EQ(backend["eth0"].sent, (std::vector<Frame>{smallest, largest}));

  const Frame lost = frame_of(own, 0x8888, 64);
  EXPECT_EQ(Ask(hp::encode_send(capture + 100, lost.data(), lost.size())).status,
            static_cast<std::int32_t>(hp::SendStatus::NoSuchCapture));
}

TEST_F(LinkServiceTest, TheSourceIsCheckedAgainstTheMacTheAdapterHasWhenItSends) {
  const std::uint32_t capture = Open("eth0");
  const Frame with_old_mac = frame_of(backend["eth0"].mac, 0x8888, 64);
  backend["eth0"].mac[5] = 0x77;
  EXPECT_EQ(Ask(hp::encode_send(capture, with_old_mac.data(), with_old_mac.size())).status,
            static_cast<std::int32_t>(hp::SendStatus::ForeignSource));
  EXPECT_TRUE(backend["eth0"].sent.empty());
}

// What a capture's kernel filter lets through should it ever pass more (a frame queued as the
// filter went on): only link frames to the adapter or to broadcast that it did not send.
TEST_F(LinkServiceTest, HandsBackLinkFramesToTheAdapterOnlyWithTheirWireLength) {
  const std::uint32_t capture = Open("eth0");
  const std::uint8_t other_station[6] = {0x02, 0, 0, 0, 0x0c, 0x01};
  const std::uint8_t multicast[6] = {0x01, 0x80, 0xc2, 0, 0, 0x0e};
  auto& incoming = backend["eth0"].incoming;
  incoming.push_back({frame_of(BRIDGE, 0x0800, 60, ETH0), 60});
  incoming.push_back({frame_of(BRIDGE, 0x0806, 60, BROADCAST), 60});
  incoming.push_back({frame_of(BRIDGE, 0x8100, 64, ETH0), 64});
  incoming.push_back({Frame(10, 0x88), 10});
  incoming.push_back({frame_of(BRIDGE, 0x8888, 64, other_station), 64});
  incoming.push_back({frame_of(BRIDGE, 0x8888, 64, multicast), 64});
  incoming.push_back({frame_of(ETH0, 0x8888, 64, BRIDGE), 64});    // what eth0 sent
  incoming.push_back({frame_of(ETH0, 0x8888, 64, BROADCAST), 64}); // eth0's own probe
  incoming.push_back({frame_of(BRIDGE, 0x8888, 1514, ETH0), 1514});
  incoming.push_back({frame_of(BRIDGE, 0x8888, 60, BROADCAST), 60});
  incoming.push_back({frame_of(BRIDGE, 0x8888, 1600, ETH0), 9000}); // cut by the snapshot length

  hp::Decoded reply = Ask(hp::encode_next(capture, 100));
  ASSERT_EQ(reply.kind, hp::Kind::Frame);
  ASSERT_EQ(reply.status, 1);
  EXPECT_EQ(reply.wire_length, 1514u);
  EXPECT_EQ(reply.byte_count, 1514u);
  EXPECT_EQ(reply.bytes[12], 0x88);

  reply = Ask(hp::encode_next(capture, 100));
  ASSERT_EQ(reply.status, 1);
  EXPECT_EQ(reply.wire_length, 60u) << "a broadcast from the bridge";

  reply = Ask(hp::encode_next(capture, 100));
  ASSERT_EQ(reply.status, 1);
  EXPECT_EQ(reply.wire_length, 9000u);
  EXPECT_EQ(reply.byte_count, 1600u);

  EXPECT_EQ(Ask(hp::encode_next(capture, 20)).status, 0) << "nothing more within the wait";
  EXPECT_EQ(Ask(hp::encode_next(capture + 1, 20)).status, -1) << "no such capture";
}

// The helper builds the probe itself, from the adapter's own MAC, and tells the client only
// whether it went out; the watch is set up before the probe is sent.
TEST_F(LinkServiceTest, ProbesAnAdapterWithItsOwnHundredByteBroadcastAndSaysWhetherItWentOut) {
  const std::uint32_t capture = Open("eth0");
  hp::Decoded reply = Ask(hp::encode_probe_adapter(capture, 300));
  ASSERT_EQ(reply.kind, hp::Kind::Probed);
  EXPECT_EQ(reply.status, hp::PROBE_WENT_OUT) << reply.text;
  Frame probe = frame_of(ETH0, 0x8888, 100, BROADCAST);
  EXPECT_EQ(backend["eth0"].sent, std::vector<Frame>{probe});
  EXPECT_EQ(backend["eth0"].watches, 1);

  backend["eth0"].probe_goes_out = false;
  reply = Ask(hp::encode_probe_adapter(capture, 300));
  EXPECT_EQ(reply.status, hp::PROBE_NOT_SEEN);
  EXPECT_EQ(reply.text, "the probe did not go out on eth0 within 300 ms");

  reply = Ask(hp::encode_probe_adapter(capture + 7, 300));
  EXPECT_EQ(reply.status, hp::PROBE_FAILED);
  EXPECT_EQ(reply.text, "no such capture");
  EXPECT_EQ(backend["eth0"].sent.size(), 2u) << "nothing sent for a capture that is not open";
}

TEST_F(LinkServiceTest, AWaitEndsWhenTheClientGoesAway) {
  const std::uint32_t capture = Open("eth0");
  const auto start = std::chrono::steady_clock::now();
  const hp::Decoded reply = Ask(hp::encode_next(capture, hp::MAX_WAIT_MS), nullptr, false);
  EXPECT_EQ(reply.status, 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds{1});
}

TEST_F(LinkServiceTest, RequestsThatDoNotFitTheProtocolEndTheConnectionWithAnError) {
  const hp::Message open = hp::encode_open_capture("eth0");
  std::vector<hp::Message> malformed = {
      {},                                          // nothing
      hp::Message(open.begin(), open.begin() + 7), // cut inside the header
      hp::Message(open.begin(), open.end() - 1),   // cut inside the body
      hp::encode_next(1, hp::MAX_WAIT_MS + 1),     // waits longer than allowed
      hp::encode_hello(),                          // a reply, not a request
      hp::encode_frame(0, 0, nullptr, 0),          // a reply, not a request
  };
  hp::Message longer = open;
  longer.push_back(0);
  malformed.push_back(longer); // a byte beyond its body
  hp::Message unknown = hp::encode_list_adapters();
  unknown[0] = 99;
  malformed.push_back(unknown);
  hp::Message lying = hp::encode_list_adapters();
  lying[4] = 200; // body size that the message does not have
  malformed.push_back(lying);
  for (const char* name : {"", "..", "a/b", "eth 0", "eth0:1", "sixteen-chars-xx"}) {
    hp::Message bad_name = hp::encode_open_capture("eth0");
    std::memset(bad_name.data() + sizeof(hp::Header), 0, hp::NAME_SIZE);
    std::memcpy(bad_name.data() + sizeof(hp::Header), name,
                std::min<std::size_t>(std::strlen(name), hp::NAME_SIZE));
    malformed.push_back(bad_name);
  }
  hp::Message unterminated = hp::encode_open_capture("eth0");
  std::memset(unterminated.data() + sizeof(hp::Header), 'e', hp::NAME_SIZE);
  malformed.push_back(unterminated);
  hp::Message trailing = hp::encode_open_capture("eth0");
  trailing[sizeof(hp::Header) + 10] = 'x'; // bytes after the name's end
  malformed.push_back(trailing);

  malformed.push_back(hp::encode_probe_adapter(1, hp::MAX_WAIT_MS + 1));

  for (std::size_t i = 0; i < malformed.size(); ++i) {
    bool ended = false;
    const hp::Decoded reply = Ask(malformed[i], &ended);
    EXPECT_TRUE(ended) << "request " << i;
    EXPECT_EQ(reply.kind, hp::Kind::Error) << "request " << i;
    EXPECT_NE(reply.text.find("malformed request"), std::string::npos) << reply.text;
  }
  EXPECT_EQ(backend["eth0"].opens, 0);
}

// A front end of another release is refused at its first message, and told to reinstall.
TEST(LinkServiceGreeting, AClientOfAnotherReleaseIsToldToReinstall) {
  hp::Message older = hp::encode_hello();
  older[12] = 1; // version 1
  hp::Message newer = hp::encode_hello();
  newer[12] = 3;
  hp::Message stranger = hp::encode_hello();
  stranger[8] = 'X'; // another protocol's magic
  struct Case {
    hp::Message first;
    const char* says;
  };
  for (const Case& greeting :
       {Case{older, "the front end speaks version 1 of the link helper protocol and the link "
                    "helper version 2"},
        Case{newer, "the front end speaks version 3"},
        Case{hp::encode_list_adapters(), "the front end did not greet"},
        Case{stranger, "malformed request"}}) {
    ScriptedLinkBackend backend;
    backend.add("eth0", ARPHRD_ETHER, 0x01);
    LinkService service(backend);
    bool end = false;
    const hp::Message reply = service.handle(
        greeting.first.data(), greeting.first.size(), [] { return true; }, &end);
    EXPECT_TRUE(end) << greeting.says;
    hp::Decoded decoded;
    ASSERT_TRUE(hp::decode(reply.data(), reply.size(), &decoded, nullptr));
    EXPECT_EQ(decoded.kind, hp::Kind::Error);
    EXPECT_NE(decoded.text.find(greeting.says), std::string::npos) << decoded.text;
    if (greeting.first != stranger) {
      EXPECT_NE(decoded.text.find("reinstall qbr20g-link"), std::string::npos) << decoded.text;
    }
  }
}

TEST(HelperProtocol, EveryMessageDecodesToWhatWasEncodedAndNotOneByteLess) {
  hp::AdapterRecord adapter{};
  hp::copy_text(adapter.name, sizeof adapter.name, "eth0");
  hp::copy_text(adapter.description, sizeof adapter.description, std::string(300, 'd'));
  adapter.flags = 6;
  const Frame frame = frame_of(BRIDGE, 0x8888, 60);
  const std::vector<hp::Message> messages = {
      hp::encode_hello(),
      hp::encode_list_adapters(),
      hp::encode_adapters({adapter, adapter}),
      hp::encode_adapters({}),
      hp::encode_open_capture("eth0"),
      hp::encode_opened(-8, 3, 1, "denied"),
      hp::encode_close_capture(3),
      hp::encode_closed(0),
      hp::encode_send(3, frame.data(), frame.size()),
      hp::encode_sent(hp::SendStatus::ForeignSource, "not yours"),
      hp::encode_next(3, 100),
      hp::encode_frame(1, 1000, frame.data(), frame.size()),
      hp::encode_error(std::string(1000, 'e')),
      hp::encode_adapters_failure("cannot list adapters: no"),
      hp::encode_probe_adapter(3, 300),
      hp::encode_probed(hp::PROBE_NOT_SEEN, "did not go out"),
  };
  for (const hp::Message& message : messages) {
    hp::Decoded decoded;
    std::string why;
    ASSERT_TRUE(hp::decode(message.data(), message.size(), &decoded, &why)) << why;
    for (std::size_t cut = 0; cut < message.size(); ++cut)
      EXPECT_FALSE(hp::decode(message.data(), cut, &decoded, &why))
          << "kind " << static_cast<int>(message[0]) << " cut to " << cut;
  }
  hp::Decoded decoded;
  std::string why;
  ASSERT_TRUE(hp::decode(messages[2].data(), messages[2].size(), &decoded, &why));
  ASSERT_EQ(decoded.adapters.size(), 2u);
  EXPECT_EQ(std::string(decoded.adapters[1].description), std::string(127, 'd'));
  ASSERT_TRUE(hp::decode(messages[5].data(), messages[5].size(), &decoded, &why));
  EXPECT_EQ(decoded.status, -8);
  EXPECT_EQ(decoded.text, "denied");
  ASSERT_TRUE(hp::decode(messages[11].data(), messages[11].size(), &decoded, &why));
  EXPECT_EQ(decoded.wire_length, 1000u);
  EXPECT_EQ(Frame(decoded.bytes, decoded.bytes + decoded.byte_count), frame);
  ASSERT_TRUE(hp::decode(messages[12].data(), messages[12].size(), &decoded, &why));
  EXPECT_EQ(decoded.text.size(), hp::ERROR_TEXT_SIZE - 1u);
  ASSERT_TRUE(hp::decode(messages[13].data(), messages[13].size(), &decoded, &why));
  EXPECT_EQ(decoded.status, -1);
  EXPECT_EQ(decoded.text, "cannot list adapters: no");
  ASSERT_TRUE(hp::decode(messages[15].data(), messages[15].size(), &decoded, &why));
  EXPECT_EQ(decoded.status, hp::PROBE_NOT_SEEN);
  EXPECT_EQ(decoded.text, "did not go out");
}
