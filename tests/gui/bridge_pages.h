// A fixture for pages that talk to the bridge, run against an in-process bridge (no wire, no
// root): the link is scripted, the bridge answers from a scenario of five networks, and the shared
// records start empty.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>

#include "device/wireless_records.h"
#include "link/mac_text.h"
#include "tests/gui/wizard_driver.h"
#include "tests/support/fake_bridge.h"
#include "wizard/link_state.h"
#include "wizard/page_messages.h"
#include "wizard/site_survey_page.h"

inline const std::uint8_t OWN_MAC[6] = {0x02, 0x00, 0x00, 0x00, 0x0a, 0x01};
inline const std::uint8_t BRIDGE_MAC[6] = {0x02, 0x00, 0x00, 0x00, 0x0b, 0x01};

inline void ClearRecords() {
  std::memset(NetworkTable, 0, sizeof NetworkTable);
  std::memset(&CurrentNetwork, 0, sizeof CurrentNetwork);
  std::memset(&WirelessSettings, 0, sizeof WirelessSettings);
  std::memset(&WirelessKeys, 0, sizeof WirelessKeys);
}

// Rows 0 to 4: an open network, a WEP one (named in UTF-8), a WPA-PSK one, a hidden WPA2-PSK
// one and a WPA2-PSK one.
inline Scenario FourNetworks() {
  Scenario scenario;
  scenario.ssid = "Old";
  scenario.secmode = '2';
  scenario.networks = {
      {"OpenCafe", "a4-2b-b0-00-00-01", "1", "BG", "0", "80"},
      {"Caf\xc3\xa9", "a4-2b-b0-00-00-02", "6", "G", "1", "55"},
      {"Office", "a4-2b-b0-00-00-03", "11", "BG", "2", "70"},
      {"", "a4-2b-b0-00-00-04", "3", "B", "3", "40"},
      {"Home", "a4-2b-b0-00-00-05", "9", "G", "3", "91"},
  };
  return scenario;
}

class BridgePages : public ::testing::Test {
public:
  void SetUp() override {
    ClearRecords();
    char text[MAC_TEXT_SIZE];
    mac_bytes_to_text(OWN_MAC, text);
    host_adapter_macs.Set(text);
    mac_bytes_to_text(BRIDGE_MAC, text);
    selected_device_mac.Set(text);
  }

  // Opens the site survey page and waits for its first survey.
  std::unique_ptr<WizardDriver> OpenSurvey() {
    auto driver = std::make_unique<WizardDriver>(std::make_unique<CSiteSurveyPage>());
    EXPECT_TRUE(driver->WaitForMessage(WM_SURVEY_RESULT));
    return driver;
  }

  ScriptedLink link;
  FakeBridge bridge{link.capture(), BRIDGE_MAC, FourNetworks()};
};
