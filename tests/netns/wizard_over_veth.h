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
