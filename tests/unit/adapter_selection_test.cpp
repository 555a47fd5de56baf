#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "link/adapter_selection.h"
#include "link/link_frame.h"
#include "tests/unit/fake_host.h"

namespace {

std::string mac_text_ending(std::uint8_t last_byte) {
  char text[18];
  std::snprintf(text, sizeof text, "02-00-00-00-00-%02x", last_byte);
  return text;
}

class AdapterSearch : public ::testing::Test {
protected:
  FakeHost host;
  char list[HOST_ADAPTER_LIST_SIZE] = {};

  int search() { return find_usable_adapters(list); }
};

using AdapterReopen = AdapterSearch;

} // namespace

TEST_F(AdapterSearch, ListsWiredAdaptersFromTheLastEnumeratedToTheFirst) {
  host.add("eth0", 0x10);
  host.add("eth1", 0x11);
  host.add("eth2", 0x12);
  ASSERT_EQ(search(), 0);
  EXPECT_EQ(std::string(list),
            mac_text_ending(0x12) + mac_text_ending(0x11) + mac_text_ending(0x10));
  EXPECT_EQ(last_adapter_search_failure(), AdapterSearchFailure::None);
  ASSERT_TRUE(capture_handle) << "the capture stays open on the last adapter tried";
  EXPECT_EQ(host.adapters[0].wire->opens, 2) << "eth0 was tried last: its capture and its sender";
}

TEST_F(AdapterSearch, StartUpProbeIsTheHundredByteBroadcastFromTheAdapter) {
  host.add("eth0", 0x10);
  ASSERT_EQ(search(), 0);
  const auto sent = host.adapters[0].wire->sent_frames();
  ASSERT_EQ(sent.size(), 1u);
  Bytes expected(ADAPTER_PROBE_SIZE, 0);
  std::memset(expected.data(), 0xff, 6);
  const std::uint8_t own[6] = {0x02, 0, 0, 0, 0, 0x10};
  std::memcpy(expected.data() + 6, own, 6);
  expected[12] = 0x88;
  expected[13] = 0x88;
  EXPECT_EQ(sent[0], expected);
}

TEST_F(AdapterSearch, SkipsWirelessLoopbackDownAndMaclessAdapters) {
  host.add("wlan0", 0x01, PCAP_IF_UP, "Intel Wireless 8265");
  host.add("wlan1", 0x02, PCAP_IF_UP, "USB wireless stick");
  host.add("wlan2", 0x03, PCAP_IF_UP, "Wifi adapter");
  host.add("wlan3", 0x04, PCAP_IF_UP, "onboard wifi");
  host.add("wlan4", 0x05, PCAP_IF_UP | PCAP_IF_WIRELESS);
  host.add("lo", 0x06, PCAP_IF_UP | PCAP_IF_LOOPBACK);
  host.add("eth9", 0x07, 0); // down
  host.add("any", 0x08).has_mac = false;
  host.add("eth8", 0x09, PCAP_IF_UP | PCAP_IF_CONNECTION_STATUS_DISCONNECTED); // no carrier
  host.add("eth0", 0x10, PCAP_IF_UP, "WiFi dongle"); // only four spellings count
  host.add("eth1", 0x11);
  ASSERT_EQ(search(), 0);
  EXPECT_EQ(std::string(list), mac_text_ending(0x11) + mac_text_ending(0x10));
  for (int skipped = 0; skipped < 9; ++skipped)
    EXPECT_EQ(host.adapters[static_cast<std::size_t>(skipped)].wire->opens, 0)
        << host.adapters[static_cast<std::size_t>(skipped)].info.name;
}

TEST_F(AdapterSearch, UnopenableOrNonEthernetAdapterDoesNotEndTheSearch) {
  host.add("eth0", 0x10);
  host.add("eth1", 0x11).open_status = PCAP_ERROR;
  host.add("eth2", 0x12);
  host.add("tun0", 0x13).link_type = DLT_RAW;
  host.add("eth3", 0x14).open_status = PCAP_ERROR_NO_SUCH_DEVICE;
  ASSERT_EQ(search(), 0);
  EXPECT_EQ(std::string(list), mac_text_ending(0x12) + mac_text_ending(0x10));
  EXPECT_EQ(host.adapters[3].wire->sent_frames().size(), 0u) << "no probe on a non-Ethernet link";
}

TEST_F(AdapterSearch, AdapterThatSeesNothingOrFailsToReadIsNotUsable) {
  host.add("eth0", 0x10);
  host.add("eth1", 0x11).wire->dead = true;
  host.add("eth2", 0x12).wire->read_error = true;
  ASSERT_EQ(search(), 0);
  EXPECT_EQ(std::string(list), mac_text_ending(0x10));
  EXPECT_EQ(host.adapters[1].wire->sent_frames().size(), 1u) << "the dead adapter was probed";
}

TEST_F(AdapterSearch, FailsWithoutUsableAdapterAndLeavesTheListUntouched) {
  host.add("lo", 0x06, PCAP_IF_UP | PCAP_IF_LOOPBACK);
  host.add("eth0", 0x10).wire->dead = true;
  EXPECT_EQ(search(), -1);
  EXPECT_EQ(list[0], '\0');
  EXPECT_EQ(last_adapter_search_failure(), AdapterSearchFailure::NoUsableAdapter);

  host.adapters.clear();
  EXPECT_EQ(search(), -1) << "an empty enumeration";
  int count = 7;
  EXPECT_EQ(count_adapters(&count), -1);
  host.add("eth0", 0x10);
  host.access->list_fails = true;
  EXPECT_EQ(search(), -1) << "a failing enumeration";
  EXPECT_EQ(last_adapter_search_failure(), AdapterSearchFailure::ListingFailed)
      << "told apart: the link helper could not list the adapters";
  EXPECT_FALSE(last_adapter_open_error().empty()) << "with the reason";
}

TEST_F(AdapterSearch, LackOfCaptureRightsIsToldApartFromNoAdapter) {
  host.add("eth0", 0x10).open_status = PCAP_ERROR_PERM_DENIED;
  host.add("eth1", 0x11).open_status = PCAP_ERROR_PERM_DENIED;
  EXPECT_EQ(search(), -1);
  EXPECT_EQ(last_adapter_search_failure(), AdapterSearchFailure::PermissionDenied);
  EXPECT_NE(last_adapter_open_error(), "");

  host.add("eth2", 0x12);
  EXPECT_EQ(search(), 0) << "one usable adapter is enough, whatever the others did";
  EXPECT_EQ(last_adapter_search_failure(), AdapterSearchFailure::None);
}

TEST_F(AdapterSearch, KeepsSeventeenAdaptersAndNoMore) {
  for (int i = 0; i < 25; ++i)
    host.add("eth" + std::to_string(i), static_cast<std::uint8_t>(0x40 + i));
  std::memset(list, '#', sizeof list);
  list[HOST_ADAPTER_LIST_SIZE - 1] = '\0';
  ASSERT_EQ(search(), 0);
  ASSERT_EQ(std::strlen(list), std::size_t{MAX_USABLE_ADAPTERS * 17});
  EXPECT_EQ(std::string(list, 17), mac_text_ending(0x40 + 24));
  EXPECT_EQ(std::string(list + 16 * 17, 17), mac_text_ending(0x40 + 8));
  EXPECT_EQ(host.adapters[7].wire->opens, 0) << "the search stops once the list is full";
  EXPECT_EQ(list[USABLE_ADAPTER_LIST_ROOM], '#') << "nothing written past the working list";
}

TEST_F(AdapterSearch, QueryGivesLowerCaseText) {
  auto& adapter = host.add("eth0", 0xab);
  adapter.mac[0] = 0xAC;
  char text[18];
  std::uint8_t mac[6];
  ASSERT_EQ(query_adapter_mac("eth0", text, mac), 0);
  EXPECT_STREQ(text, "ac-00-00-00-00-ab");
  EXPECT_EQ(query_adapter_mac("nothere", text, mac), -1);
}

TEST_F(AdapterReopen, OpensTheFirstAdapterWithThatExactText) {
  host.add("eth0", 0x10);
  host.add("eth1", 0x11);
  host.add("eth1b", 0x11); // same MAC, later in the enumeration
  ASSERT_EQ(reopen_adapter(mac_text_ending(0x11).c_str()), 0);
  EXPECT_EQ(host.adapters[1].wire->opens, 1);
  EXPECT_EQ(host.adapters[2].wire->opens, 0);
  ASSERT_TRUE(capture_handle);

  EXPECT_EQ(reopen_adapter("02-00-00-00-00-AA"), 0) << "upper case matches nothing";
  EXPECT_EQ(host.adapters[1].wire->opens, 1);
  EXPECT_TRUE(capture_handle) << "no match keeps the previous capture";
}

TEST_F(AdapterReopen, FailsWhenTheAdapterCannotBeOpenedOrIsNotEthernet) {
  host.add("eth0", 0x10).open_status = PCAP_ERROR;
  host.add("tun0", 0x13).link_type = DLT_RAW;
  host.add("eth1", 0x11);
  ASSERT_EQ(reopen_adapter(mac_text_ending(0x11).c_str()), 0);
  EXPECT_EQ(reopen_adapter(mac_text_ending(0x10).c_str()), -1);
  EXPECT_FALSE(capture_handle) << "a failed open leaves no capture";
  EXPECT_EQ(reopen_adapter(mac_text_ending(0x13).c_str()), -1);
  host.access->list_fails = true;
  EXPECT_EQ(reopen_adapter(mac_text_ending(0x11).c_str()), -1);
}
