// A fixture for whole-wizard cases over veth: the wizard's namespace and the bridge's joined by
// a veth pair, cleared records, short link timings, and the steps every such case takes.
#pragma once

#include <QString>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "device/wireless_records.h"
#include "link/link_timing.h"
#include "tests/gui/wizard_driver.h"
#include "tests/netns/testnet.h"
#include "wizard/device_list_page.h"
#include "wizard/page_messages.h"
#include "wizard/setup_app.h"
#include "wizard/summary_page.h"

// The scenario of a bridge with MAC `mac` that hears five networks: an open one, a WEP one, a
// WPA-PSK one, a hidden WPA2-PSK one and a WPA2-PSK one.
inline std::string ScenarioText(const char* mac) {
  return std::string("mac = ") + mac +
         "\nssid = Previous\nsecmode = 2\n"
         "network = OpenCafe|a4:2b:b0:00:00:01|1|BG|0|80\n"
         "network = OldPrinter|a4:2b:b0:00:00:02|6|B|1|35\n"
         "network = Office|a4:2b:b0:00:00:03|11|BG|2|70\n"
         "network = |a4:2b:b0:00:00:04|3|G|3|40\n"
         "network = Home|a4:2b:b0:00:00:05|9|G|3|91\n";
}

// The settings text that a save stores in the bridge.
inline std::string SettingsText(const std::string& ssid, const char* mode, const char* key_length,
                                const char* index, const std::string& keys, const char* cipher,
                                const std::string& passphrase) {
  return "7000 :" + ssid + "\n7001 :16\n7002 :0\n7003 :" + mode + "\n7004 :" + key_length +
         "\n7005 :" + index + "\n" + keys + "7012 :3\n7013 :0\n7018 :" + cipher +
         "\n7019 :" + passphrase + "\n7022 :0\n";
}
inline const std::string NO_KEYS = "7006 :\n7007 :\n7008 :\n7009 :\n";

class WizardOverVethTest : public netns::NetnsTest {
protected:
  static constexpr const char* WIZARD_MAC = "02:00:00:00:0a:01";

  void SetUp() override {
    NetnsTest::SetUp();
    if (IsSkipped())
      return;
    std::memset(&CurrentNetwork, 0, sizeof CurrentNetwork);
    std::memset(&WirelessSettings, 0, sizeof WirelessSettings);
    std::memset(&WirelessKeys, 0, sizeof WirelessKeys);
    wizard_ns = net->add_namespace("wiz");
    bridge_ns = net->add_namespace("br");
    net->add_veth(wizard_ns, "eth0", WIZARD_MAC, bridge_ns, "br0", "-");
    timing = std::make_unique<netns::QuickLinkTiming>();
    link_timing().survey_scan_pause = std::chrono::milliseconds{50};
  }
  void TearDown() override {
    wizard.reset();
    timing.reset();
    NetnsTest::TearDown();
  }

  netns::Emulator& StartEmulator(const std::string& scenario,
                                 const std::vector<std::string>& faults = {}) {
    return net->start_emulator(bridge_ns, "br0", scenario, faults);
  }

  // Start-up and the device list page with its first search done.
  void OpenWizard() {
    net->enter(wizard_ns);
    ASSERT_TRUE(start_up_link());
    wizard = std::make_unique<WizardDriver>(std::make_unique<CDeviceListPage>());
    ASSERT_TRUE(wizard->WaitForMessage(WM_SEARCH_RESULT));
  }

  // Presses Next on the summary page; returns the status line once the save worker is done.
  QString Save() {
    wizard->Click(CSummaryPage::IDC_NEXT);
    if (!wizard->WaitForMessage(WM_SAVE_RESULT))
      return "<no save result>";
    return wizard->Status(CSummaryPage::IDC_STATUS);
  }

  std::string wizard_ns, bridge_ns;
  std::unique_ptr<netns::QuickLinkTiming> timing;
  std::unique_ptr<WizardDriver> wizard;
};
